#include "sequencer/uSequencerFile.h"

#include "config/misc.h"
#include "platform/Errors.h"

#include <QFile>

#include <limits>

QByteArray ReadSequenceFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EQuentaError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EQuentaError(QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString()));
    return text;
}

int ReadSequenceInt(const QString &field)
{
    qsizetype i = 0;
    qsizetype end = field.size();
    while (i < end && field[i] == u' ')
        ++i;
    while (end > i && field[end - 1] == u' ')
        --end;
    bool negative = false;
    if (i < end && (field[i] == u'-' || field[i] == u'+')) {
        negative = field[i] == u'-';
        ++i;
    }
    if (i == end)
        return 0;
    // The magnitude may reach 2^31 for the most negative int.
    const long long limit =
        negative ? -static_cast<long long>(std::numeric_limits<int>::min()) : std::numeric_limits<int>::max();
    long long value = 0;
    for (; i < end; ++i) {
        const char16_t c = field[i].unicode();
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c - u'0');
        if (value > limit)
            return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

TSequenceRowFields SplitSequenceRow(QString line)
{
    TSequenceRowFields f;
    f.Num = ReadSequenceInt(SplitFirstField(line, u'\t'));
    f.Time = ReadSequenceInt(SplitFirstField(line, u'\t'));
    f.Action = ReadSequenceInt(SplitFirstField(line, u'\t'));
    f.From = ReadSequenceInt(SplitFirstField(line, u'\t'));
    f.To = ReadSequenceInt(SplitFirstField(line, u'\t'));
    f.Duration = ReadSequenceInt(SplitFirstField(line, u'\t'));
    return f;
}

namespace
{

// Spaces, TABs and every other control character.
bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

void WalkSequenceText(const QByteArray &text, bool acceptAtts,
                      const std::function<bool(TSequenceSection, const QString &)> &handle)
{
    TSequenceSection section = TSequenceSection::None;
    const char *const data = text.constData();
    const qsizetype size = text.size();
    qsizetype pos = 0;
    // Text editors may put a UTF-8 mark before the first keyword.
    if (text.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    while (pos < size) {
        // CR LF, LF and CR all end a line; the empty line between CR and LF
        // is skipped like any other empty line.
        qsizetype end = pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        qsizetype first = pos;
        qsizetype last = end;
        pos = end + 1;
        while (first < last && IsTrimmed(data[first]))
            ++first;
        while (last > first && IsTrimmed(data[last - 1]))
            --last;
        if (first == last || data[first] == '#')
            continue;
        // Non-ASCII bytes are taken one character each: nothing in the
        // format depends on them.
        const QString line = QString::fromLatin1(data + first, last - first);
        if (line.startsWith(QLatin1String("RACKS")) || (acceptAtts && line.startsWith(QLatin1String("ATTS")))) {
            section = TSequenceSection::Selection;
            continue;
        }
        if (line.startsWith(QLatin1String("ACTIONS"))) {
            section = TSequenceSection::Actions;
            continue;
        }
        if (section == TSequenceSection::None)
            continue;
        if (!handle(section, line))
            return;
    }
}
