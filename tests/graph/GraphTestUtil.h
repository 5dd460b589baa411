#pragma once

#include "graph/QxyGraph.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <memory>

namespace GraphTest
{

// Distinct colours, so every pixel tells which element drew it.
inline const QColor Margin(255, 255, 200);
inline const QColor Backgr(200, 255, 255);
inline const QColor Axes(0, 0, 255);
inline const QColor Grid(0, 160, 0);
inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);

// A graph whose client area is w x h, not plotting, in the colours above.
std::unique_ptr<TQxyGraph> MakeGraph(int w, int h);

// The graph drawn the way every export draws it (outer size).
QImage Render(TQxyGraph &graph);

QColor At(const QImage &img, int x, int y);
int CountColor(const QImage &img, const QColor &color, const QRect &area);
int CountColor(const QImage &img, const QColor &color);

// True when the label box at (x centre, y top) holds exactly text in the
// graph's label font, on fill, drawn independently of the graph's code.
bool LabelAt(const QImage &img, const TQxyGraph &graph, const QString &text, int x, int y, const QColor &fill,
             QString *why = nullptr);

} // namespace GraphTest
