#include "platform/Thread.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>
#include <gtest/gtest.h>

namespace {

class FnThread : public TThread
{
public:
    explicit FnThread(std::function<void(FnThread &)> body) : FBody(std::move(body)) {}
    ~FnThread() override
    {
        Terminate();
        WaitFor();
    }
    using TThread::Sleep;
    using TThread::Synchronize;
    using TThread::WaitForWake;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(FnThread &)> FBody;
};

TEST(Thread, CreatedSuspendedAndSynchronizeRunsOnTheUiThread)
{
    std::atomic<bool> ran{false}, onUi{false}, result{false};
    FnThread t([&](FnThread &self) {
        result = self.Synchronize([&] { onUi = QThread::currentThread() == qApp->thread(); });
        ran = true;
    });
    QTest::qWait(20);
    EXPECT_FALSE(ran) << "ran before Start";
    t.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran.load(); }, 5000));
    EXPECT_TRUE(onUi);
    EXPECT_TRUE(result);
}

TEST(Thread, TerminateWakesAPendingSynchronizeThatThenNeverRuns)
{
    std::atomic<bool> inCall{false}, returned{false}, result{true}, fnRan{false};
    FnThread t([&](FnThread &self) {
        inCall = true;
        result = self.Synchronize([&] { fnRan = true; });
        returned = true;
    });
    t.Start();
    // The UI thread is not serving events here, so the call stays queued.
    while (!inCall)
        QThread::msleep(1);
    t.Terminate();
    t.WaitFor();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(result);
    QCoreApplication::processEvents();
    EXPECT_FALSE(fnRan) << "a cancelled call must not run later";
}

TEST(Thread, SleepAndWaitForWakeAreCutShort)
{
    std::atomic<int> wakeResult{-1};
    std::atomic<bool> sleptFully{true};
    FnThread t([&](FnThread &self) {
        wakeResult = self.WaitForWake(60000) ? 1 : 0;
        sleptFully = self.Sleep(60000);
    });
    t.Start();
    QThread::msleep(10);
    t.Wake();
    EXPECT_TRUE(QTest::qWaitFor([&] { return wakeResult.load() >= 0; }, 5000));
    EXPECT_EQ(wakeResult, 1);
    t.Terminate();
    t.WaitFor();
    EXPECT_FALSE(sleptFully);
}

TEST(Thread, FreeOnTerminateRunsOnTerminateOnTheUiThreadAndFreesItself)
{
    static std::atomic<int> destroyed{0};
    struct Counted : FnThread
    {
        using FnThread::FnThread;
        ~Counted() override { ++destroyed; }
    };
    std::atomic<bool> onTerminateOnUi{false};
    auto *t = new Counted([](FnThread &self) { self.Sleep(60000); });
    t->SetFreeOnTerminate(true);
    t->OnTerminate = [&] { onTerminateOnUi = QThread::currentThread() == qApp->thread(); };
    t->Start();
    t->Terminate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return destroyed.load() == 1; }, 5000));
    EXPECT_TRUE(onTerminateOnUi);
    EXPECT_TRUE(TThread::ShutdownAll(5000));
}

TEST(Thread, ShutdownAllEndsThreadsBlockedInWaitsAndCalls)
{
    std::atomic<int> ended{0};
    for (int i = 0; i < 3; ++i) {
        auto *t = new FnThread([&, i](FnThread &self) {
            while (!self.Terminated()) {
                if (i == 0)
                    self.Sleep(60000);
                else if (i == 1)
                    self.Synchronize([] {});
                else
                    self.WaitForWake(60000);
            }
            ++ended;
        });
        t->SetFreeOnTerminate(true);
        t->Start();
    }
    QThread::msleep(20);
    EXPECT_TRUE(TThread::ShutdownAll(10000));
    EXPECT_EQ(ended, 3);
    EXPECT_EQ(TThread::LiveCount(), 0);
}

TEST(Thread, AnExceptionInTheUiCallReachesTheThread)
{
    std::atomic<bool> caught{false}, done{false};
    FnThread t([&](FnThread &self) {
        try {
            self.Synchronize([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error &) {
            caught = true;
        }
        done = true;
    });
    t.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    EXPECT_TRUE(caught);
}

} // namespace
