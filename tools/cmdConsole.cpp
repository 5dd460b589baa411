// quenta console: the rack worker without windows. Reports go to standard
// output, lines from standard input are handed to the worker one by one.
#include "tools/QuentaCommands.h"

#include "rack/uRadioRackV2.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMetaObject>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <deque>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

const char *const ConsoleUsage =
    "Usage: quenta console --port PORT [options]\n"
    "\n"
    "Runs the rack worker on PORT and prints each report with a time stamp.\n"
    "Each line of standard input (\"ATT 0 300\", \"READATT\", \"REFRESH\", ...)\n"
    "is handed to the worker once it has taken the previous one. At end of\n"
    "input it waits for the last line to be taken, or for the rack to be\n"
    "absent, then exits: 0 when every line was taken, 1 otherwise.\n"
    "\n"
    "Options:\n"
    "  --port PORT       COMn, or a device path such as /dev/ttyACM0\n"
    "  --map COMn=PATH   open PATH for COMn (default /dev/ttyUSB<n-1>); repeatable\n"
    "  --scale F         multiply every pause and time-out by F (tests, demos)\n";

void Print(const QString &text)
{
    const QByteArray line = (QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + text + '\n')
                                .toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

class TConsoleHost : public IRadioRackHost
{
public:
    void RadioRackSetMOD(TRadioRackThread *Sender, TMode Mode) override
    {
        LastMode = Mode;
        ++Reports;
        if (Mode == SerialError)
            Print(ModeName(Mode) + QStringLiteral(": ") + Sender->LastErrorDesc());
        else
            Print(ModeName(Mode));
        if (OnReport)
            OnReport();
    }
    void RadioRackSetSTA(TRadioRackThread *, const QString &Text) override { Print(Text); }

    std::optional<TMode> LastMode;
    int Reports = 0; // mode reports so far
    std::function<void()> OnReport;
};

// Hands lines over one at a time and decides when to stop.
class TFeeder
{
public:
    TFeeder(TRadioRackThread &rack, TConsoleHost &host)
        : FRack(rack)
        , FHost(host)
    {
    }

    void AddLine(const QString &line)
    {
        if (ClassifyActionStr(line) == TActionKind::Ignore) {
            Print(QStringLiteral("ignored: ") + line);
            return;
        }
        FQueue.push_back(line);
        Pump();
    }
    void EndOfInput()
    {
        FEof = true;
        Pump();
    }

    void Pump()
    {
        if (FDone)
            return;
        if (FHanded && FRack.ActionStr().isEmpty()) {
            const TActionKind kind = ClassifyActionStr(*FHanded);
            if (kind == TActionKind::Refresh || kind == TActionKind::ReConfig)
                FReconnectAt = FHost.Reports;
            FHanded.reset();
        }
        if (!FHanded && !FQueue.empty()) {
            FHanded = FQueue.front();
            FQueue.pop_front();
            FHandedAt = FHost.Reports;
            FRack.SetActionStr(*FHanded);
        }
        if (!FEof)
            return;
        if (!FHanded && FQueue.empty())
            Finish(0);
        else if (RackAbsent())
            Finish(1);
    }

private:
    // Absent only by a report made while the line waited, and not by the
    // one that closes a reconnection the input itself asked for.
    bool RackAbsent() const
    {
        if (FHost.LastMode != NoRack && FHost.LastMode != SerialError)
            return false;
        if (FHost.Reports <= FHandedAt)
            return false;
        return !(FHost.LastMode == NoRack && FHost.Reports == FReconnectAt + 1);
    }

    void Finish(int code)
    {
        FDone = true;
        if (FHanded)
            Print(QStringLiteral("not taken: ") + *FHanded);
        for (const QString &line : FQueue)
            Print(QStringLiteral("not taken: ") + line);
        FRack.Terminate();
        FRack.WaitFor();
        QCoreApplication::exit(code);
    }

    TRadioRackThread &FRack;
    TConsoleHost &FHost;
    std::deque<QString> FQueue;
    std::optional<QString> FHanded;
    int FHandedAt = 0;
    int FReconnectAt = -2;
    bool FEof = false;
    bool FDone = false;
};

} // namespace

int QuentaConsoleMain(int argc, char **argv)
{
    QString port;
    TPortMap map;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        const char *opt = argv[i];
        if (std::strcmp(opt, "--help") == 0 || std::strcmp(opt, "-h") == 0) {
            std::fputs(ConsoleUsage, stdout);
            return 0;
        }
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(opt, "--port") == 0 && hasValue) {
            port = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(opt, "--map") == 0 && hasValue) {
            if (!map.AddOption(QString::fromLocal8Bit(argv[++i]))) {
                std::fprintf(stderr, "quenta console: --map takes COMn=PATH (n >= 1)\n");
                return 2;
            }
        } else if (std::strcmp(opt, "--scale") == 0 && hasValue) {
            bool ok = false;
            scale = QString::fromLocal8Bit(argv[++i]).toDouble(&ok);
            if (!ok || scale <= 0 || scale > 10) {
                std::fprintf(stderr, "quenta console: --scale takes a factor above 0, at most 10\n");
                return 2;
            }
        } else {
            std::fprintf(stderr, "quenta console: unknown option or missing value: %s\n\n%s", opt, ConsoleUsage);
            return 2;
        }
    }
    if (port.isEmpty()) {
        std::fprintf(stderr, "quenta console: --port is required\n\n%s", ConsoleUsage);
        return 2;
    }

    QCoreApplication app(argc, argv);
    TConsoleHost host;
    auto rack = std::make_unique<TRadioRackThread>(&host, TRadioRackTimings().Scaled(scale));
    rack->SetFreeOnTerminate(false);
    rack->SetTargetPort(port);
    rack->SetPortMap(map);
    rack->SetRackName(QStringLiteral("console"));
    TFeeder feeder(*rack, host);
    // Not from inside the report: the worker waits for it to return, and
    // finishing waits for the worker.
    host.OnReport = [&app, &feeder] {
        QMetaObject::invokeMethod(&app, [&feeder] { feeder.Pump(); }, Qt::QueuedConnection);
    };

    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, &app, [&feeder] { feeder.Pump(); });
    pump.start(5);

    std::thread reader([&app, &feeder] {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const QString text = QString::fromLocal8Bit(line);
            QMetaObject::invokeMethod(&app, [&feeder, text] { feeder.AddLine(text); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(&app, [&feeder] { feeder.EndOfInput(); }, Qt::QueuedConnection);
    });

    rack->Start();
    const int code = app.exec();
    reader.join();
    rack.reset();
    return code;
}
