#pragma once

// Canvas helpers shared by the axes and the series. The painter's brush
// stands for the canvas fill colour, which is also the text background.

#include "graph/QxyGraphTypes.h"

#include <QColor>
#include <QPainter>
#include <QString>

namespace QxyCanvas
{

void SetPenColor(QPainter &canvas, const QColor &color);
void SetPenStyle(QPainter &canvas, TPenStyle style);
void SetFillColor(QPainter &canvas, const QColor &color);

// Text centred on x with its top edge at y, on an opaque box of the fill colour.
void DrawText(QPainter &canvas, int x, int y, const QString &text, const QColor &fontColor);

} // namespace QxyCanvas
