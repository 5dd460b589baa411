#include "platform/IniFile.h"

#include "platform/Errors.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool SectionOf(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool KeyOf(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#'))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value) {
        QString v = t.mid(eq + 1).trimmed();
        // Enclosing quotes are not part of the value, as with the profile API.
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool Same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool ParseIniInteger(const QString &text, int *value)
{
    QString t = text.trimmed();
    bool neg = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        neg = t.startsWith(u'-');
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        const bool ok = base == 10 ? c.isDigit() && c.unicode() < 128 : (c.unicode() < 128 && isxdigit(c.toLatin1()));
        if (!ok)
            return false;
    }
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qlonglong s = neg ? -v : v;
    if (s < INT32_MIN || s > INT32_MAX)
        return false;
    *value = static_cast<int>(s);
    return true;
}

TIniFile::TIniFile(const QString &fileName) : FFileName(fileName) {}

TIniFile::Lines TIniFile::Load() const
{
    Lines f;
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly))
        return f;
    QByteArray data = file.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) {
        f.bom = true;
        data.remove(0, 3);
    }
    f.crlf = data.contains("\r\n");
    // Files from Windows are often in its 8-bit code page: read those byte
    // for byte, so that writing one key gives every other byte back as it was.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(data);
    if (utf8.hasError()) {
        f.latin1 = true;
        text = QString::fromLatin1(data);
    }
    f.lines = text.split(u'\n');
    if (!f.lines.isEmpty() && f.lines.back().isEmpty())
        f.lines.removeLast();
    for (QString &l : f.lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    return f;
}

bool TIniFile::Find(const Lines &f, const QString &section, const QString &key, QString *value) const
{
    bool inSection = false;
    bool seen = false;
    for (const QString &line : f.lines) {
        QString name;
        if (SectionOf(line, &name)) {
            if (seen && inSection)
                return false; // only the first section of that name counts
            inSection = Same(name, section);
            seen = seen || inSection;
            continue;
        }
        QString k;
        if (inSection && KeyOf(line, &k, value) && Same(k, key))
            return true;
    }
    return false;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    QString v;
    return Find(Load(), section, key, &v) ? v : defaultValue;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    QString v;
    int n = 0;
    if (Find(Load(), section, key, &v) && ParseIniInteger(v, &n))
        return n;
    return defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    QString v;
    return Find(Load(), section, key, &v);
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    Lines f = Load();
    // A line break inside a value would split it into stray lines.
    QString v = value;
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString entry = key + u'=' + v;

    qsizetype sectionAt = -1, lastContent = -1, keyAt = -1;
    for (qsizetype i = 0; i < f.lines.size(); ++i) {
        QString name;
        if (SectionOf(f.lines[i], &name)) {
            if (sectionAt >= 0)
                break;
            if (Same(name, section))
                sectionAt = lastContent = i;
            continue;
        }
        if (sectionAt < 0)
            continue;
        QString k;
        if (!f.lines[i].trimmed().isEmpty())
            lastContent = i;
        if (KeyOf(f.lines[i], &k, nullptr) && Same(k, key)) {
            keyAt = i;
            break;
        }
    }
    if (keyAt >= 0) {
        QString k;
        KeyOf(f.lines[keyAt], &k, nullptr);
        f.lines[keyAt] = k + u'=' + v;
    } else if (sectionAt >= 0) {
        f.lines.insert(lastContent + 1, entry);
    } else {
        f.lines.append(u'[' + section + u']');
        f.lines.append(entry);
    }

    const QString eol = f.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray out;
    if (f.bom)
        out += "\xEF\xBB\xBF";
    // A value the 8-bit file cannot hold turns the file into UTF-8 rather
    // than losing characters.
    const bool latin1 = f.latin1 && std::all_of(f.lines.cbegin(), f.lines.cend(), [](const QString &l) {
        return std::all_of(l.cbegin(), l.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    });
    for (const QString &l : f.lines)
        out += latin1 ? (l + eol).toLatin1() : (l + eol).toUtf8();

    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(FFileName));
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteInteger(section, key, value ? 1 : 0);
}
