#include "app/AttGroupBox.h"
#include "widgets/QSlideBar.h"
#include "widgets/QSpin.h"
#include "widgets/WidgetSupport.h"

#include <QResizeEvent>

namespace
{

constexpr int InnerLeft = 8;
constexpr int InnerTop = 20;
constexpr int InnerWidth = 89;

} // namespace

TAttGroupBox::TAttGroupBox(QWidget *parent) : QGroupBox(parent)
{
    FSEAtt = new TQSpinEdit(this);
    FSEAtt->setObjectName(QStringLiteral("FSEAtt"));
    FSEAtt->setGeometry(InnerLeft, InnerTop, InnerWidth, FSEAtt->height());

    FSBAtt = new TQSlideBar(this);
    FSBAtt->setObjectName(QStringLiteral("FSBAtt"));
    FSBAtt->SetThumbStyle(tsBar1);
    FSBAtt->SetTicks(false);
    FSBAtt->setGeometry(InnerLeft, FSEAtt->height() + InnerTop, InnerWidth, FSBAtt->height());

    FTimer = CreateWidgetTimer(this);
    FTimer->setObjectName(QStringLiteral("FTimer"));
    FTimer->SetInterval(SettleMs);
    FTimer->SetSingleShot(true);

    SetModeDecimal(false);
    SetMinAttVal(0);
    SetMaxAttVal(1100);

    connect(FSEAtt, &TQSpinEdit::OnChange, this, &TAttGroupBox::SpinEditChange);
    connect(FSBAtt, &TQSlideBar::OnChange, this, &TAttGroupBox::SlideBarChange);
    connect(FSEAtt, &TQSpinEdit::OnKeyUp, this, [this](QObject *, int key) { SpinEditKeyUp(key); });
    connect(FTimer, &TWidgetTimer::Tick, this, &TAttGroupBox::TimerFire);

    // The inner controls keep their 89 pixels until the box's bounds change;
    // for a hidden box that happens when it is shown.
    resize(InnerWidth + 2 * InnerLeft, FSBAtt->geometry().bottom() + 8);
}

int TAttGroupBox::MinAttVal() const
{
    return FSEAtt->MinValue();
}

void TAttGroupBox::SetMinAttVal(int value)
{
    FSEAtt->SetMinValue(value);
    FSBAtt->SetMin(value);
}

int TAttGroupBox::MaxAttVal() const
{
    return FSEAtt->MaxValue();
}

void TAttGroupBox::SetMaxAttVal(int value)
{
    FSEAtt->SetMaxValue(value);
    FSBAtt->SetMax(value);
}

int TAttGroupBox::AttValue() const
{
    return FSEAtt->Value();
}

void TAttGroupBox::SetAttValue(int value)
{
    FSEAtt->SetValue(value);
}

bool TAttGroupBox::ModeDecimal() const
{
    return FSEAtt->ModeDecimal();
}

void TAttGroupBox::SetModeDecimal(bool decimal)
{
    FSEAtt->SetModeDecimal(decimal);
}

void TAttGroupBox::BarFollowsEdit()
{
    inFSEOnChange = true;
    FSBAtt->SetPosition(FSEAtt->Value());
    inFSEOnChange = false;
}

void TAttGroupBox::SpinEditChange()
{
    // Typed text is reported at Enter, not while it is being typed.
    if (FSEAtt->InKeyMode)
        return;
    BarFollowsEdit();
    FTimer->Stop();
    FTimer->Start();
}

void TAttGroupBox::SlideBarChange()
{
    if (!inFSEOnChange)
        FSEAtt->SetValue(FSBAtt->Position());
}

void TAttGroupBox::SpinEditKeyUp(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    FSEAtt->SetValue(FSEAtt->Value());
    BarFollowsEdit();
    emit OnChange(this);
    FSEAtt->selectAll();
}

void TAttGroupBox::TimerFire()
{
    FTimer->Stop();
    emit OnChange(this);
}

void TAttGroupBox::FitInnerWidth(int width)
{
    const int w = qMin(width, InnerWidth);
    FSEAtt->resize(qMax(0, w - 2 * FSEAtt->x()), FSEAtt->height());
    FSBAtt->resize(qMax(0, w - 2 * FSBAtt->x()), FSBAtt->height());
}

void TAttGroupBox::resizeEvent(QResizeEvent *event)
{
    FitInnerWidth(event->size().width());
    QGroupBox::resizeEvent(event);
}
