#pragma once

#include <QFontMetrics>
#include <QString>

// Shortens a path with "..." folders until it fits maxWidth pixels of the
// given font; only the bare file name is left when nothing shorter fits.
QString FitPathToWidth(const QString &fileName, const QFontMetrics &metrics, int maxWidth);

// Nested busy cursor: the outermost Begin shows the wait cursor, the matching
// End restores what was there; extra Ends do nothing.
void BeginBusyCursor();
void EndBusyCursor();
int BusyCursorDepth();

// The general error display: a message box titled with the application's
// name and the error's text. Tests replace it to observe what is shown.
using TErrorDisplay = void (*)(const QString &message);
void ShowErrorMessage(const QString &message);
TErrorDisplay SetErrorDisplay(TErrorDisplay display);
