#include "config/miscGui.h"

#include "config/misc.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
int busyDepth = 0;
} // namespace

QString FitPathToWidth(const QString &fileName, const QFontMetrics &metrics, int maxWidth)
{
    return FitPathToWidthBy(
        fileName, [&metrics](const QString &s) { return metrics.horizontalAdvance(s); }, maxWidth);
}

void BeginBusyCursor()
{
    if (busyDepth == 0)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++busyDepth;
}

void EndBusyCursor()
{
    if (busyDepth <= 0)
        return;
    --busyDepth;
    if (busyDepth == 0)
        QGuiApplication::restoreOverrideCursor();
}

int BusyCursorDepth()
{
    return busyDepth;
}
