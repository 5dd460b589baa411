#include "sequencer/uSequencerLine.h"

QString BuildRackLine(const TBaieScripts &baie, bool att2InUse, bool &done)
{
    done = true;
    QString items;
    const TSequenceScript *att1 = baie.Att1Script();
    if (att1 && !att1->Terminated()) {
        done = false;
        if (!att1->AttValue().isEmpty())
            items = QLatin1String("0 ") + att1->AttValue();
    }
    const TSequenceScript *att2 = baie.Att2Script();
    if (att2InUse && att2 && !att2->Terminated()) {
        done = false;
        if (!att2->AttValue().isEmpty()) {
            if (!items.isEmpty())
                items += u';';
            items += QLatin1String("1 ") + att2->AttValue();
        }
    }
    return items.isEmpty() ? QString() : QLatin1String("ATT ") + items;
}
