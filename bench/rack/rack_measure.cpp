// Measures the rack worker against the simulated rack: the CPU an idle,
// connected worker costs (worker and UI thread together), and the latency
// from writing ActionStr to the command's last byte at the rack, and how
// long a worker in the middle of a reply wait takes to end on Terminate.
//
//   rack_measure [idle-seconds] [latency-samples]
#include "rack/uRadioRackV2.h"
#include "tools/RackSimulator.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

class TQuietHost : public IRadioRackHost
{
public:
    void RadioRackSetMOD(TRadioRackThread *, TMode) override {}
    void RadioRackSetSTA(TRadioRackThread *, const QString &) override { ++Status; }
    int Status = 0;
};

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool RunUntil(const std::function<bool()> &done, int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || Clock::now() > end)
            loop.quit();
    });
    check.start(1);
    loop.exec();
    return done();
}

struct TResult
{
    double IdleCpuPercent = 0;
    double P50 = 0, P99 = 0, Max = 0;
};

bool Measure(bool wakeOnAction, int idleSeconds, int samples, TResult &r)
{
    TRackSimulator sim;
    if (!sim.Start())
        return false;
    TQuietHost host;
    TRadioRackTimings timings;
    timings.WakeOnAction = wakeOnAction;
    TRadioRackThread rack(&host, timings);
    rack.SetFreeOnTerminate(false);
    rack.SetTargetPort(sim.PortPath());
    rack.Start();
    if (!RunUntil([&] { return host.Status > 0; }, 15000))
        return false;

    RunFor(300);
    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    RunFor(idleSeconds * 1000);
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    r.IdleCpuPercent = 100.0 * (CpuSeconds() - cpu0) / wall;

    std::mt19937 rnd(42);
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        // Out of step with any polling period.
        RunFor(static_cast<int>(rnd() % 20));
        char cmd[32];
        std::snprintf(cmd, sizeof cmd, "ATT 0 %.3d", i % 1000);
        const size_t before = sim.ReceivedLines().size();
        const auto start = Clock::now();
        rack.SetActionStr(QString::fromLatin1(cmd));
        if (!RunUntil([&] { return sim.ReceivedLines().size() > before; }, 5000))
            return false;
        const auto at = sim.ReceivedLines().back().At;
        ms.push_back(std::chrono::duration<double, std::milli>(at - start).count());
    }
    std::sort(ms.begin(), ms.end());
    r.P50 = ms[ms.size() / 2];
    r.P99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    r.Max = ms.back();
    rack.Terminate();
    rack.WaitFor();
    return true;
}

// Terminate while the worker waits for a reply from a silent rack.
bool MeasureTermination(int runs, double &maxMs)
{
    TRackSimOptions options;
    options.Faults.Silent = true;
    TRackSimulator sim(options);
    if (!sim.Start())
        return false;
    maxMs = 0;
    for (int i = 0; i < runs; ++i) {
        TQuietHost host;
        TRadioRackThread rack(&host);
        rack.SetFreeOnTerminate(false);
        rack.SetTargetPort(sim.PortPath());
        const size_t before = sim.ReceivedLines().size();
        rack.Start();
        if (!RunUntil([&] { return sim.ReceivedLines().size() > before; }, 15000))
            return false;
        RunFor(200 + 150 * i % 2000); // somewhere inside the 5 s wait
        const auto start = Clock::now();
        rack.Terminate();
        rack.WaitFor();
        maxMs = std::max(maxMs, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int samples = argc > 2 ? std::max(10, std::atoi(argv[2])) : 300;
    std::printf("%-22s %14s %10s %10s %10s\n", "idle strategy", "idle CPU %core", "p50 ms", "p99 ms", "max ms");
    for (bool wake : {true, false}) {
        TResult r;
        if (!Measure(wake, idleSeconds, samples, r)) {
            std::fprintf(stderr, "rack_measure: the worker did not come up against the simulated rack\n");
            return 1;
        }
        std::printf("%-22s %14.2f %10.2f %10.2f %10.2f\n", wake ? "wake on ActionStr" : "intake every 10 ms",
                    r.IdleCpuPercent, r.P50, r.P99, r.Max);
    }
    double maxMs = 0;
    if (!MeasureTermination(10, maxMs)) {
        std::fprintf(stderr, "rack_measure: the worker did not query the simulated rack\n");
        return 1;
    }
    std::printf("termination during a reply wait: port released within %.1f ms (max of 10)\n", maxMs);
    return 0;
}
