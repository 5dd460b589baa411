#include "widgets/QSpin.h"
#include "widgets/WidgetSupport.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <qdrawutil.h>

namespace
{

// The picture with its bottom-left colour made transparent, as speed
// buttons draw their glyphs.
QPixmap TransparentGlyph(const QImage &image)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    if (image.isNull())
        return pixmap;
    const QRgb key = image.pixel(0, image.height() - 1);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
    return pixmap;
}

} // namespace

TQTimerSpeedButton::TQTimerSpeedButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

TQTimerSpeedButton::~TQTimerSpeedButton() = default;

void TQTimerSpeedButton::SetTimeBtnState(TTimeBtnState state)
{
    if (state == FTimeBtnState)
        return;
    FTimeBtnState = state;
    update();
}

void TQTimerSpeedButton::SetGlyph(const QImage &glyph)
{
    FGlyph = glyph;
    update();
}

void TQTimerSpeedButton::SetNumGlyphs(int count)
{
    count = qBound(1, count, 4);
    if (count == FNumGlyphs)
        return;
    FNumGlyphs = count;
    update();
}

void TQTimerSpeedButton::Click()
{
    emit clicked();
}

void TQTimerSpeedButton::RepeatTick()
{
    FRepeatTimer->SetInterval(100);
    if (!isDown() || !FHeld)
        return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->Stop();
        throw;
    }
}

void TQTimerSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit OnMouseDown(this);
    QAbstractButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isDown())
        return;
    FHeld = true;
    if (FTimeBtnState & tbAllowTimer) {
        if (!FRepeatTimer) {
            FRepeatTimer = CreateWidgetTimer(this);
            connect(FRepeatTimer, &TWidgetTimer::Tick, this, [this] {
                try {
                    RepeatTick();
                } catch (const std::exception &e) {
                    ReportWidgetError(QString::fromStdString(e.what()));
                }
            });
        }
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->Start();
    }
}

void TQTimerSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (FRepeatTimer)
            FRepeatTimer->Stop();
        FHeld = false;
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void TQTimerSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool down = isDown();
    qDrawWinButton(&painter, rect(), palette(), down, &palette().brush(QPalette::Button));

    if (!FGlyph.isNull()) {
        const int imageWidth = FGlyph.width() / FNumGlyphs;
        int index = 0;
        if (!isEnabled() && FNumGlyphs > 1)
            index = 1;
        else if (down && FNumGlyphs > 2)
            index = 2;
        const QPixmap glyph = TransparentGlyph(FGlyph.copy(index * imageWidth, 0, imageWidth, FGlyph.height()));
        int x = (width() - imageWidth) / 2;
        int y = (height() - FGlyph.height()) / 2;
        if (down) {
            ++x;
            ++y;
        }
        if (!isEnabled() && FNumGlyphs == 1)
            painter.setOpacity(0.4);
        painter.drawPixmap(x, y, glyph);
        painter.setOpacity(1.0);
    }

    if (FTimeBtnState & tbFocusRect) {
        QRect focus = rect().adjusted(3, 3, -3, -3);
        if (down)
            focus.translate(1, 1);
        if (focus.width() > 0 && focus.height() > 0) {
            QPen pen(palette().color(QPalette::ButtonText), 1, Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(focus.adjusted(0, 0, -1, -1));
        }
    }
}

TQSpinButton::TQSpinButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    FUpButton = CreateButton();
    FUpButton->setObjectName(QStringLiteral("FUpButton"));
    FUpButton->SetGlyph(LoadWidgetBitmap(QStringLiteral("SpinUp")));
    FDownButton = CreateButton();
    FDownButton->setObjectName(QStringLiteral("FDownButton"));
    FDownButton->SetGlyph(LoadWidgetBitmap(QStringLiteral("SpinDown")));
    FFocusedButton = FUpButton;
    resize(20, 25);
    LayoutButtons(width(), height());
}

TQTimerSpeedButton *TQSpinButton::CreateButton()
{
    auto *button = new TQTimerSpeedButton(this);
    button->SetTimeBtnState(tbAllowTimer);
    connect(button, &TQTimerSpeedButton::clicked, this, [this, button] { ArrowClick(button); });
    connect(button, &TQTimerSpeedButton::OnMouseDown, this, [this, button] { ArrowMouseDown(button); });
    return button;
}

bool TQSpinButton::TabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TQSpinButton::SetTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TQSpinButton::SetUpGlyph(const QImage &glyph)
{
    if (glyph.isNull()) {
        FUpButton->SetGlyph(LoadWidgetBitmap(QStringLiteral("SpinUp")));
        FUpButton->SetNumGlyphs(1);
    } else {
        FUpButton->SetGlyph(glyph);
    }
}

void TQSpinButton::SetDownGlyph(const QImage &glyph)
{
    if (glyph.isNull()) {
        FDownButton->SetGlyph(LoadWidgetBitmap(QStringLiteral("SpinDown")));
        FDownButton->SetNumGlyphs(1);
    } else {
        FDownButton->SetGlyph(glyph);
    }
}

void TQSpinButton::LayoutButtons(int width, int height)
{
    width = qMax(width, 15);
    const int upHeight = height / 2;
    FUpButton->setGeometry(0, 0, width, upHeight);
    // The down arrow overlaps the up arrow's bottom edge by one pixel.
    FDownButton->setGeometry(0, upHeight - 1, width, height - upHeight + 1);
    if (width != this->width() || height != this->height())
        resize(width, height);
}

void TQSpinButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayoutButtons(width(), height());
}

void TQSpinButton::FocusButton(TQTimerSpeedButton *button)
{
    if (!TabStop() || !CanFocus() || button == FFocusedButton)
        return;
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimeBtnState(tbFocusRect));
    FFocusedButton = button;
    if (hasFocus())
        FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | tbFocusRect);
}

void TQSpinButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | tbFocusRect);
}

void TQSpinButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimeBtnState(tbFocusRect));
}

void TQSpinButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        FocusButton(FUpButton);
        FUpButton->Click();
        break;
    case Qt::Key_Down:
        FocusButton(FDownButton);
        FDownButton->Click();
        break;
    case Qt::Key_Space:
        FFocusedButton->Click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TQSpinButton::ArrowMouseDown(TQTimerSpeedButton *button)
{
    FocusButton(button);
    QWidget *control = FFocusControl;
    if (control && (control->focusPolicy() & Qt::TabFocus) && control->isVisible() && control->isEnabled() &&
        !control->hasFocus()) {
        control->setFocus(Qt::MouseFocusReason);
    } else if (TabStop() && !hasFocus() && CanFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
}

void TQSpinButton::ArrowClick(TQTimerSpeedButton *button)
{
    if (button == FUpButton)
        emit OnUpClick(this);
    else
        emit OnDownClick(this);
}
