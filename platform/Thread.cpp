#include "platform/Thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <exception>
#include <set>
#include <vector>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Registry
{
    std::mutex m;
    std::condition_variable cv;
    std::set<TThread *> live;
    std::vector<std::thread> finished; // handles of self-freed threads, joined later
    std::atomic<bool> shuttingDown{false};
};

Registry &registry()
{
    // Never destroyed: threads may still touch it while statics are torn down.
    static Registry *r = new Registry;
    return *r;
}

bool OnUiThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

struct TThread::SyncCall
{
    enum State { Pending, Running, Done, Cancelled };
    std::mutex m;
    std::condition_variable cv;
    State state = Pending;
    std::function<void()> fn;
    std::exception_ptr error;
};

TThread::TThread() = default;

TThread::~TThread()
{
    Terminate();
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach();
        else
            FThread.join();
    }
}

void TThread::Start()
{
    if (FStarted.exchange(true))
        return;
    Registry &r = registry();
    std::vector<std::thread> done;
    {
        std::lock_guard<std::mutex> l(r.m);
        r.live.insert(this);
        done.swap(r.finished);
    }
    // Reap self-freed threads so their handles do not pile up over many runs.
    for (std::thread &t : done)
        if (t.joinable())
            t.join();
    FThread = std::thread([this] { Run(); });
}

void TThread::Terminate()
{
    FTerminated = true;
    std::shared_ptr<SyncCall> call;
    {
        std::lock_guard<std::mutex> l(FWaitMutex);
        call = FPendingCall;
    }
    FWaitCond.notify_all();
    if (call) {
        std::lock_guard<std::mutex> l(call->m);
        call->cv.notify_all();
    }
}

void TThread::WaitFor()
{
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

void TThread::SetPriority(TThreadPriority value)
{
    FPriority = value;
    if (FStarted && !FFinished && FThread.get_id() == std::this_thread::get_id())
        ApplyPriority();
}

void TThread::ApplyPriority()
{
    static const int niceOf[] = {19, 10, 5, 0, -5, -10, -15};
    // Best effort: raising priority needs privileges; a refusal changes nothing.
    const pid_t tid = static_cast<pid_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), niceOf[static_cast<int>(FPriority)]);
}

void TThread::Wake()
{
    {
        std::lock_guard<std::mutex> l(FWaitMutex);
        FWoken = true;
    }
    FWaitCond.notify_all();
}

bool TThread::Sleep(int ms)
{
    std::unique_lock<std::mutex> l(FWaitMutex);
    return !FWaitCond.wait_for(l, std::chrono::milliseconds(ms > 0 ? ms : 0), [this] { return FTerminated.load(); });
}

bool TThread::WaitForWake(int ms)
{
    std::unique_lock<std::mutex> l(FWaitMutex);
    const bool woken = FWaitCond.wait_for(l, std::chrono::milliseconds(ms > 0 ? ms : 0),
                                          [this] { return FWoken || FTerminated.load(); });
    const bool byWake = FWoken;
    FWoken = false;
    return woken && byWake;
}

bool TThread::Synchronize(const std::function<void()> &fn)
{
    return SyncImpl(fn, true);
}

bool TThread::SyncImpl(const std::function<void()> &fn, bool cancelOnTerminate)
{
    if (OnUiThread()) {
        fn();
        return true;
    }
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || registry().shuttingDown)
        return false;

    auto call = std::make_shared<SyncCall>();
    call->fn = fn;
    {
        std::lock_guard<std::mutex> l(FWaitMutex);
        FPendingCall = call;
    }
    QMetaObject::invokeMethod(
        app,
        [call] {
            {
                std::lock_guard<std::mutex> l(call->m);
                if (call->state != SyncCall::Pending)
                    return;
                call->state = SyncCall::Running;
            }
            std::exception_ptr error;
            try {
                call->fn();
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard<std::mutex> l(call->m);
            call->error = error;
            call->state = SyncCall::Done;
            call->cv.notify_all();
        },
        Qt::QueuedConnection);

    bool ran = false;
    {
        std::unique_lock<std::mutex> l(call->m);
        for (;;) {
            if (call->state == SyncCall::Done) {
                ran = true;
                break;
            }
            const bool cancel = registry().shuttingDown || (cancelOnTerminate && FTerminated)
                                || QCoreApplication::closingDown();
            if (call->state == SyncCall::Pending && cancel) {
                call->state = SyncCall::Cancelled;
                break;
            }
            // The bounded wait also catches an application that went away.
            call->cv.wait_for(l, std::chrono::milliseconds(100));
        }
    }
    {
        std::lock_guard<std::mutex> l(FWaitMutex);
        FPendingCall.reset();
    }
    if (ran && call->error)
        std::rethrow_exception(call->error);
    return ran;
}

void TThread::Run()
{
    ApplyPriority();
    try {
        Execute();
    } catch (...) {
        // An exception must not take the whole program down with the thread.
    }
    if (OnTerminate) {
        try {
            SyncImpl(OnTerminate, false);
        } catch (...) {
        }
    }
    FFinished = true;
    Registry &r = registry();
    const bool selfFree = FFreeOnTerminate;
    {
        std::lock_guard<std::mutex> l(r.m);
        r.live.erase(this);
        if (selfFree)
            r.finished.push_back(std::move(FThread));
    }
    r.cv.notify_all();
    if (selfFree)
        delete this;
}

bool TThread::ShutdownAll(int timeoutMs)
{
    Registry &r = registry();
    r.shuttingDown = true;
    std::vector<std::thread> toJoin;
    bool allDone;
    {
        std::unique_lock<std::mutex> l(r.m);
        for (TThread *t : r.live)
            t->Terminate();
        allDone = r.cv.wait_for(l, std::chrono::milliseconds(timeoutMs), [&r] { return r.live.empty(); });
        toJoin.swap(r.finished);
    }
    // These have left Execute and only have their own deletion to finish.
    for (std::thread &t : toJoin)
        if (t.joinable())
            t.join();
    r.shuttingDown = false;
    return allDone;
}

int TThread::LiveCount()
{
    Registry &r = registry();
    std::lock_guard<std::mutex> l(r.m);
    return static_cast<int>(r.live.size());
}
