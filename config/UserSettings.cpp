#include "config/UserSettings.h"

#include "config/misc.h"

#include <QFileInfo>

void TUserSettings::OpenUserSettings(const QString &folderName, const QString &executablePath)
{
    const QFileInfo exe(executablePath);
    QString home;
    if (IsWinNT()) {
        const QString f = GetUserDataFolder(folderName);
        home = f.isEmpty() ? AddPathDelimiter(exe.absolutePath()) : f + u'/';
    } else {
        home = AddPathDelimiter(exe.absolutePath());
    }
    FUserHome = home;
    QString iniName = exe.fileName();
    const qsizetype dot = iniName.lastIndexOf(u'.');
    if (dot > 0)
        iniName.truncate(dot);
    FIniFile = std::make_unique<TIniFile>(FUserHome + iniName + QStringLiteral(".ini"));
}

QString TUserSettings::ReadAtStartup()
{
    if (!FIniFile)
        return QString();
    const QString last = FIniFile->ReadString(QStringLiteral("Config"), QStringLiteral("Last config file"), QString());
    ConfigFileDir = FIniFile->ReadString(QStringLiteral("DIR"), QStringLiteral("Config dir"), FUserHome);
    SequenceFileDir = FIniFile->ReadString(QStringLiteral("DIR"), QStringLiteral("Sequences dir"), GetDocumentsFolder());
    return last;
}

void TUserSettings::WriteAtExit(const QString &curConfigFile)
{
    if (!FIniFile)
        return;
    std::unique_ptr<TIniFile> ini = std::move(FIniFile);
    ini->WriteString(QStringLiteral("DIR"), QStringLiteral("Config dir"), ConfigFileDir);
    ini->WriteString(QStringLiteral("DIR"), QStringLiteral("Sequences dir"), SequenceFileDir);
    if (!curConfigFile.isEmpty())
        ini->WriteString(QStringLiteral("Config"), QStringLiteral("Last config file"), curConfigFile);
}
