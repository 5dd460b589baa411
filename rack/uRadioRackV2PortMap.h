#pragma once

#include <QMap>
#include <QString>

// Which device a port name "COMn" stands for. Filled by the main window from
// the per-user settings, by the tools from their options. A value type: the
// worker takes a copy, so the map may be rebuilt while the line is in use.
class TPortMap
{
public:
    // COMn (n >= 1) opens path instead of the default /dev/ttyUSB<n-1>.
    void Set(int comNumber, const QString &path) { FPaths.insert(comNumber, path); }
    void Remove(int comNumber) { FPaths.remove(comNumber); }
    void Clear() { FPaths.clear(); }
    bool IsEmpty() const { return FPaths.isEmpty(); }
    // The device path for the one-based port number.
    QString DevicePath(int comNumber) const;
    const QMap<int, QString> &Entries() const { return FPaths; }

    // Parses a "COMn=PATH" option; false (map unchanged) when malformed.
    bool AddOption(const QString &option);

private:
    QMap<int, QString> FPaths;
};

// True when the name (any case) starts with "COM"; number is then what
// follows as a decimal number, 0 when that is not a number.
bool ComNumberOf(const QString &portName, int &number);
