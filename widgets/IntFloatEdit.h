#pragma once

#include "platform/Errors.h"

#include <QLineEdit>

// A property write or read that cannot be honoured.
class EPropertyError : public EQuentaError
{
public:
    using EQuentaError::EQuentaError;
};

// A one-line edit for a whole number with limits, a default for the empty
// box, and an arrow-key step.
class TIntEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TIntEdit(QWidget *parent = nullptr);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int DefaultValue() const { return FDefaultValue; }
    void SetDefaultValue(int value); // throws EPropertyError outside the limits
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }

    // Throws EPropertyError, after taking the focus, when the text is not an
    // integer.
    int Value();
    void SetValue(int value);
    int ClampValue(int value) const;

signals:
    void OnChange(QObject *Sender);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void SetLimit(int &limit, int value);

    int FMinValue = 0;
    int FMaxValue = 0;
    int FDefaultValue = 0;
    int FIncrement = 0;
};
