#include "rack/uRadioRackV2PortMap.h"

QString TPortMap::DevicePath(int comNumber) const
{
    const auto it = FPaths.constFind(comNumber);
    if (it != FPaths.constEnd())
        return *it;
    return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 1);
}

bool TPortMap::AddOption(const QString &option)
{
    const qsizetype eq = option.indexOf(QLatin1Char('='));
    if (eq <= 0 || eq == option.size() - 1)
        return false;
    int n = 0;
    if (!ComNumberOf(option.left(eq), n) || n < 1)
        return false;
    Set(n, option.mid(eq + 1));
    return true;
}

bool ComNumberOf(const QString &portName, int &number)
{
    number = 0;
    if (!portName.toUpper().startsWith(QLatin1String("COM")))
        return false;
    bool ok = false;
    const int n = portName.mid(3).toInt(&ok, 10);
    number = ok ? n : 0;
    return true;
}
