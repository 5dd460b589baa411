#pragma once

#include "widgets/WidgetSupport.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class TFakeClock;

// A widget timer on a virtual clock: it fires only when the clock advances.
class TFakeTimer : public TWidgetTimer
{
    Q_OBJECT
public:
    TFakeTimer(TFakeClock *clock, QObject *parent);
    void SetInterval(int ms) override;
    int Interval() const override { return FInterval; }
    void SetSingleShot(bool singleShot) override { FSingleShot = singleShot; }
    void Start() override;
    void Stop() override { FActive = false; }
    bool IsActive() const override { return FActive; }

private:
    friend class TFakeClock;
    TFakeClock *FClock;
    int FInterval = 0;
    bool FSingleShot = false;
    bool FActive = false;
    qint64 FDue = 0;
};

// While alive, every widget timer created is a fake one on this clock.
class TFakeClock
{
public:
    TFakeClock();
    ~TFakeClock();
    TFakeClock(const TFakeClock &) = delete;
    TFakeClock &operator=(const TFakeClock &) = delete;

    qint64 Now() const { return FNow; }
    // Moves time on, firing every timer that falls due on the way, in order.
    void Advance(int ms);

private:
    friend class TFakeTimer;
    qint64 FNow = 0;
    std::vector<QPointer<TFakeTimer>> FTimers;
    TWidgetTimerFactory FOldFactory;
};

// Counts beeps while alive.
class TBeepCounter
{
public:
    TBeepCounter();
    ~TBeepCounter();
    int Count() const;

private:
    TBeepHook FOld;
};

// Records reported widget errors while alive.
class TErrorRecorder
{
public:
    TErrorRecorder();
    ~TErrorRecorder();
    QStringList Messages() const;

private:
    TWidgetErrorHook FOld;
};

// Shows a top-level window and waits until it is active, so focus works.
bool ShowActive(QWidget *window);
