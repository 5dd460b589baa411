#include "widgets/IntFloatEdit.h"
#include "widgets/WidgetSupport.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <limits>

TIntEdit::TIntEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { emit OnChange(this); });
    setText(QStringLiteral("0"));
}

int TIntEdit::ClampValue(int value) const
{
    if (FMaxValue > FMinValue) {
        if (value < FMinValue)
            return FMinValue;
        if (value > FMaxValue)
            return FMaxValue;
    }
    return value;
}

int TIntEdit::Value()
{
    const QString current = text();
    if (current.isEmpty())
        return FDefaultValue;
    bool ok = false;
    const int value = current.toInt(&ok, 10);
    if (!ok) {
        setFocus(Qt::OtherFocusReason);
        throw EPropertyError(QStringLiteral("'%1' is not a valid integer value").arg(current));
    }
    return value;
}

void TIntEdit::SetValue(int value)
{
    setText(QString::number(ClampValue(value)));
}

void TIntEdit::SetDefaultValue(int value)
{
    if (value == FDefaultValue)
        return;
    if (ClampValue(value) != value)
        throw EPropertyError(QStringLiteral("DefaultValue must be between MinValue and MaxValue"));
    FDefaultValue = value;
}

void TIntEdit::SetLimit(int &limit, int value)
{
    if (value == limit)
        return;
    limit = value;
    // The default is clamped first so that it stays inside the limits even
    // when the text cannot be read.
    FDefaultValue = ClampValue(FDefaultValue);
    SetValue(Value());
}

void TIntEdit::SetMinValue(int value)
{
    SetLimit(FMinValue, value);
}

void TIntEdit::SetMaxValue(int value)
{
    SetLimit(FMaxValue, value);
}

void TIntEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        event->accept();
        try {
            const qint64 next = qint64(Value()) + (key == Qt::Key_Up ? qint64(FIncrement) : -qint64(FIncrement));
            SetValue(static_cast<int>(
                qBound(qint64(std::numeric_limits<int>::min()), next, qint64(std::numeric_limits<int>::max()))));
        } catch (const EPropertyError &e) {
            ReportWidgetError(e.Message());
        }
        return;
    }
    if (const auto typed = TypedChar(event)) {
        const char16_t code = typed->unicode();
        const bool accepted =
            code < 32 || *typed == QLatin1Char('+') || *typed == QLatin1Char('-') || (code >= u'0' && code <= u'9');
        if (!accepted) {
            WidgetBeep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TIntEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A window switch or a pop-up (the error's own message box among them)
    // does not leave the edit.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (text().isEmpty())
        return;
    try {
        SetValue(ClampValue(Value()));
    } catch (const EPropertyError &e) {
        ReportWidgetError(e.Message());
    }
}
