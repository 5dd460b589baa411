#pragma once

#include <QAbstractButton>
#include <QFlags>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <optional>

class TWidgetTimer;

enum TTimeBtnStateItem {
    tbFocusRect = 0x1,
    tbAllowTimer = 0x2,
};
Q_DECLARE_FLAGS(TTimeBtnState, TTimeBtnStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTimeBtnState)

// A flat arrow button that keeps clicking while it is held down: first after
// 400 ms, then every 100 ms, and once more when released over it.
class TQTimerSpeedButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TQTimerSpeedButton(QWidget *parent = nullptr);
    ~TQTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState state);

    // The picture; its bottom-left pixel's colour is drawn transparent.
    // NumGlyphs images sit side by side: up, disabled, clicked, down.
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage &glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);

    // One click, as the platform would report it.
    void Click();
    // The repeat timer's tick; public so a held press can be driven directly.
    void RepeatTick();
    TWidgetTimer *RepeatTimer() const { return FRepeatTimer; }

signals:
    void OnMouseDown(QObject *Sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TTimeBtnState FTimeBtnState;
    TWidgetTimer *FRepeatTimer = nullptr;
    QImage FGlyph;
    int FNumGlyphs = 1;
    bool FHeld = false;
};

// An up arrow over a down arrow, as one control.
class TQSpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit TQSpinButton(QWidget *parent = nullptr);

    TQTimerSpeedButton *UpButton() const { return FUpButton; }
    TQTimerSpeedButton *DownButton() const { return FDownButton; }
    TQTimerSpeedButton *FocusedButton() const { return FFocusedButton; }

    QWidget *FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget *control) { FFocusControl = control; }

    bool TabStop() const;
    void SetTabStop(bool tabStop);

    QImage UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(const QImage &glyph); // a null image restores "SpinUp"
    QImage DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(const QImage &glyph); // a null image restores "SpinDown"
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int count) { FUpButton->SetNumGlyphs(count); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int count) { FDownButton->SetNumGlyphs(count); }

    // Makes button the one Space acts on and that shows the focus rectangle.
    void FocusButton(TQTimerSpeedButton *button);

signals:
    void OnUpClick(QObject *Sender);
    void OnDownClick(QObject *Sender);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TQTimerSpeedButton *CreateButton();
    void LayoutButtons(int width, int height);
    void ArrowMouseDown(TQTimerSpeedButton *button);
    void ArrowClick(TQTimerSpeedButton *button);
    bool CanFocus() const { return isVisible() && isEnabled(); }

    TQTimerSpeedButton *FUpButton;
    TQTimerSpeedButton *FDownButton;
    TQTimerSpeedButton *FFocusedButton;
    QPointer<QWidget> FFocusControl;
};

// An integer edit with arrows inside its right edge. In decimal mode it
// holds tenths and shows one decimal digit.
class TQSpinEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TQSpinEdit(QWidget *parent = nullptr);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value) { FMinValue = value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value) { FMaxValue = value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool ModeDecimal() const { return FModeDeci; }
    void SetModeDecimal(bool decimal) { FModeDeci = decimal; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool enabled);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool autoSelect) { FAutoSelect = autoSelect; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool ctl3D);
    TQSpinButton *Button() const { return FButton; }

    int Value() const;
    void SetValue(int value);
    int ClampValue(int value) const;
    // Text to value and back; a failed read gives nullopt.
    static std::optional<int> ReadText(const QString &text, bool decimal);
    static QString FormatValue(int value, bool decimal);

    // The smallest height at which the text and the arrows fit.
    int MinHeight() const;

    virtual bool AcceptsKey(QChar key);
    virtual void StepUp(QObject *Sender);
    virtual void StepDown(QObject *Sender);

    // True from the first accepted typed character until Enter is typed.
    bool InKeyMode = false;

signals:
    void OnChange(QObject *Sender);
    void OnEnter(QObject *Sender);
    void OnExit(QObject *Sender);
    void OnKeyUp(QObject *Sender, int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Step(qint64 delta);
    void UpdateBaseReadOnly();
    void PlaceButton();

    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
    bool FEditorEnabled = true;
    bool FReadOnly = false;
    bool FModeDeci = false;
    bool FAutoSelect = true;
    bool FCtl3D = true;
    TQSpinButton *FButton;
};
