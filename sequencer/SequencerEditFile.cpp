#include "sequencer/SequencerEditFile.h"

#include "platform/Errors.h"
#include "sequencer/uSequencerFile.h"

#include <QSaveFile>

TSequenceDocument NewSequenceDocument(int rowCount)
{
    TSequenceDocument doc;
    doc.Rows.resize(rowCount > 0 ? static_cast<size_t>(rowCount) : 0);
    if (!doc.Rows.empty())
        doc.Rows[0].Action = taReset;
    return doc;
}

namespace
{

bool IsJump(TAction action)
{
    return action == taGoto || action == taRepeat;
}

} // namespace

QByteArray FormatSequenceFile(const TSequenceDocument &doc, bool att2InUse)
{
    QByteArray out;
    out.reserve(64 + static_cast<qsizetype>(doc.Rows.size()) * 24);
    out += "RACKS SELECTED\r\n\r\n";
    const bool att2 = att2InUse && doc.Att2Selected;
    if (doc.Att1Selected || att2) {
        out += "Rack 1 : ";
        if (doc.Att1Selected)
            out += " att1";
        if (att2)
            out += " att2";
        out += "\r\n";
    }
    out += "\r\nACTIONS\r\n#Num\tTime\tAction\tFrom\tTo\tDuration\r\n";
    for (size_t i = 0; i < doc.Rows.size(); ++i) {
        const TSequenceRow &r = doc.Rows[i];
        const int to = IsJump(r.Action) && r.ToValue < 1 ? 1 : r.ToValue;
        out += QByteArray::number(static_cast<qlonglong>(i) + 1);
        for (const int v : {r.Time, static_cast<int>(r.Action), r.FromValue, to, r.Duration}) {
            out += '\t';
            out += QByteArray::number(v);
        }
        out += "\r\n";
    }
    return out;
}

void SaveSequenceFile(const QString &fileName, const TSequenceDocument &doc, bool att2InUse)
{
    const QByteArray bytes = FormatSequenceFile(doc, att2InUse);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EQuentaError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw EQuentaError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()));
}

void ParseSequenceForEditor(const QByteArray &text, TSequenceDocument &doc, int maxAttVal, bool att2InUse)
{
    doc.Att1Selected = false;
    doc.Att2Selected = false;
    const int rowCount = static_cast<int>(doc.Rows.size());
    const int maxLines = rowCount - 1;
    const bool modeDecimal = maxAttVal > 110;
    WalkSequenceText(text, false, [&](TSequenceSection section, const QString &line) {
        if (section == TSequenceSection::Selection) {
            // The last selection line decides.
            doc.Att1Selected = line.contains(QLatin1String("att1"));
            doc.Att2Selected = att2InUse && line.contains(QLatin1String("att2"));
            return true;
        }
        const TSequenceRowFields f = SplitSequenceRow(line);
        if (f.Num < 1 || f.Num > rowCount)
            return true;
        TSequenceRow &row = doc.Rows[static_cast<size_t>(f.Num - 1)];
        row.Time = f.Time;
        const int code = f.Action & 0xFF;
        if (code >= ActionCount) {
            // A code the action box does not have compiles to nothing in a
            // run; the row that does the same is an empty pause.
            row.Action = taNoAction;
            row.FromValue = row.ToValue = row.Duration = 0;
            return true;
        }
        row.Action = static_cast<TAction>(code);
        row.FromValue = f.From;
        row.ToValue = f.To;
        row.Duration = f.Duration;
        LimitSequenceRow(row, maxAttVal, modeDecimal, maxLines);
        if (IsJump(row.Action) && row.ToValue < 1)
            row.ToValue = 1;
        return true;
    });
}

void LoadSequenceFile(const QString &fileName, TSequenceDocument &doc, int maxAttVal, bool att2InUse)
{
    const QByteArray text = ReadSequenceFile(fileName);
    ParseSequenceForEditor(text, doc, maxAttVal, att2InUse);
}
