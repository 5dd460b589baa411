#pragma once

#include "sequencer/uSequencerScript.h"

#include <QString>

// The rack command line of one tick, from the scripts in the slots after
// they were stepped: "ATT 0 300;1 120", "ATT 1 050", or empty when neither
// attenuator has a value. done is set when no script in a slot that is
// served is still running, which ends the run.
QString BuildRackLine(const TBaieScripts &baie, bool att2InUse, bool &done);
