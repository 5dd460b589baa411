#pragma once

#include <QString>

#include <cstdint>
#include <functional>

struct TVersionNumber
{
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;
};

bool IsWinNT();
QString AddPathDelimiter(const QString &path);
bool FolderExists(const QString &path);
QString GetSpecialFolder(int csidl);
QString GetUserDataFolder(const QString &name);
QString GetDocumentsFolder();
QString FileNameWithoutExt(const QString &fileName);
QString SplitFirstField(QString &line, QChar delimiter);
void CutFirstFolder(QString &path);
// The path shortener over any text measure; the widget form is in miscGui.h.
QString FitPathToWidthBy(const QString &fileName, const std::function<int(const QString &)> &textWidth,
                         int maxWidth);
TVersionNumber ParseVersion(const QString &text);
QString GetVersionTitle();
