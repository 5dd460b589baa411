#include "GraphTestUtil.h"

#include <QFontMetrics>
#include <QPainter>

namespace GraphTest
{

std::unique_ptr<TQxyGraph> MakeGraph(int w, int h)
{
    auto graph = std::make_unique<TQxyGraph>();
    graph->SetPlotting(false);
    const int border = graph->frameWidth() * 2;
    graph->resize(w + border, h + border);
    TAppearance *look = graph->Appearance();
    look->SetMarginColor(Margin);
    look->SetBackgroundColor(Backgr);
    look->SetAxesColor(Axes);
    look->SetGridColor(Grid);
    look->SetGridStyle(TPenStyle::psSolid);
    return graph;
}

QImage Render(TQxyGraph &graph)
{
    QImage img(graph.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    graph.FillBitmap(img);
    return img;
}

QColor At(const QImage &img, int x, int y)
{
    return QColor(img.pixel(x, y));
}

int CountColor(const QImage &img, const QColor &color, const QRect &area)
{
    const QRect r = area.intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == color.rgb();
    return n;
}

int CountColor(const QImage &img, const QColor &color)
{
    return CountColor(img, color, img.rect());
}

bool LabelAt(const QImage &img, const TQxyGraph &graph, const QString &text, int x, int y, const QColor &fill,
             QString *why)
{
    const TQxyFont &font = graph.Appearance()->LabelFont();
    const QFontMetrics metrics(font.Font(), &img);
    const int w = metrics.horizontalAdvance(text);
    const QRect box(x - w / 2, y, w, metrics.height());
    QImage expected(box.size(), QImage::Format_RGB32);
    expected.fill(fill);
    {
        QPainter p(&expected);
        p.setFont(font.Font());
        p.setPen(font.Color());
        p.drawText(QPoint(0, metrics.ascent()), text);
    }
    const QImage actual = img.copy(box);
    if (actual == expected)
        return true;
    if (why)
        *why = QStringLiteral("label %1 not found in box %2,%3 %4x%5")
                   .arg(text)
                   .arg(box.x())
                   .arg(box.y())
                   .arg(w)
                   .arg(box.height());
    return false;
}

} // namespace GraphTest
