#include "platform/VersionInfo.h"

#include "VersionConfig.h"

#include <mutex>

namespace {

struct Override
{
    bool active = false;
    std::optional<TVersionRecord> record;
};

Override &override_()
{
    static Override o;
    return o;
}

std::optional<TVersionRecord> Current()
{
    if (override_().active)
        return override_().record;
    return BuildVersionRecord();
}

} // namespace

TVersionRecord BuildVersionRecord()
{
    TVersionRecord r;
    r.Strings.insert(QStringLiteral("FileDescription"), QStringLiteral("Orvex Quenta Driver"));
    r.Strings.insert(QStringLiteral("FileVersion"), QStringLiteral(QUENTA_VERSION_TEXT));
    r.Strings.insert(QStringLiteral("ProductVersion"), QStringLiteral(QUENTA_VERSION_TEXT));
    r.Strings.insert(QStringLiteral("LegalCopyright"), QStringLiteral("Orvex 2026, all rights reserved"));
    r.Strings.insert(QStringLiteral("CompanyName"), QStringLiteral("Orvex"));
    return r;
}

int GetFileVersionInfoSize(const QString &fileName)
{
    (void)fileName; // every query is about the running executable
    const auto r = Current();
    if (!r)
        return 0;
    int size = 64;
    for (auto it = r->Strings.cbegin(); it != r->Strings.cend(); ++it)
        size += static_cast<int>((it.key().size() + it.value().size()) * 2 + 8);
    return size;
}

std::optional<TVersionRecord> GetFileVersionInfo(const QString &fileName)
{
    (void)fileName;
    return Current();
}

std::optional<unsigned> VerQueryTranslation(const TVersionRecord &record)
{
    if (!record.HasTranslation)
        return std::nullopt;
    return static_cast<unsigned>(record.Language) | (static_cast<unsigned>(record.CodePage) << 16);
}

std::optional<QString> VerQueryString(const TVersionRecord &record, const QString &subBlock)
{
    const QString prefix = QStringLiteral("\\StringFileInfo\\");
    if (!subBlock.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    const QString rest = subBlock.mid(prefix.size());
    const qsizetype slash = rest.indexOf(u'\\');
    if (slash < 0)
        return std::nullopt;
    const QString key = rest.left(slash);
    const QString expected = QStringLiteral("%1%2")
                                 .arg(record.Language, 4, 16, QLatin1Char('0'))
                                 .arg(record.CodePage, 4, 16, QLatin1Char('0'));
    if (key.compare(expected, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString name = rest.mid(slash + 1);
    for (auto it = record.Strings.cbegin(); it != record.Strings.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    return std::nullopt;
}

void SetVersionRecordForTesting(std::optional<TVersionRecord> record)
{
    override_().active = true;
    override_().record = std::move(record);
}

void ResetVersionRecordForTesting()
{
    override_() = Override{};
}
