#pragma once

#include "platform/Thread.h"
#include "rack/uRadioRackV2PortMap.h"
#include "rack/uRadioRackV2Protocol.h"
#include "rack/uRadioRackV2Types.h"

#include <QString>

#include <memory>
#include <mutex>

class TRadioRackSend;
class TRadioRackThread;

// The window that shows the rack. Both calls arrive on the UI thread while
// the worker waits for them to return; none arrives once Terminate() has
// been called (on the UI thread), so the host may go away right after it.
class IRadioRackHost
{
public:
    virtual ~IRadioRackHost() = default;
    // Every time the worker sets its mode, also to the same value.
    virtual void RadioRackSetMOD(TRadioRackThread *Sender, TMode Mode) = 0;
    // Every status reply, as received ("STA 0 300;1 120"); see ParseStatusReply.
    virtual void RadioRackSetSTA(TRadioRackThread *Sender, const QString &Text) = 0;
};

// The worker's pauses and time-outs. The defaults are the production values;
// tests run the same logic with shorter ones.
struct TRadioRackTimings
{
    int LoginPauseMs = 100;      // before each open
    int ReplyTimeoutMs = 5000;   // each wait for new bytes of a reply
    int QueryPauseMs = 100;      // between a query and reading its reply
    int OpenRetryMs = 5000;      // after a failed open
    int IdentityRetryMs = 1000;  // after an identity try that failed
    int StatusRetryStepMs = 500; // status time-out n waits n x this
    int ReconnectPauseMs = 100;  // between closing and reopening
    int IdlePollMs = 10;         // idle intake period when not woken
    int DeadlockTimeoutMs = 30000;
    // The idle worker sleeps until ActionStr is written (or IdleWakeMaxMs
    // passes) instead of running the intake every IdlePollMs.
    bool WakeOnAction = true;
    int IdleWakeMaxMs = 1000;

    // All durations multiplied by factor (at least 1 ms each).
    TRadioRackTimings Scaled(double factor) const;
};

// The only code that talks to the rack: opens the line, identifies the rack,
// reads the attenuators and sends what the windows hand over in ActionStr,
// reconnecting by itself. Created suspended and freeing itself when it ends
// (SetFreeOnTerminate(false) before Start() to own it instead).
class TRadioRackThread : public TThread
{
public:
    enum TState { Closed, Opened };
    enum TAction { NoAction, GetIDN, GetMOD, GetATT, SendStr, Refresh, ReConfig };

    explicit TRadioRackThread(IRadioRackHost *host, const TRadioRackTimings &timings = {});
    ~TRadioRackThread() override;

    // UI thread only: the intake reads and clears it on the UI thread.
    QString ActionStr() const { return FActionStr; }
    void SetActionStr(const QString &value);

    // Any thread.
    QString TargetPort() const;
    void SetTargetPort(const QString &value);
    QString RackName() const;
    void SetRackName(const QString &value);
    TPortMap PortMap() const;
    void SetPortMap(const TPortMap &value);

    // UI thread: written by the reply parse, which runs there.
    QString RackIDN() const { return FIdentity.RackIDN; }
    void SetRackIDN(const QString &value) { FIdentity.RackIDN = value; }
    QString VersAttr() const { return FIdentity.VersAttr; }
    TStartAtt StartAtt() const { return FIdentity.StartAtt; }
    int NbreAtts() const { return FIdentity.NbreAtts; }
    int MaxAttr() const { return FIdentity.MaxAttr; }
    QString LastErrorDesc() const { return FLastErrorDesc; }
    TMode Mode() const { return FMode; }

    const TRadioRackTimings &Timings() const { return FTimings; }

protected:
    void Execute() override;

private:
    void StepClosed();
    void StepIdle();
    void StepIdentity(int &identityTries);
    void StepStatus();
    void StepSend();
    void StepReconnect();
    void Query(const char *command);
    void PauseUnlessTerminating(int ms);

    // [UI] routines, run through Synchronize.
    void UiLineOpened();
    void UiLineClosed();
    void UiReplyParse();
    void UiStatusIntake();
    void UiActionIntake();
    void ReportMode();

    IRadioRackHost *FHost;
    TRadioRackTimings FTimings;
    std::unique_ptr<TRadioRackSend> FRRS;

    mutable std::mutex FSharedMutex; // TargetPort, RackName, port map
    QString FTargetPort;
    QString FRackName = QStringLiteral("Wait...");
    TPortMap FPortMap;

    TRackIdentity FIdentity;
    TState FState = Closed;
    TMode FMode = NoRack;
    TAction FAction = NoAction;
    QString FResultStr;
    QString FActionStr;
    QString FSendStr;
    QString FLastErrorDesc;
    int FReadCount = 0;
};
