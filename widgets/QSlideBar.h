#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QRect>
#include <QWidget>

enum TBarStyle { bsLowered, bsRaised };
enum TThumbStyle { tsBar1, tsCircle1, tsSquare1, tsDiamond1 };

// A horizontal slider with a bitmap thumb. Every position write raises
// OnChange, even one that changes nothing or is refused.
class TQSlideBar : public QWidget
{
    Q_OBJECT
public:
    explicit TQSlideBar(QWidget *parent = nullptr);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    TBarStyle Style() const { return FStyle; }
    void SetStyle(TBarStyle style);
    int Thickness() const { return FThickness; }
    void SetThickness(int thickness); // 1..5; anything else is ignored
    bool Ticks() const { return FTicks; }
    void SetTicks(bool ticks);
    TThumbStyle ThumbStyle() const { return FThumbStyle; }
    void SetThumbStyle(TThumbStyle style);
    QColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(const QColor &color);
    bool HandCursor() const { return FHandCursor; }
    void SetHandCursor(bool hand);

    // Maps a mouse x to a value within Min..Max.
    int PixelToValue(int x) const;
    int PageStep() const;

    QRect ThumbRect() const { return FThumbRect; }
    bool Dragging() const { return FDragging; }
    int DragVal() const { return FDragVal; }
    int HalfTW() const { return FHalfTW; }
    int HalfTH() const { return FHalfTH; }
    const QImage &ThumbBmp() const { return FThumbBmp; }
    const QImage &MaskBmp() const { return FMaskBmp; }
    // Right end of the channel, R.
    int TrackRight() const;
    // Top edge of the channel, T.
    int TrackTop() const;

    QColor FirstColor() const;
    QColor SecondColor() const;

    // Picture and mask names of a thumb style, e.g. "Circle1".
    static QString ThumbName(TThumbStyle style);

signals:
    void OnChange(QObject *Sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void LoadThumb(TThumbStyle style);
    void Invalidate();
    bool CanvasReady() const;
    void PaintCanvas();
    void DrawTrack();
    void DrawTicks();
    void PlaceThumb();
    void SaveThumbBackground();
    void DrawThumb();
    void EraseThumb();
    void HLine(int x0, int x1, int y, QRgb color);
    void VLine(int x, int y0, int y1, QRgb color);

    int FMin = 1;
    int FMax = 10;
    int FPosition = 1;
    TBarStyle FStyle = bsLowered;
    int FThickness = 1;
    bool FTicks = false;
    TThumbStyle FThumbStyle = tsCircle1;
    QColor FFocusColor = Qt::black;
    bool FHandCursor = true;

    QImage FThumbBmp;
    QImage FMaskBmp;
    QImage FBkgdBmp;
    QCursor FHandPointer;
    int FHalfTW = 0;
    int FHalfTH = 0;
    QRect FThumbRect;
    bool FDragging = false;
    int FDragVal = 0;

    // The bar's picture; the thumb moves on it by erasing and redrawing.
    QImage FCanvas;
    bool FCanvasValid = false;
};
