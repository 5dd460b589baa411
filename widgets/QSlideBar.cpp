#include "widgets/QSlideBar.h"
#include "widgets/WidgetSupport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace
{

const QRgb Grey = qRgb(128, 128, 128);
const QRgb Silver = qRgb(192, 192, 192);
const QRgb White = qRgb(255, 255, 255);
constexpr qint64 MaxTickCount = 65536;

// Rounds half to even, as the rest of the arithmetic here expects, and keeps
// the result inside [lo, hi] before it becomes an integer.
int RoundInto(double value, double lo, double hi)
{
    if (std::isnan(value))
        return static_cast<int>(lo);
    value = std::nearbyint(value);
    if (value < lo)
        value = lo;
    if (value > hi)
        value = hi;
    return static_cast<int>(value);
}

} // namespace

TQSlideBar::TQSlideBar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    FHandPointer = LoadHandPointerCursor();
    setCursor(FHandPointer);
    LoadThumb(tsCircle1);
    resize(100, 15);
}

QString TQSlideBar::ThumbName(TThumbStyle style)
{
    switch (style) {
    case tsBar1:
        return QStringLiteral("Bar1");
    case tsSquare1:
        return QStringLiteral("Square1");
    case tsDiamond1:
        return QStringLiteral("Diamond1");
    case tsCircle1:
        break;
    }
    return QStringLiteral("Circle1");
}

void TQSlideBar::LoadThumb(TThumbStyle style)
{
    FThumbStyle = style;
    FThumbBmp = LoadWidgetBitmap(ThumbName(style));
    FMaskBmp = LoadWidgetBitmap(ThumbName(style) + QStringLiteral("Mask"));
    FHalfTH = FThumbBmp.height() / 2;
    FHalfTW = FThumbBmp.width() / 2;
    Invalidate();
}

void TQSlideBar::SetThumbStyle(TThumbStyle style)
{
    if (style == FThumbStyle)
        return;
    LoadThumb(style);
}

void TQSlideBar::SetMin(int value)
{
    if (value == FMin)
        return;
    FMin = value;
    Invalidate();
}

void TQSlideBar::SetMax(int value)
{
    if (value == FMax)
        return;
    FMax = value;
    Invalidate();
}

void TQSlideBar::SetStyle(TBarStyle style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    Invalidate();
}

void TQSlideBar::SetThickness(int thickness)
{
    if (thickness < 1 || thickness > 5 || thickness == FThickness)
        return;
    FThickness = thickness;
    Invalidate();
}

void TQSlideBar::SetTicks(bool ticks)
{
    if (ticks == FTicks)
        return;
    FTicks = ticks;
    Invalidate();
}

void TQSlideBar::SetFocusColor(const QColor &color)
{
    if (color == FFocusColor)
        return;
    FFocusColor = color;
    Invalidate();
}

void TQSlideBar::SetHandCursor(bool hand)
{
    if (hand == FHandCursor)
        return;
    FHandCursor = hand;
    if (hand)
        setCursor(FHandPointer);
    else
        unsetCursor();
}

void TQSlideBar::SetPosition(int value)
{
    const bool drawn = CanvasReady();
    if (drawn)
        EraseThumb();
    if (value >= FMin && value <= FMax)
        FPosition = value;
    if (drawn) {
        PlaceThumb();
        SaveThumbBackground();
        DrawThumb();
        update();
    } else {
        PlaceThumb();
    }
    emit OnChange(this);
}

int TQSlideBar::PixelToValue(int x) const
{
    const int span = width() - FHalfTW;
    const double lo = qMin(FMin, FMax);
    const double hi = FMax;
    if (span <= 0)
        return FMin;
    return RoundInto(double(x) / span * (double(FMax) - FMin) + FMin, lo, hi);
}

int TQSlideBar::PageStep() const
{
    return static_cast<int>(qMax<qint64>(1, (qint64(FMax) - FMin) / 10));
}

QColor TQSlideBar::FirstColor() const
{
    return FStyle == bsLowered ? QColor(Grey) : QColor(White);
}

QColor TQSlideBar::SecondColor() const
{
    return FStyle == bsLowered ? QColor(White) : QColor(Grey);
}

int TQSlideBar::TrackRight() const
{
    return width() - FThumbBmp.width() + FHalfTW;
}

int TQSlideBar::TrackTop() const
{
    return height() / 2 - FThickness / 2 - 1;
}

void TQSlideBar::Invalidate()
{
    FCanvasValid = false;
    update();
}

bool TQSlideBar::CanvasReady() const
{
    return FCanvasValid && FCanvas.size() == size();
}

void TQSlideBar::HLine(int x0, int x1, int y, QRgb color)
{
    if (y < 0 || y >= FCanvas.height())
        return;
    for (int x = qMax(0, qMin(x0, x1)); x <= qMin(FCanvas.width() - 1, qMax(x0, x1)); ++x)
        FCanvas.setPixel(x, y, color);
}

void TQSlideBar::VLine(int x, int y0, int y1, QRgb color)
{
    if (x < 0 || x >= FCanvas.width())
        return;
    for (int y = qMax(0, qMin(y0, y1)); y <= qMin(FCanvas.height() - 1, qMax(y0, y1)); ++y)
        FCanvas.setPixel(x, y, color);
}

