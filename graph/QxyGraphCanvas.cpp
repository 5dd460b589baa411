#include "graph/QxyGraphCanvas.h"

#include <QFontMetrics>
#include <QList>

void ApplyPenStyle(QPen &pen, TPenStyle style)
{
    switch (style) {
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame:
    case TPenStyle::psUserStyle:
        pen.setStyle(Qt::SolidLine);
        break;
    case TPenStyle::psDash:
        pen.setStyle(Qt::DashLine);
        break;
    case TPenStyle::psDot:
        pen.setStyle(Qt::DotLine);
        break;
    case TPenStyle::psDashDot:
        pen.setStyle(Qt::DashDotLine);
        break;
    case TPenStyle::psDashDotDot:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case TPenStyle::psClear:
        pen.setStyle(Qt::NoPen);
        break;
    case TPenStyle::psAlternate:
        pen.setDashPattern(QList<qreal>{1, 1});
        break;
    }
}

namespace QxyCanvas
{

void SetPenColor(QPainter &canvas, const QColor &color)
{
    QPen pen = canvas.pen();
    pen.setColor(color);
    canvas.setPen(pen);
}

void SetPenStyle(QPainter &canvas, TPenStyle style)
{
    QPen pen = canvas.pen();
    ApplyPenStyle(pen, style);
    canvas.setPen(pen);
}

void SetFillColor(QPainter &canvas, const QColor &color)
{
    canvas.setBrush(color);
}

void DrawText(QPainter &canvas, int x, int y, const QString &text, const QColor &fontColor)
{
    if (text.isEmpty())
        return;
    const QFontMetrics metrics(canvas.font(), canvas.device());
    const int width = metrics.horizontalAdvance(text);
    const int left = x - width / 2;
    canvas.fillRect(QRect(left, y, width, metrics.height()), canvas.brush().color());
    const QPen pen = canvas.pen();
    canvas.setPen(fontColor);
    canvas.drawText(QPoint(left, y + metrics.ascent()), text);
    canvas.setPen(pen);
}

} // namespace QxyCanvas
