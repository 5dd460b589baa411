#include "app/Main.h"

#include "app/AttGroupBox.h"
#include "app/MainHelp.h"
#include "app/StartAttsState.h"
#include "app/uIdentRack.h"
#include "config/misc.h"
#include "config/miscGui.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "sequencer/uSequencerRound.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int DefaultMaxAtt = 935;
constexpr int DesignedLeft = 8;

} // namespace

TMainForm::TMainForm(const TMainOptions &options, QWidget *parent) : QMainWindow(parent), FOptions(options)
{
    if (FOptions.ExecutablePath.isEmpty())
        FOptions.ExecutablePath = QCoreApplication::applicationFilePath();
    CreateControls();
    FormCreate();
}

TMainForm::~TMainForm()
{
    FormDestroy();
}

void TMainForm::FormCreate()
{
    setWindowTitle(GetVersionTitle());
    // The help is an HTML page named after the executable.
    const QFileInfo exe(FOptions.ExecutablePath);
    FHelpFile = exe.path() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".html");
    GBRack1->setTitle(QStringLiteral("No rack"));

    RadioRack1 = new TRadioRackThread(this, FOptions.Timings);

    FSettings.OpenUserSettings(QStringLiteral("Quenta SERIAL 1W or 2W"), FOptions.ExecutablePath);
    SetCurConfigFile(FSettings.ReadAtStartup());
    ReadPortMap();

    if (FCurConfigFile.isEmpty()) {
        RadioRack1->SetTargetPort(QStringLiteral("COM1"));
        RadioRack1->SetRackName(QStringLiteral("Brick 1"));
    }
    for (TAttGroupBox *box : {AttGroupBox1, AttGroupBox2}) {
        box->SetModeDecimal(true);
        box->SetMaxAttVal(DefaultMaxAtt);
    }

    if (!ExecuteConfigDialog(*this, this)) {
        // The event loop has not started yet: the request waits for it, and
        // the program ends through the normal exit.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }

    RadioRack1->SetRackIDN(QStringLiteral("000000"));
    FinSequencer = false;
    FBlockChange1 = false;
    FBlockChange2 = false;
    SetStatusPanel(0, QStringLiteral("USB Serial mode"));
    RadioRack1->Start();
}

void TMainForm::FormDestroy()
{
    // The worker frees itself; no report arrives once it is asked to end.
    RadioRack1->Terminate();
    RadioRack1 = nullptr;
    SleepMs(FOptions.ExitPauseMs);
    try {
        FSettings.WriteAtExit(FCurConfigFile);
    } catch (const EQuentaError &e) {
        ShowErrorMessage(e.Message());
    }
}

void TMainForm::ReadPortMap()
{
    FPortMap.Clear();
    if (TIniFile *ini = FSettings.IniFile()) {
        for (int n = 1; n <= 9; ++n) {
            const QString path = ini->ReadString(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n), QString());
            if (!path.isEmpty())
                FPortMap.Set(n, path);
        }
    }
    for (auto it = FOptions.PortOverrides.Entries().cbegin(); it != FOptions.PortOverrides.Entries().cend(); ++it)
        FPortMap.Set(it.key(), it.value());
    RadioRack1->SetPortMap(FPortMap);
}

QString TMainForm::PortDevice(const QString &port) const
{
    int n = 0;
    if (ComNumberOf(port, n) && n >= 1)
        return FPortMap.DevicePath(n);
    return port;
}

void TMainForm::SetCurConfigFile(const QString &fileName)
{
    FCurConfigFile = fileName;
    if (!fileName.isEmpty())
        SetStatusPanel(2, QStringLiteral("Configuration: ") + FileNameWithoutExt(fileName));
    else
        SetStatusPanel(2, QString());
}

void TMainForm::SetStatusPanel(int index, const QString &text)
{
    StatusPanel[index]->setText(text);
}

QString TMainForm::AttCaption(int att) const
{
    return (att == 1 ? AttGroupBox1 : AttGroupBox2)->Caption();
}

void TMainForm::SetAttCaption(int att, const QString &caption)
{
    (att == 1 ? AttGroupBox1 : AttGroupBox2)->SetCaption(caption);
}

QString TMainForm::TargetPort() const
{
    return RadioRack1->TargetPort();
}

void TMainForm::SetTargetPort(const QString &port)
{
    RadioRack1->SetTargetPort(port);
}

QString TMainForm::RackName() const
{
    return RadioRack1->RackName();
}

void TMainForm::SetRackName(const QString &name)
{
    RadioRack1->SetRackName(name);
}

int TMainForm::MaxAttValue() const
{
    return RadioRack1 ? RadioRack1->MaxAttr() : 0;
}

int TMainForm::GetMaxAttForRack(int rack) const
{
    if (rack == 1 && MaxAttValue() > 0)
        return MaxAttValue();
    return DefaultMaxAtt;
}

bool TMainForm::GetAttEnabled(int att) const
{
    if (att == 1 || att == 2)
        return FAttShown[att - 1].load();
    return false;
}

