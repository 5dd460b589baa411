#pragma once

#include "rack/uRadioRackV2.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Records what the worker reports; runs on the UI thread like the main window.
class TRackTestHost : public IRadioRackHost
{
public:
    void RadioRackSetMOD(TRadioRackThread *Sender, TMode Mode) override
    {
        Senders.push_back(Sender);
        Modes.push_back(Mode);
        if (OnMode)
            OnMode(Mode);
    }
    void RadioRackSetSTA(TRadioRackThread *Sender, const QString &Text) override
    {
        Senders.push_back(Sender);
        Status << Text;
        if (OnStatus)
            OnStatus(Text);
    }

    int Count(TMode mode) const
    {
        int n = 0;
        for (TMode m : Modes)
            n += m == mode;
        return n;
    }

    std::vector<TMode> Modes;
    QStringList Status;
    std::vector<TRadioRackThread *> Senders;
    std::function<void(TMode)> OnMode;
    std::function<void(const QString &)> OnStatus;
};

// The production pauses, shortened so the suite runs in seconds. The reply
// time-out stays far above what a loaded machine needs to answer.
inline TRadioRackTimings FastTimings()
{
    TRadioRackTimings t;
    t.LoginPauseMs = 5;
    t.ReplyTimeoutMs = 400;
    t.QueryPauseMs = 5;
    t.OpenRetryMs = 150;
    t.IdentityRetryMs = 50;
    t.StatusRetryStepMs = 50;
    t.ReconnectPauseMs = 5;
    t.IdleWakeMaxMs = 200;
    return t;
}
