// A program whose worker is inside a UI call or a long wait when the event
// loop ends: it must exit 0, promptly, without a crash.
#include "platform/Thread.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<int> calls{0};

class Busy : public TThread
{
public:
    explicit Busy(bool sleeper) : FSleeper(sleeper) {}

protected:
    void Execute() override
    {
        while (!Terminated()) {
            if (FSleeper)
                Sleep(600000);
            else
                Synchronize([] { ++calls; }); // the UI side of each call
        }
    }

private:
    bool FSleeper;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    for (bool sleeper : {false, true}) {
        auto *t = new Busy(sleeper);
        t->SetFreeOnTerminate(true);
        t->OnTerminate = [] { ++calls; };
        t->Start();
    }
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] {
        // Joining here, with the loop no longer serving calls, is what
        // deadlocks a plain blocking queued call.
        if (!TThread::ShutdownAll(10000)) {
            std::fputs("threads still alive\n", stderr);
            std::_Exit(3);
        }
    });
    QTimer::singleShot(200, &app, [] { QCoreApplication::quit(); });
    const int rc = app.exec();
    std::printf("calls served: %d\n", calls.load());
    return rc;
}