void TMainForm::RadioRackSetMOD(TRadioRackThread *Sender, TMode aMode)
{
    if (Sender != RadioRack1 || !RadioRack1)
        return;
    bool shown = false;
    switch (aMode) {
    case RackAuto:
        GBRack1->setTitle(RadioRack1->RackIDN() + QStringLiteral(" - ") + RadioRack1->RackName() +
                          QStringLiteral(" (v") + RadioRack1->VersAttr() + QLatin1Char(')'));
        shown = true;
        break;
    case RackManu:
        GBRack1->setTitle(RadioRack1->RackIDN() + QStringLiteral(" - Manual mode"));
        break;
    case SerialError:
        GBRack1->setTitle(QStringLiteral("Serial error: ") + RadioRack1->LastErrorDesc());
        break;
    case NoRack:
    case IdnOk:
    case NetworkDialogError:
        GBRack1->setTitle(QStringLiteral("No Rack"));
        break;
    }
    if (aMode == RackAuto) {
        // A rack that reports no maximum keeps the start-up range, as the
        // maximum buttons do; a 0..0 range would leave the controls stuck.
        const int max = GetMaxAttForRack(1);
        for (TAttGroupBox *box : {AttGroupBox1, AttGroupBox2}) {
            box->SetModeDecimal(IsTenthsMode(max));
            box->SetMaxAttVal(max);
        }
    }
    PlaceControls(shown, RadioRack1->NbreAtts());
    LabelDescription->setText(QString::asprintf("Orvex Quenta %d Atts", RadioRack1->NbreAtts()));
}

void TMainForm::PlaceControls(bool shown, int nbreAtts)
{
    if (nbreAtts == 2)
        AttGroupBox1->move(DesignedLeft, AttGroupBox1->y());
    else
        AttGroupBox1->move((GBRack1->width() - AttGroupBox1->width()) / 2, AttGroupBox1->y());
    const bool second = shown && nbreAtts == 2;
    FAttShown[0] = shown;
    FAttShown[1] = second;
    AttGroupBox1->setVisible(shown);
    AttGroupBox2->setVisible(second);
}

void TMainForm::RadioRackSetSTA(TRadioRackThread *, const QString &text)
{
    const int nbreAtts = RadioRack1 ? RadioRack1->NbreAtts() : 1;
    const TStatusValues values = ParseStatusReply(text, nbreAtts);
    if (values[0])
        AttGroupBox1->SetAttValue(*values[0]);
    if (values[1] && nbreAtts == 2)
        AttGroupBox2->SetAttValue(*values[1]);
}

void TMainForm::AttGroupBox1Change(QObject *Sender)
{
    if (FinSequencer || !RadioRack1)
        return;
    if (Sender == AttGroupBox1) {
        if (FBlockChange1)
            FBlockChange1 = false;
        else
            SendAttValue(1, QStringLiteral("0"), AttGroupBox1->AttValue());
    }
    if (RadioRack1->NbreAtts() == 2 && Sender == AttGroupBox2) {
        if (FBlockChange2)
            FBlockChange2 = false;
        else
            SendAttValue(1, QStringLiteral("1"), AttGroupBox2->AttValue());
    }
}

void TMainForm::SendAttValue(int rack, const QString &channel, int value)
{
    // Never 0 or less: an unknown maximum reads as 935.
    const int m = GetMaxAttForRack(rack);
    if (IsTenthsMode(m))
        value = RoundToHalfDb(value);
    RadioRack1->SetActionStr(QString::asprintf("ATT %s %.3d", channel.toLatin1().constData(), value));
}

void TMainForm::SetAttsTo(int value)
{
    const QString command = RadioRack1->NbreAtts() == 1 ? QString::asprintf("ATT 0 %.3d", value)
                                                        : QString::asprintf("ATT 0 %.3d;1 %.3d", value, value);
    RadioRack1->SetActionStr(command);
    const int before1 = AttGroupBox1->AttValue();
    const int before2 = AttGroupBox2->AttValue();
    FBlockChange1 = true;
    FBlockChange2 = true;
    RadioRackSetSTA(RadioRack1, command);
    // A control already at the value raises no change event to consume the
    // flag, which would otherwise swallow the user's next change.
    if (AttGroupBox1->AttValue() == before1)
        FBlockChange1 = false;
    if (AttGroupBox2->AttValue() == before2)
        FBlockChange2 = false;
}

void TMainForm::ButtonReadAttsClick()
{
    RadioRack1->SetActionStr(QStringLiteral("READATT"));
}

void TMainForm::ButtonAttsToMaxClick()
{
    SetAttsTo(GetMaxAttForRack(1));
}

void TMainForm::ButtonAttsToMinClick()
{
    SetAttsTo(0);
}

void TMainForm::ButtonStartAttsClick()
{
    TStartAtt s = RadioRack1->StartAtt();
    if (!ExecuteStartAttsDialog(s, this))
        return;
    RadioRack1->SetActionStr(s == StartAttMin ? QStringLiteral("ZERO") : QStringLiteral("LARGE"));
    QCoreApplication::processEvents();
}

void TMainForm::miIDSClick()
{
    QString id = RadioRack1->RackIDN();
    try {
        if (!ExecuteIdentDialog(1, id, *this, RadioRack1->NbreAtts(), this))
            return;
    } catch (const EQuentaError &e) {
        ShowErrorMessage(e.Message());
        return;
    }
    RadioRack1->SetActionStr(QStringLiteral("IDS ") + id);
    SleepMs(FOptions.IdsPauseMs);
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(RefreshMessage)));
    QCoreApplication::processEvents();
}

void TMainForm::miRefreshClick()
{
    RadioRack1->SetActionStr(QStringLiteral("REFRESH"));
}

void TMainForm::miConfigurationClick()
{
    if (ExecuteConfigDialog(*this, this))
        RadioRack1->SetActionStr(QStringLiteral("REFRESH"));
}

void TMainForm::miHelpIndexClick()
{
    if (!FHelpViewer)
        FHelpViewer = new THelpViewer(this);
    FHelpViewer->ShowTopic(FHelpFile, QStringLiteral("IDH_main_window"));
}

void TMainForm::miExitClick()
{
    close();
}

bool TMainForm::event(QEvent *e)
{
    if (e->type() == QEvent::Type(RefreshMessage)) {
        if (RadioRack1)
            RadioRack1->SetActionStr(QStringLiteral("REFRESH"));
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::closeEvent(QCloseEvent *e)
{
    e->accept();
}
