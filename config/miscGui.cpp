#include "config/miscGui.h"

#include "config/misc.h"

#include <QCursor>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

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

namespace {

void DefaultErrorDisplay(const QString &message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

TErrorDisplay errorDisplay = &DefaultErrorDisplay;

} // namespace

void ShowErrorMessage(const QString &message)
{
    errorDisplay(message);
}

TErrorDisplay SetErrorDisplay(TErrorDisplay display)
{
    const TErrorDisplay old = errorDisplay;
    errorDisplay = display ? display : &DefaultErrorDisplay;
    return old;
}
