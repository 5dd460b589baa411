#pragma once

#include "platform/IniFile.h"

#include <QString>

#include <memory>

// The per-user settings the main window keeps: where its settings file lives,
// the last rack configuration file and the two dialog folders.
class TUserSettings
{
public:
    // Picks UserHome (the per-user folder, else the executable's folder) and
    // creates the INI object on UserHome + <executable name>.ini; touches no file.
    void OpenUserSettings(const QString &folderName, const QString &executablePath);

    // Start-up reading: returns "Last config file" (for CurConfigFile) and
    // fills ConfigFileDir and SequenceFileDir.
    QString ReadAtStartup();
    // Exit writing; throws EIniFileException, skipping the writes after the
    // failed one. The INI object is released either way.
    void WriteAtExit(const QString &curConfigFile);

    const QString &UserHome() const { return FUserHome; }
    TIniFile *IniFile() const { return FIniFile.get(); }

    QString ConfigFileDir;
    QString SequenceFileDir;

private:
    QString FUserHome;
    std::unique_ptr<TIniFile> FIniFile;
};
