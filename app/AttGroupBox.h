#pragma once

#include <QGroupBox>
#include <QString>

class TQSpinEdit;
class TQSlideBar;
class TWidgetTimer;

// The control for one attenuator: a spin edit over a slide bar that follow
// each other. A new value is reported once, at Enter in the edit or when the
// value has been still for 300 ms.
class TAttGroupBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit TAttGroupBox(QWidget *parent = nullptr);

    int MinAttVal() const;
    void SetMinAttVal(int value);
    int MaxAttVal() const;
    void SetMaxAttVal(int value);
    int AttValue() const;
    void SetAttValue(int value);
    bool ModeDecimal() const;
    void SetModeDecimal(bool decimal);
    QString Caption() const { return title(); }
    void SetCaption(const QString &caption) { setTitle(caption); }

    TQSpinEdit *SpinEdit() const { return FSEAtt; }
    TQSlideBar *SlideBar() const { return FSBAtt; }
    TWidgetTimer *Timer() const { return FTimer; }

    static constexpr int SettleMs = 300;

signals:
    void OnChange(QObject *Sender);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void SpinEditChange();
    void SlideBarChange();
    void SpinEditKeyUp(int key);
    void TimerFire();
    void FitInnerWidth(int width);
    void BarFollowsEdit();

    TQSpinEdit *FSEAtt;
    TQSlideBar *FSBAtt;
    TWidgetTimer *FTimer;
    bool inFSEOnChange = false;
};
