#pragma once

#include <QString>

// Stand-ins for the platform's special-folder codes.
enum : int {
    CSIDL_PERSONAL = 5,       // documents: XDG documents folder
    CSIDL_APPDATA = 26,       // roaming per-user data: XDG config home
    CSIDL_LOCAL_APPDATA = 28, // local per-user data: XDG data home
};

// The folder for a code, without a trailing separator; empty when unknown.
QString PlatformSpecialFolder(int csidl);
bool PlatformFolderExists(const QString &path);
// Creates one folder level (no parents); true on success.
bool PlatformCreateFolder(const QString &path);
// Full path of the running executable.
QString PlatformExecutablePath();