// Pen lines stop one pixel short of their end point, as line drawing on the
// canvas always does; the pixel sets below are exactly those lines.
void TQSlideBar::DrawTrack()
{
    const int r = TrackRight();
    const int t = TrackTop();
    const int b = t + FThickness + 1;
    const QRgb first = FirstColor().rgb();
    const QRgb second = SecondColor().rgb();
    HLine(r, FHalfTW + 1, t, first);  // (R, T) to (HalfTW, T)
    VLine(FHalfTW, t, b - 1, first);  // on to (HalfTW, B)
    HLine(FHalfTW, r - 1, b, second); // on to (R, B)
    VLine(r, b, t, second);           // on to (R, T - 1)
    const QRgb fill = hasFocus() ? FFocusColor.rgb() : Silver;
    // A fill without outline leaves the right and bottom edges alone.
    for (int y = t + 1; y <= b - 1; ++y)
        HLine(FHalfTW + 1, r - 1, y, fill);
}

void TQSlideBar::DrawTicks()
{
    const int r = TrackRight();
    const int t = TrackTop();
    const QRgb first = FirstColor().rgb();
    const QRgb second = SecondColor().rgb();
    const qint64 range = qint64(FMax) - FMin;
    const double d = range > 0 ? double(width() - FThumbBmp.width()) / double(range) : 0.0;
    // A tick per value over a huge range would only paint the channel solid,
    // and would take long enough to freeze the window.
    if (range > MaxTickCount)
        return;
    for (qint64 i = FMin; i <= FMax; ++i) {
        const int x = i == FMax ? r - 1 : FHalfTW + static_cast<int>(std::trunc(d * double(i - FMin)));
        VLine(x, t, t - 1, first);
        VLine(x + 1, t, t - 1, second);
    }
}

void TQSlideBar::PlaceThumb()
{
    const int tw = FThumbBmp.width();
    const int th = FThumbBmp.height();
    const int hi = qMax(0, width() - tw);
    int left = 0;
    if (FDragging) {
        left = qBound(0, FDragVal - FHalfTW, hi);
    } else if (FMax != FMin) {
        const double raw = double(width() - tw) / (double(FMax) - FMin) * (double(FPosition) - FMin);
        left = RoundInto(raw, 0, hi);
    }
    const int top = (height() - th) / 2;
    FThumbRect = QRect(left, top, tw, th);
}

void TQSlideBar::SaveThumbBackground()
{
    FBkgdBmp = FCanvas.copy(FThumbRect);
}

void TQSlideBar::EraseThumb()
{
    QPainter painter(&FCanvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(FThumbRect.topLeft(), FBkgdBmp);
}

void TQSlideBar::DrawThumb()
{
    QImage scratch = FBkgdBmp;
    for (int y = 0; y < scratch.height(); ++y) {
        for (int x = 0; x < scratch.width(); ++x) {
            // The canvas is see-through around the track, so the mask's white
            // must keep the background's alpha as well, and the picture must be
            // opaque exactly where the mask lets it through.
            const QRgb maskRgb = FMaskBmp.pixel(x, y) & 0x00ffffffu;
            const bool keep = maskRgb == 0x00ffffffu;
            const QRgb maskArgb = keep ? 0xffffffffu : maskRgb;
            const QRgb pictureArgb = (FThumbBmp.pixel(x, y) & 0x00ffffffu) | (keep ? 0u : 0xff000000u);
            scratch.setPixel(x, y, (scratch.pixel(x, y) & maskArgb) | pictureArgb);
        }
    }
    QPainter painter(&FCanvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(FThumbRect.topLeft(), scratch);
}

void TQSlideBar::PaintCanvas()
{
    // Transparent where nothing is drawn, so the bar sits on whatever its
    // parent paints (a group box's frame is not the window colour).
    if (FCanvas.size() != size())
        FCanvas = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    FCanvas.fill(Qt::transparent);
    DrawTrack();
    if (FTicks)
        DrawTicks();
    PlaceThumb();
    SaveThumbBackground();
    DrawThumb();
    FCanvasValid = true;
}

void TQSlideBar::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    if (!CanvasReady())
        PaintCanvas();
    QPainter painter(this);
    painter.drawImage(0, 0, FCanvas);
}

void TQSlideBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void TQSlideBar::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    Invalidate();
}

void TQSlideBar::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    Invalidate();
}

void TQSlideBar::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    FDragging = FThumbRect.contains(pos);
    FDragVal = pos.x();
}

void TQSlideBar::mouseMoveEvent(QMouseEvent *event)
{
    const int x = event->position().toPoint().x();
    if ((event->buttons() & Qt::LeftButton) && FDragging && x != FDragVal) {
        FDragVal = x;
        SetPosition(PixelToValue(x));
    }
}

void TQSlideBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    qint64 value = FPosition;
    if (FDragging) {
        value = PixelToValue(x);
    } else {
        const int centre = FThumbRect.left() + FHalfTW;
        if (x < centre)
            value = qint64(FPosition) - 1;
        else if (x > centre)
            value = qint64(FPosition) + 1;
    }
    value = qMax<qint64>(value, FMin);
    value = qMin<qint64>(value, FMax);
    FDragging = false;
    SetPosition(static_cast<int>(value));
}

void TQSlideBar::keyPressEvent(QKeyEvent *event)
{
    const qint64 step = PageStep();
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        if (FPosition < FMax)
            SetPosition(FPosition + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        if (FPosition > FMin)
            SetPosition(FPosition - 1);
        break;
    case Qt::Key_PageUp:
        SetPosition(FPosition - step > FMin ? static_cast<int>(FPosition - step) : FMin);
        break;
    case Qt::Key_PageDown:
        SetPosition(FPosition + step < FMax ? static_cast<int>(FPosition + step) : FMax);
        break;
    case Qt::Key_Home:
        SetPosition(FMin);
        break;
    case Qt::Key_End:
        SetPosition(FMax);
        break;
    default:
        // Other keys reach the window, so Escape and Enter still work there.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
