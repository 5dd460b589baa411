#pragma once

#include "sequencer/WayGroupBoxTypes.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The rows of the sequence editor and its attenuator selection: what the
// editor window shows and what its file holds.
struct TSequenceDocument {
    std::vector<TSequenceRow> Rows;
    bool Att1Selected = false;
    bool Att2Selected = false;
};

// The editor's number of rows: 400, or 20 on the older system family.
constexpr int SequenceEditorRows = 400;
constexpr int SequenceEditorRowsOld = 20;

// A new editor: row 1 resets, every other row holds no action.
TSequenceDocument NewSequenceDocument(int rowCount = SequenceEditorRows);

// The exact bytes the editor writes. att2InUse: the rack's second
// attenuator is in use, so its selection is written.
QByteArray FormatSequenceFile(const TSequenceDocument &doc, bool att2InUse);

// Replaces the file whole; throws EQuentaError naming the file. The old
// content stays if the write fails part way.
void SaveSequenceFile(const QString &fileName, const TSequenceDocument &doc, bool att2InUse);

// The editor's reading of a file into doc. Values are limited to the ranges
// of an editor row for maxAttVal (the rack's MaxAttValue); rows that no line
// names keep their content.
void ParseSequenceForEditor(const QByteArray &text, TSequenceDocument &doc, int maxAttVal, bool att2InUse);

// Reads the file into doc; on a read failure throws EQuentaError naming the
// file and leaves doc unchanged.
void LoadSequenceFile(const QString &fileName, TSequenceDocument &doc, int maxAttVal, bool att2InUse);
