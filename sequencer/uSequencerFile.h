#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The text rules shared by the two readers of sequence files.

enum class TSequenceSection { None, Selection, Actions };

// The six fields of an action row, as written.
struct TSequenceRowFields {
    int Num = 0;
    int Time = 0;
    int Action = 0;
    int From = 0;
    int To = 0;
    int Duration = 0;
};

// The whole file; throws EQuentaError naming the file when it cannot be read.
QByteArray ReadSequenceFile(const QString &fileName);

// A signed decimal field; 0 for empty text, text that is not a number and
// numbers outside 32 bits.
int ReadSequenceInt(const QString &field);

// Splits an action row at TABs; missing fields read as 0.
TSequenceRowFields SplitSequenceRow(QString line);

// Walks the trimmed lines of a file and hands every line that is neither a
// keyword, empty nor a comment to handle, with its section. acceptAtts makes
// "ATTS" a keyword too (the run reader). Lines before the first keyword are
// dropped. handle returns false to stop the walk.
void WalkSequenceText(const QByteArray &text, bool acceptAtts,
                      const std::function<bool(TSequenceSection, const QString &)> &handle);
