#include "config/misc.h"

#include "platform/Folders.h"
#include "platform/VersionInfo.h"

namespace {

const QChar Delim = u'/';
const QString CutMarker = QStringLiteral(".../");

} // namespace

bool IsWinNT()
{
    return true; // the modern branch: per-user folders, the larger editor
}

QString AddPathDelimiter(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QChar last = path.back();
    if (last == u':' || last == Delim)
        return path;
    if (path.size() == 1 && path[0].unicode() < 128 && path[0].isLetter())
        return path + Delim; // no drive letters here: "c" is just a folder
    return path + Delim;
}

bool FolderExists(const QString &path)
{
    return PlatformFolderExists(path);
}

QString GetSpecialFolder(int csidl)
{
    try {
        const QString f = PlatformSpecialFolder(csidl);
        return f.isEmpty() ? QString() : AddPathDelimiter(f);
    } catch (...) {
        return QString();
    }
}

QString GetUserDataFolder(const QString &name)
{
    QString result;
    const QString base = GetSpecialFolder(CSIDL_APPDATA);
    const QString shortName = FileNameWithoutExt(name);
    if (!base.isEmpty()) {
        QString folder = base + QStringLiteral("ORVEX") + Delim;
        if (FolderExists(folder) || PlatformCreateFolder(folder))
            folder += shortName;
        if (FolderExists(folder) || PlatformCreateFolder(folder))
            result = folder;
    } else {
        const QString local = GetSpecialFolder(CSIDL_LOCAL_APPDATA);
        if (!local.isEmpty() && FolderExists(local + shortName))
            result = local + shortName;
    }
    return result;
}

QString GetDocumentsFolder()
{
    return GetSpecialFolder(CSIDL_PERSONAL);
}

QString FileNameWithoutExt(const QString &fileName)
{
    const QString name = fileName.mid(fileName.lastIndexOf(Delim) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString ext = dot >= 0 ? name.mid(dot) : QString();
    QString result = name;
    if (!ext.isEmpty()) {
        const qsizetype at = result.indexOf(ext);
        if (at >= 0)
            result.remove(at, ext.size());
    }
    return result;
}

QString SplitFirstField(QString &line, QChar delimiter)
{
    const qsizetype at = line.indexOf(delimiter);
    if (at < 0) {
        QString all = line;
        line.clear();
        return all;
    }
    QString first = line.left(at);
    line.remove(0, at + 1);
    return first;
}

void CutFirstFolder(QString &path)
{
    if (path == QString(Delim)) {
        path.clear();
        return;
    }
    bool rooted = false;
    if (path.startsWith(Delim)) {
        path.remove(0, 1);
        rooted = true;
    }
    // Only the marker of an earlier cut is removed: a folder of its own may
    // well start with "." here (hidden folders).
    if (path.startsWith(CutMarker))
        path.remove(0, CutMarker.size());
    const qsizetype at = path.indexOf(Delim);
    if (at >= 0)
        path = CutMarker + path.mid(at + 1);
    else
        path.clear();
    if (rooted)
        path.prepend(Delim);
}

QString FitPathToWidthBy(const QString &fileName, const std::function<int(const QString &)> &textWidth, int maxWidth)
{
    QString result = fileName;
    const qsizetype slash = fileName.lastIndexOf(Delim);
    QString dir = fileName.left(slash + 1);
    const QString name = fileName.mid(slash + 1);
    QString drive;
    if (dir.size() >= 2 && dir[1] == u':') {
        drive = dir.left(2);
        dir.remove(0, 2);
    }
    const QString rootedMarker = Delim + CutMarker;
    while ((!dir.isEmpty() || !drive.isEmpty()) && textWidth(result) > maxWidth) {
        if (dir == rootedMarker) {
            drive.clear();
            dir = CutMarker;
        } else if (dir.isEmpty()) {
            drive.clear();
        } else {
            CutFirstFolder(dir);
        }
        result = drive + dir + name;
    }
    return result;
}

TVersionNumber ParseVersion(const QString &text)
{
    QString rest = text;
    uint16_t parts[4] = {0, 0, 0, 0};
    for (uint16_t &part : parts) {
        qsizetype at = rest.indexOf(u'.');
        if (at < 0)
            at = rest.indexOf(u',');
        QString piece;
        if (at >= 0) {
            piece = rest.left(at);
            rest.remove(0, at + 1);
        } else {
            piece = rest;
            rest.clear();
        }
        bool ok = false;
        const qulonglong v = piece.trimmed().toULongLong(&ok, 10);
        part = (piece.isEmpty() || !ok) ? 0 : static_cast<uint16_t>(v & 0xFFFF);
    }
    return TVersionNumber{parts[0], parts[1], parts[2], parts[3]};
}

QString GetVersionTitle()
{
    QString result;
    const QString exe = PlatformExecutablePath();
    if (GetFileVersionInfoSize(exe) <= 0)
        return result;
    const auto record = GetFileVersionInfo(exe);
    if (!record)
        return result;
    const auto translation = VerQueryTranslation(*record);
    if (!translation)
        return result;
    const QString key = QStringLiteral("%1%2")
                            .arg(*translation & 0xFFFF, 4, 16, QLatin1Char('0'))
                            .arg(*translation >> 16, 4, 16, QLatin1Char('0'));
    const QString prefix = QStringLiteral("\\StringFileInfo\\") + key;
    if (const auto v = VerQueryString(*record, prefix + QStringLiteral("\\FileVersion"))) {
        const TVersionNumber n = ParseVersion(*v);
        result = QStringLiteral("v%1.%2").arg(n.Major).arg(n.Minor);
    }
    if (const auto d = VerQueryString(*record, prefix + QStringLiteral("\\FileDescription")))
        result = *d + QStringLiteral(" - ") + result;
    if (const auto c = VerQueryString(*record, prefix + QStringLiteral("\\LegalCopyright")))
        result = result + QStringLiteral(" - © ") + *c;
    return result;
}
