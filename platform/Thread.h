#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A worker thread in the style the rack and sequencer code expect: created
// suspended, asked (not forced) to stop, able to run code on the UI thread and
// wait for it, and optionally freeing itself when it ends.
//
// Every wait inside the thread (Sleep, WaitForWake, Synchronize) wakes on
// Terminate, and ShutdownAll() ends all threads before the objects they call
// into are destroyed, so program exit never deadlocks or crashes.
class TThread
{
public:
    TThread();
    virtual ~TThread();
    TThread(const TThread &) = delete;
    TThread &operator=(const TThread &) = delete;

    // Begins Execute() on a new thread; a second call does nothing.
    void Start();
    // Asks the thread to stop: sets Terminated and wakes every wait.
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    // Blocks until Execute() has returned (never from the thread itself).
    // Not for self-freeing threads.
    void WaitFor();
    bool Finished() const { return FFinished.load(); }

    bool FreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority value);
    // Runs on the UI thread after Execute() returns (skipped at shutdown).
    std::function<void()> OnTerminate;

    // Wakes a WaitForWake() early; safe from any thread.
    void Wake();

    // Terminates every live thread and waits (up to timeoutMs) for all of
    // them to finish. Call from the UI thread before tearing the program down.
    static bool ShutdownAll(int timeoutMs = 5000);
    // Number of threads whose Execute() has not returned yet.
    static int LiveCount();

protected:
    virtual void Execute() = 0;

    // Runs fn on the UI thread and waits for it. Returns false when fn was
    // never run: the thread was terminated first, or there is no UI thread.
    // Called on the UI thread itself, fn runs at once.
    bool Synchronize(const std::function<void()> &fn);
    // Sleeps ms milliseconds or until Terminate; false if cut short.
    bool Sleep(int ms);
    // Waits ms milliseconds, or until Wake() or Terminate; true if woken.
    bool WaitForWake(int ms);

private:
    void Run();
    bool SyncImpl(const std::function<void()> &fn, bool cancelOnTerminate);
    void ApplyPriority();

    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FFinished{false};
    bool FFreeOnTerminate = false;
    TThreadPriority FPriority = TThreadPriority::tpNormal;
    std::mutex FWaitMutex;
    std::condition_variable FWaitCond;
    bool FWoken = false;
    struct SyncCall;
    std::shared_ptr<SyncCall> FPendingCall; // guarded by FWaitMutex
};
