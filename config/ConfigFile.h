#pragma once

#include <QString>

// The content of a rack configuration file (*.cfg).
struct TRackConfig
{
    int PortIndex = 0; // entry of the port list: n stands for COM<n+1>
    QString RackName = QStringLiteral("Brick 1 attenuator");
    QString Att0Name = QStringLiteral("attenuator 1");
    QString Att1Name = QStringLiteral("attenuator 2");
};

// A missing or unreadable file gives the defaults; a port value that is not
// a number reads as 0.
TRackConfig ReadRackConfig(const QString &fileName);
// Writes all four keys in their fixed order; throws EIniFileException.
void WriteRackConfig(const QString &fileName, const TRackConfig &config);
// Writes the two attenuator names, leaving the rest of the file alone.
void WriteRackAttNames(const QString &fileName, const QString &att0, const QString &att1);

// "COM" followed by index + 1: the port an entry of the list stands for.
QString PortNameOfIndex(int index);
// The list index a port name selects: the digit after "COM", 1 when there is
// none, minus one.
int PortIndexOfName(const QString &portName);
