#include "rack/uRadioRackV2.h"

#include "rack/uRadioRackV2Send.h"

#include <algorithm>
#include <cmath>

TRadioRackTimings TRadioRackTimings::Scaled(double factor) const
{
    auto scale = [factor](int ms) { return std::max(1, static_cast<int>(std::lround(ms * factor))); };
    TRadioRackTimings t = *this;
    t.LoginPauseMs = scale(LoginPauseMs);
    t.ReplyTimeoutMs = scale(ReplyTimeoutMs);
    t.QueryPauseMs = scale(QueryPauseMs);
    t.OpenRetryMs = scale(OpenRetryMs);
    t.IdentityRetryMs = scale(IdentityRetryMs);
    t.StatusRetryStepMs = scale(StatusRetryStepMs);
    t.ReconnectPauseMs = scale(ReconnectPauseMs);
    t.IdlePollMs = scale(IdlePollMs);
    t.DeadlockTimeoutMs = scale(DeadlockTimeoutMs);
    t.IdleWakeMaxMs = scale(IdleWakeMaxMs);
    return t;
}

TRadioRackThread::TRadioRackThread(IRadioRackHost *host, const TRadioRackTimings &timings)
    : FHost(host)
    , FTimings(timings)
    , FRRS(std::make_unique<TRadioRackSend>())
{
    SetFreeOnTerminate(true);
    FRRS->SetTimeOut(FTimings.ReplyTimeoutMs);
    FRRS->SetLoginPause(FTimings.LoginPauseMs);
    FRRS->Sock()->SetDeadlockTimeout(FTimings.DeadlockTimeoutMs);
    // Once termination is asked for, no wait holds the port much longer.
    FRRS->SetAbortCheck([this] { return Terminated(); });
}

TRadioRackThread::~TRadioRackThread()
{
    Terminate();
    WaitFor();
}

void TRadioRackThread::SetActionStr(const QString &value)
{
    FActionStr = value;
    if (FTimings.WakeOnAction)
        Wake();
}

QString TRadioRackThread::TargetPort() const
{
    std::lock_guard<std::mutex> l(FSharedMutex);
    return FTargetPort;
}

void TRadioRackThread::SetTargetPort(const QString &value)
{
    std::lock_guard<std::mutex> l(FSharedMutex);
    FTargetPort = value;
}

QString TRadioRackThread::RackName() const
{
    std::lock_guard<std::mutex> l(FSharedMutex);
    return FRackName;
}

void TRadioRackThread::SetRackName(const QString &value)
{
    std::lock_guard<std::mutex> l(FSharedMutex);
    FRackName = value;
}

TPortMap TRadioRackThread::PortMap() const
{
    std::lock_guard<std::mutex> l(FSharedMutex);
    return FPortMap;
}

void TRadioRackThread::SetPortMap(const TPortMap &value)
{
    std::lock_guard<std::mutex> l(FSharedMutex);
    FPortMap = value;
}

void TRadioRackThread::Execute()
{
    int identityTries = 0;
    while (!Terminated()) {
        if (FState == Closed) {
            StepClosed();
            if (FState == Opened) {
                FReadCount = 0;
                identityTries = 0;
            }
            continue;
        }
        switch (FAction) {
        case NoAction: StepIdle(); break;
        case GetIDN: StepIdentity(identityTries); break;
        case GetMOD:
            FResultStr = QStringLiteral("MOD AUTO");
            Synchronize([this] { UiReplyParse(); });
            FAction = GetATT;
            break;
        case GetATT: StepStatus(); break;
        case SendStr: StepSend(); break;
        case Refresh:
        case ReConfig: StepReconnect(); break;
        }
    }
    // Also when the line-opened call was cut short by termination.
    FRRS->Logout();
}

void TRadioRackThread::PauseUnlessTerminating(int ms)
{
    if (!Terminated())
        Sleep(ms);
}

void TRadioRackThread::StepClosed()
{
    QString port;
    TPortMap map;
    {
        std::lock_guard<std::mutex> l(FSharedMutex);
        port = FTargetPort;
        map = FPortMap;
    }
    FRRS->SetTargetPort(port);
    FRRS->Sock()->SetPortMap(map);
    if (FRRS->Login()) {
        Synchronize([this] { UiLineOpened(); });
    } else {
        Synchronize([this] { UiLineClosed(); });
        PauseUnlessTerminating(FTimings.OpenRetryMs);
    }
}

void TRadioRackThread::StepIdle()
{
    Synchronize([this] { UiActionIntake(); });
    // A command once taken is sent in the same step, so termination right
    // after the hand-over cannot lose it.
    if (FAction == SendStr) {
        StepSend();
        return;
    }
    if (Terminated() || FAction != NoAction)
        return;
    if (!FSendStr.isEmpty()) {
        FAction = SendStr;
    } else if (FTimings.WakeOnAction) {
        WaitForWake(FTimings.IdleWakeMaxMs);
    } else {
        Sleep(FTimings.IdlePollMs);
    }
}

