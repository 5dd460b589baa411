#pragma once

#include <QString>
#include <QStringList>

// INI text file with the semantics of the classic profile functions: the file
// is read afresh on every call, sections and keys match without regard to
// case, values are trimmed, and a write touches only its own key. Writes
// replace the file atomically; a failed write throws EIniFileException naming
// the file.
class TIniFile
{
public:
    explicit TIniFile(const QString &fileName);

    const QString &FileName() const { return FFileName; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    bool ValueExists(const QString &section, const QString &key) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

private:
    struct Lines
    {
        QStringList lines;
        bool crlf = false;
        bool bom = false;
        bool latin1 = false; // not UTF-8: one character per byte
    };
    Lines Load() const;
    bool Find(const Lines &f, const QString &section, const QString &key, QString *value) const;

    QString FFileName;
};

// Integer text as the profile readers accept it: optional sign, decimal, or
// hexadecimal with "0x" or "$". False for anything else or out of 32-bit range.
bool ParseIniInteger(const QString &text, int *value);
