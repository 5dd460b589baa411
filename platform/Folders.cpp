#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

QString XdgHome(const char *var, const char *fallback)
{
    const QString v = qEnvironmentVariable(var);
    // Relative values are invalid by the XDG rules and must be ignored.
    if (!v.isEmpty() && QDir::isAbsolutePath(v))
        return QDir::cleanPath(v);
    const QString home = QDir::homePath();
    return home.isEmpty() ? QString() : QDir::cleanPath(home + u'/' + QLatin1String(fallback));
}

} // namespace

QString PlatformSpecialFolder(int csidl)
{
    switch (csidl) {
    case CSIDL_APPDATA:
        return XdgHome("XDG_CONFIG_HOME", ".config");
    case CSIDL_LOCAL_APPDATA:
        return XdgHome("XDG_DATA_HOME", ".local/share");
    case CSIDL_PERSONAL: {
        const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return docs.isEmpty() ? QString() : QDir::cleanPath(docs);
    }
    default:
        return QString();
    }
}

bool PlatformFolderExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool PlatformCreateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0;
}

QString PlatformExecutablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
