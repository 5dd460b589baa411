#pragma once

#include <QMap>
#include <QString>

#include <optional>

// The program's version record, compiled in from the build. It is queried
// like the platform's record: "\VarFileInfo\Translation" gives the first
// (language, code page) pair, and "\StringFileInfo\<llllcccc>\<Name>" gives
// a string, so that code written against that interface runs unchanged.
struct TVersionRecord
{
    unsigned short Language = 0x0409;
    unsigned short CodePage = 0x04B0;
    bool HasTranslation = true;
    QMap<QString, QString> Strings; // FileVersion, FileDescription, LegalCopyright, ...
};

// Size of the record for a file, 0 when it has none (only the running
// executable, or whatever a test installed, has one).
int GetFileVersionInfoSize(const QString &fileName);
std::optional<TVersionRecord> GetFileVersionInfo(const QString &fileName);
// Answers a query path on a record. For the translation query the result
// is the pair as a 32-bit number: language in the low 16 bits.
std::optional<QString> VerQueryString(const TVersionRecord &record, const QString &subBlock);
std::optional<unsigned> VerQueryTranslation(const TVersionRecord &record);

// The compiled-in record of this build.
TVersionRecord BuildVersionRecord();
// Tests replace the record the executable reports (nullopt: none at all);
// ResetVersionRecordForTesting restores the build's.
void SetVersionRecordForTesting(std::optional<TVersionRecord> record);
void ResetVersionRecordForTesting();
