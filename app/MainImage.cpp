#include "app/MainImage.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

void DrawConnector(QPainter &p, QPointF centre, double r)
{
    p.setPen(QPen(QColor(0x60, 0x50, 0x20), 1));
    p.setBrush(QColor(0xd8, 0xb0, 0x40)); // gold-plated body
    p.drawEllipse(centre, r, r);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(centre, r * 0.55, r * 0.55);
    p.setBrush(QColor(0xf0, 0xe0, 0xa0));
    p.drawEllipse(centre, r * 0.18, r * 0.18);
}

} // namespace

QImage DrawRackFront(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size.width() < 40 || size.height() < 16)
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double ear = std::max(10.0, w * 0.07);

    // Ears with their mounting slots.
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
    p.setBrush(QColor(0xa8, 0xa8, 0xa8));
    p.drawRoundedRect(QRectF(0.5, 0.5, ear, h - 1), 3, 3);
    p.drawRoundedRect(QRectF(w - ear - 0.5, 0.5, ear, h - 1), 3, 3);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    for (double x : {ear / 2, w - ear / 2}) {
        p.drawRoundedRect(QRectF(x - ear * 0.2, h * 0.18, ear * 0.4, h * 0.16), 2, 2);
        p.drawRoundedRect(QRectF(x - ear * 0.2, h * 0.66, ear * 0.4, h * 0.16), 2, 2);
    }

    // The panel.
    const QRectF panel(ear - 1, 2.5, w - 2 * ear + 2, h - 5);
    QLinearGradient shade(panel.topLeft(), panel.bottomLeft());
    shade.setColorAt(0, QColor(0x4a, 0x55, 0x62));
    shade.setColorAt(1, QColor(0x2c, 0x33, 0x3b));
    p.setBrush(shade);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    p.drawRect(panel);

    // Name plate.
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(8, int(h * 0.22)));
    p.setFont(font);
    p.setPen(QColor(0xe8, 0xe8, 0xe8));
    const QRectF plate(panel.left() + 8, panel.top(), panel.width() * 0.4, panel.height());
    p.drawText(plate, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUENTA"));

    // Status lamp.
    const double lampR = std::max(2.0, h * 0.06);
    const QPointF lamp(panel.left() + panel.width() * 0.48, panel.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xe0, 0x50));
    p.drawEllipse(lamp, lampR, lampR);

    // Two RF connectors with their labels.
    const double r = std::max(4.0, h * 0.18);
    font.setPixelSize(std::max(7, int(h * 0.14)));
    p.setFont(font);
    for (int i = 0; i < 2; ++i) {
        const QPointF c(panel.left() + panel.width() * (0.66 + 0.2 * i), panel.center().y() - h * 0.06);
        DrawConnector(p, c, r);
        p.setPen(QColor(0xc8, 0xc8, 0xc8));
        p.drawText(QRectF(c.x() - 2 * r, c.y() + r + 1, 4 * r, h * 0.2), Qt::AlignCenter,
                   QStringLiteral("RF %1").arg(i + 1));
    }
    return image;
}
