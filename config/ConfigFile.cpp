#include "config/ConfigFile.h"

#include "platform/IniFile.h"

namespace {
const QString Serial = QStringLiteral("Serial");
const QString PortKey = QStringLiteral("Port rack 1");
const QString Names = QStringLiteral("names rack1");
} // namespace

TRackConfig ReadRackConfig(const QString &fileName)
{
    const TIniFile ini(fileName);
    TRackConfig c;
    c.PortIndex = ini.ReadInteger(Serial, PortKey, 0);
    c.RackName = ini.ReadString(Names, QStringLiteral("rack"), c.RackName);
    c.Att0Name = ini.ReadString(Names, QStringLiteral("att0"), c.Att0Name);
    c.Att1Name = ini.ReadString(Names, QStringLiteral("att1"), c.Att1Name);
    return c;
}

void WriteRackConfig(const QString &fileName, const TRackConfig &config)
{
    TIniFile ini(fileName);
    ini.WriteInteger(Serial, PortKey, config.PortIndex);
    ini.WriteString(Names, QStringLiteral("rack"), config.RackName);
    WriteRackAttNames(fileName, config.Att0Name, config.Att1Name);
}

void WriteRackAttNames(const QString &fileName, const QString &att0, const QString &att1)
{
    TIniFile ini(fileName);
    ini.WriteString(Names, QStringLiteral("att0"), att0);
    ini.WriteString(Names, QStringLiteral("att1"), att1);
}

QString PortNameOfIndex(int index)
{
    return QStringLiteral("COM%1").arg(index + 1);
}

int PortIndexOfName(const QString &portName)
{
    int n = 1;
    if (portName.size() >= 4 && portName[3].unicode() >= '0' && portName[3].unicode() <= '9')
        n = portName[3].unicode() - '0';
    return n - 1;
}
