// Program entry of the Quenta Driver.
#include "app/Main.h"
#include "config/misc.h"
#include "config/miscGui.h"
#include "platform/Thread.h"
#include "tools/RackSimulator.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char *const HelpText =
    "Usage: quenta-driver [options]\n"
    "Controls one Quenta attenuator rack over its serial line.\n"
    "\n"
    "Options:\n"
    "  --simulate       start a simulated rack inside the program and point COM1 at it\n"
    "  --atts 1|2       attenuators of the simulated rack (default 2)\n"
    "  --max N          maximum of the simulated rack (default 935: tenths of a dB)\n"
    "  --version        print the program's title and version, then exit\n"
    "  --help           print this help, then exit\n";

struct TDriverArgs
{
    bool Simulate = false;
    int Atts = 2;
    int Max = 935;
};

bool ParseNumber(const QString &text, int low, int high, int &value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < low || v > high)
        return false;
    value = v;
    return true;
}

// Qt has taken its own options out of the list already.
bool ParseArgs(const QStringList &args, TDriverArgs &out, QString &error)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--simulate")) {
            out.Simulate = true;
        } else if (a == QLatin1String("--atts") || a == QLatin1String("--max")) {
            if (i + 1 >= args.size()) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            const QString v = args[++i];
            const bool ok = a == QLatin1String("--atts") ? ParseNumber(v, 1, 2, out.Atts)
                                                         : ParseNumber(v, 1, 99999, out.Max);
            if (!ok) {
                error = QStringLiteral("bad value for %1: %2").arg(a, v);
                return false;
            }
        } else {
            error = QStringLiteral("unknown option: ") + a;
            return false;
        }
    }
    return true;
}

int SignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &c, 1);
}

// Ctrl+C and kill end the program through its normal exit, so the settings
// are written and the simulated rack's link is removed.
void QuitOnSignals(QObject *owner)
{
    if (::pipe(SignalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(SignalPipe[0], &c, 1);
        // Nobody may be there to close a message box: errors from here on
        // (a settings file that cannot be written) go to standard error.
        SetErrorDisplay([](const QString &message) {
            std::fprintf(stderr, "quenta-driver: %s\n", message.toLocal8Bit().constData());
        });
        // A modal dialog (the start-up one too) would hold the program.
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            QCoreApplication core(argc, argv);
            std::printf("%s\n", GetVersionTitle().toUtf8().constData());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(HelpText, stdout);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex Quenta Driver 1 Ways"));

    TDriverArgs args;
    QString error;
    if (!ParseArgs(QCoreApplication::arguments(), args, error)) {
        std::fprintf(stderr, "quenta-driver: %s\n%s", error.toLocal8Bit().constData(), HelpText);
        return 2;
    }

    QuitOnSignals(&app);
    TMainOptions options;
    std::unique_ptr<TRackSimulator> sim;
    if (args.Simulate) {
        TRackSimOptions simOptions;
        simOptions.Atts = args.Atts;
        simOptions.Max = args.Max;
        simOptions.Id = QStringLiteral("ABC123");
        // A stable name, so the worker finds the rack again after a replug.
        simOptions.LinkPath = QDir::temp().filePath(QStringLiteral("quenta-sim-%1").arg(QCoreApplication::applicationPid()));
        sim = std::make_unique<TRackSimulator>(simOptions);
        if (!sim->Start(&error)) {
            std::fprintf(stderr, "quenta-driver: cannot start the simulated rack: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        options.PortOverrides.Set(1, sim->PortPath());
    }

    auto window = std::make_unique<TMainForm>(options);
    window->show();
    const int rc = app.exec();
    window.reset();
    // The worker may be in the middle of a wait: end it before the rack goes.
    TThread::ShutdownAll(2000);
    if (sim)
        sim->Stop();
    return rc;
}
