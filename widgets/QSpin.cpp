#include "widgets/QSpin.h"
#include "widgets/WidgetSupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <limits>

namespace
{

constexpr int ButtonWidth = 15;

std::optional<qint64> ReadInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> ToInt32(qint64 value)
{
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int Saturate(qint64 value)
{
    return static_cast<int>(
        qBound<qint64>(qint64(std::numeric_limits<int>::min()), value, qint64(std::numeric_limits<int>::max())));
}

} // namespace

TQSpinEdit::TQSpinEdit(QWidget *parent) : QLineEdit(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    FButton = new TQSpinButton(this);
    FButton->setObjectName(QStringLiteral("FButton"));
    FButton->resize(ButtonWidth, 17);
    FButton->setCursor(Qt::ArrowCursor);
    FButton->SetFocusControl(this);
    connect(FButton, &TQSpinButton::OnUpClick, this, [this](QObject *sender) { StepUp(sender); });
    connect(FButton, &TQSpinButton::OnDownClick, this, [this](QObject *sender) { StepDown(sender); });
    connect(this, &QLineEdit::textChanged, this, [this] { emit OnChange(this); });
    setText(QStringLiteral("0"));
    resize(121, MinHeight());
    PlaceButton();
}

void TQSpinEdit::SetEditorEnabled(bool enabled)
{
    FEditorEnabled = enabled;
    UpdateBaseReadOnly();
}

void TQSpinEdit::SetReadOnly(bool readOnly)
{
    FReadOnly = readOnly;
    UpdateBaseReadOnly();
}

// The base edit refuses typing, paste, cut, drops and its menu's editing
// entries while read-only, which is what a disabled editor needs as well.
void TQSpinEdit::UpdateBaseReadOnly()
{
    setReadOnly(FReadOnly || !FEditorEnabled);
}

void TQSpinEdit::SetCtl3D(bool ctl3D)
{
    if (ctl3D == FCtl3D)
        return;
    FCtl3D = ctl3D;
    setFrame(ctl3D);
    PlaceButton();
}

std::optional<int> TQSpinEdit::ReadText(const QString &text, bool decimal)
{
    if (!decimal) {
        const auto value = ReadInteger(text);
        return value ? ToInt32(*value) : std::nullopt;
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0) {
        const auto value = ReadInteger(text);
        return value && *value > std::numeric_limits<qint64>::min() / 10 &&
                       *value < std::numeric_limits<qint64>::max() / 10
                   ? ToInt32(*value * 10)
                   : std::nullopt;
    }
    QString joined = text.left(point);
    if (point == text.size() - 1)
        joined += QLatin1Char('0');
    else
        joined += text.at(point + 1);
    const auto value = ReadInteger(joined);
    return value ? ToInt32(*value) : std::nullopt;
}

QString TQSpinEdit::FormatValue(int value, bool decimal)
{
    if (!decimal)
        return QString::number(value);
    const qint64 magnitude = value < 0 ? -qint64(value) : qint64(value);
    return QStringLiteral("%1%2.%3")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 10)
        .arg(magnitude % 10);
}

int TQSpinEdit::Value() const
{
    return ReadText(text(), FModeDeci).value_or(FMinValue);
}

void TQSpinEdit::SetValue(int value)
{
    const QString newText = FormatValue(ClampValue(value), FModeDeci);
    if (newText != text())
        setText(newText);
}

int TQSpinEdit::ClampValue(int value) const
{
    if (FMaxValue == FMinValue)
        return value;
    if (value < FMinValue)
        return FMinValue;
    if (value > FMaxValue)
        return FMaxValue;
    return value;
}

bool TQSpinEdit::AcceptsKey(QChar key)
{
    const char16_t code = key.unicode();
    if (key == QLatin1Char('+') || key == QLatin1Char('-') || (code >= u'0' && code <= u'9'))
        return true;
    if (FModeDeci && key == QLatin1Char('.'))
        return true;
    return code < 32 && code != 13;
}

void TQSpinEdit::Step(qint64 delta)
{
    if (FReadOnly) {
        WidgetBeep();
        return;
    }
    SetValue(Saturate(Value() + delta));
}

void TQSpinEdit::StepUp(QObject *)
{
    Step(FIncrement);
}

void TQSpinEdit::StepDown(QObject *)
{
    Step(-qint64(FIncrement));
}

void TQSpinEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        if (event->key() == Qt::Key_Up)
            StepUp(this);
        else
            StepDown(this);
        QLineEdit::keyPressEvent(event);
        // The arrow keys end here; they must not move the focus around.
        event->accept();
        return;
    }
    if (const auto typed = TypedChar(event)) {
        const char16_t code = typed->unicode();
        bool accepted = AcceptsKey(*typed);
        if (!FEditorEnabled && (code >= 32 || code == 8))
            accepted = false;
        if (!accepted) {
            // Swallowed: the base edit would pass Enter on to a default button.
            if (code == 13)
                InKeyMode = false;
            else
                WidgetBeep();
            event->accept();
            return;
        }
        InKeyMode = true;
    }
    QLineEdit::keyPressEvent(event);
}

void TQSpinEdit::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit OnKeyUp(this, event->key(), event->modifiers());
}

void TQSpinEdit::focusInEvent(QFocusEvent *event)
{
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    const bool fromMouse = event->reason() == Qt::MouseFocusReason || (QApplication::mouseButtons() & Qt::LeftButton);
    if (FAutoSelect && !fromMouse)
        selectAll();
    else if (!FAutoSelect && !hadSelection && hasSelectedText())
        deselect();
    emit OnEnter(this);
}

void TQSpinEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Only a move to another control leaves the edit; a window switch or a
    // pop-up does not.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    const int value = Value();
    if (ClampValue(value) != value)
        SetValue(value);
    emit OnExit(this);
}

int TQSpinEdit::MinHeight() const
{
    const int editHeight = QFontMetrics(font()).height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    constexpr int systemBorderHeight = 1;
    return editHeight + qMin(systemHeight, editHeight) / 4 + 4 * systemBorderHeight + 2;
}

void TQSpinEdit::PlaceButton()
{
    // Children sit in frame coordinates; the arrows' place is reckoned from
    // the client area, which starts inside the 2-pixel sunken frame.
    const int w = width();
    const int h = height();
    if (FCtl3D)
        FButton->setGeometry(2 + w - ButtonWidth - 5, 2, ButtonWidth, h - 5);
    else
        FButton->setGeometry(w - ButtonWidth, 1, ButtonWidth, h - 3);
    setTextMargins(0, 0, FButton->width() + 2, 0);
}

void TQSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const int minHeight = MinHeight();
    if (height() < minHeight) {
        resize(width(), minHeight);
        return;
    }
    PlaceButton();
}

void TQSpinEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && height() < MinHeight())
        resize(width(), MinHeight());
}