void TRadioRackThread::Query(const char *command)
{
    FRRS->Send(QByteArray(command));
    Sleep(FTimings.QueryPauseMs);
    FResultStr = QString::fromLocal8Bit(FRRS->RecvString());
}

void TRadioRackThread::StepIdentity(int &identityTries)
{
    Query("IDN?");
    const int err = FRRS->Sock()->LastError();
    if (err == 0) {
        Synchronize([this] { UiReplyParse(); });
        if (FMode == IdnOk) {
            FAction = GetMOD;
        } else {
            if (identityTries >= 5)
                FAction = Refresh;
            PauseUnlessTerminating(FTimings.IdentityRetryMs);
        }
        ++identityTries;
    } else if (err == ErrTimeout) {
        FResultStr.clear();
        Synchronize([this] { UiReplyParse(); });
        PauseUnlessTerminating(FTimings.IdentityRetryMs);
    } else {
        FAction = Refresh;
    }
}

void TRadioRackThread::StepStatus()
{
    Query("STA?");
    const int err = FRRS->Sock()->LastError();
    if (err == 0) {
        Synchronize([this] { UiStatusIntake(); });
        FAction = FMode == NetworkDialogError ? Refresh : NoAction;
    } else if (err == ErrTimeout) {
        if (FReadCount >= 3)
            FAction = Refresh;
        else
            PauseUnlessTerminating((FReadCount + 1) * FTimings.StatusRetryStepMs);
        ++FReadCount;
    } else {
        FAction = Refresh;
    }
}

void TRadioRackThread::StepSend()
{
    int err = 0;
    if (!FSendStr.isEmpty()) {
        FRRS->Send(FSendStr.toLocal8Bit());
        err = FRRS->Sock()->LastError();
        FSendStr.clear();
    }
    FAction = err == 0 ? NoAction : Refresh;
}

void TRadioRackThread::StepReconnect()
{
    FAction = NoAction;
    FRRS->Logout();
    FState = Closed;
    Sleep(FTimings.ReconnectPauseMs);
    Synchronize([this] { UiLineClosed(); });
}

void TRadioRackThread::ReportMode()
{
    // Terminate() is called on the UI thread, so after it no host call runs.
    if (FHost && !Terminated())
        FHost->RadioRackSetMOD(this, FMode);
}

void TRadioRackThread::UiLineOpened()
{
    FState = Opened;
    FAction = GetIDN;
}

void TRadioRackThread::UiLineClosed()
{
    const TBlockSerial *sock = FRRS->Sock();
    if (sock->LastError() != 0) {
        FMode = SerialError;
        FLastErrorDesc = sock->LastErrorDesc();
    } else {
        if (FActionStr.startsWith(QLatin1String("REFRESH")) || FActionStr.startsWith(QLatin1String("RECONFIG")))
            FActionStr.clear();
        FMode = NoRack;
        FLastErrorDesc.clear();
    }
    ReportMode();
    FState = Closed;
}

void TRadioRackThread::UiReplyParse()
{
    if (FResultStr.isEmpty()) {
        FMode = NoRack;
    } else if (IsIdentityReply(FResultStr)) {
        ParseIdentityReply(FResultStr, FIdentity);
        FMode = IdnOk;
        FAction = GetIDN;
    } else if (IsModeReply(FResultStr)) {
        FMode = ParseModeReply(FResultStr);
        FAction = GetMOD;
    } else {
        FMode = NetworkDialogError;
    }
    ReportMode();
    FResultStr.clear();
}

void TRadioRackThread::UiStatusIntake()
{
    if (IsStatusReply(FResultStr)) {
        if (FHost && !Terminated())
            FHost->RadioRackSetSTA(this, FResultStr);
    } else {
        FMode = NetworkDialogError;
        ReportMode();
    }
    FResultStr.clear();
}

void TRadioRackThread::UiActionIntake()
{
    if (FActionStr.isEmpty())
        return;
    switch (ClassifyActionStr(FActionStr)) {
    case TActionKind::Ignore:
        return;
    case TActionKind::SendZero:
        FIdentity.StartAtt = StartAttMin;
        break;
    case TActionKind::SendLarge:
        FIdentity.StartAtt = StartAttMax;
        break;
    case TActionKind::Send:
        break;
    case TActionKind::ReadAtt:
        FSendStr.clear();
        FActionStr.clear();
        FAction = GetATT;
        return;
    case TActionKind::Refresh:
        FSendStr.clear();
        FActionStr.clear();
        FAction = Refresh;
        return;
    case TActionKind::ReConfig:
        FSendStr.clear();
        FActionStr.clear();
        FAction = ReConfig;
        return;
    }
    FSendStr = FActionStr;
    FActionStr.clear();
    FAction = SendStr;
}
