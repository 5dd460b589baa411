#include "tests/widgets/WidgetTestSupport.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

int beeps = 0;
QStringList errors;

void CountBeep()
{
    ++beeps;
}

void RecordError(const QString &message)
{
    errors.append(message);
}

// The default report is a message box, which would wait for a click that
// never comes; an error no test expected fails the test instead.
void UnexpectedError(const QString &message)
{
    ADD_FAILURE() << "unexpected widget error: " << message.toStdString();
}

[[maybe_unused]] const bool unexpectedErrorsFail = (SetWidgetErrorHook(&UnexpectedError), true);

} // namespace

TFakeTimer::TFakeTimer(TFakeClock *clock, QObject *parent) : TWidgetTimer(parent), FClock(clock) {}

void TFakeTimer::SetInterval(int ms)
{
    FInterval = ms;
    if (FActive)
        FDue = FClock->FNow + qMax(1, FInterval);
}

void TFakeTimer::Start()
{
    FActive = true;
    FDue = FClock->FNow + qMax(1, FInterval);
}

TFakeClock::TFakeClock()
{
    FOldFactory = SetWidgetTimerFactory([this](QObject *parent) {
        auto *timer = new TFakeTimer(this, parent);
        FTimers.emplace_back(timer);
        return timer;
    });
}

TFakeClock::~TFakeClock()
{
    SetWidgetTimerFactory(FOldFactory);
}

void TFakeClock::Advance(int ms)
{
    const qint64 target = FNow + ms;
    for (;;) {
        TFakeTimer *next = nullptr;
        for (const auto &timer : FTimers)
            if (timer && timer->FActive && timer->FDue <= target && (!next || timer->FDue < next->FDue))
                next = timer;
        if (!next)
            break;
        FNow = next->FDue;
        if (next->FSingleShot)
            next->FActive = false;
        else
            next->FDue = FNow + qMax(1, next->FInterval);
        emit next->Tick();
    }
    FNow = target;
}

TBeepCounter::TBeepCounter() : FOld(SetBeepHook(&CountBeep))
{
    beeps = 0;
}

TBeepCounter::~TBeepCounter()
{
    SetBeepHook(FOld);
}

int TBeepCounter::Count() const
{
    return beeps;
}

TErrorRecorder::TErrorRecorder() : FOld(SetWidgetErrorHook(&RecordError))
{
    errors.clear();
}

TErrorRecorder::~TErrorRecorder()
{
    SetWidgetErrorHook(FOld);
}

QStringList TErrorRecorder::Messages() const
{
    return errors;
}

bool ShowActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window, 10000);
}
