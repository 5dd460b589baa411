// quenta sim: a simulated Quenta rack on a pseudo-terminal, for benches
// without hardware, demos and tests.
#include "tools/QuentaCommands.h"
#include "tools/RackSimulator.h"

#include <QDateTime>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include <poll.h>
#include <unistd.h>

namespace {

const char *const SimUsage =
    "Usage: quenta sim [options]\n"
    "\n"
    "Opens a pseudo-terminal, prints its path and answers like a Quenta rack.\n"
    "Every line received is logged with a time stamp on standard output.\n"
    "\n"
    "Options:\n"
    "  --atts 1|2        number of attenuators (2)\n"
    "  --max N           maximum attenuation, 1..999; above 110 counts tenths of a dB (935)\n"
    "  --id XXXXXX       six-character identifier (QSIM01)\n"
    "  --version TEXT    version reported (1.0)\n"
    "  --start min|max   state at power-on (max)\n"
    "  --link PATH       keep a symbolic link PATH to the current device\n"
    "  --silent          never answer\n"
    "  --wrong-idn       answer \"IDN?\" with a line that is neither identity nor mode\n"
    "  --wrong-sta       answer \"STA?\" with a line that is not a status reply\n"
    "  --noise           answer queries with bytes without CR LF\n"
    "  --pieces          send replies in small pieces with pauses\n"
    "\n"
    "Commands on standard input while running:\n"
    "  silent|wrong-idn|wrong-sta|noise|pieces on|off   switch a fault\n"
    "  say TEXT          send TEXT as a line nobody asked for\n"
    "  unplug            close the device (the path vanishes)\n"
    "  replug            open a new device (behind the same link)\n"
    "  state             print the attenuators, start state and identifier\n"
    "  quit              stop (so do SIGINT and SIGTERM; end of input does not)\n";

std::mutex OutMutex;

void Print(const QString &text)
{
    const QByteArray line = (QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + text + '\n')
                                .toLocal8Bit();
    std::lock_guard<std::mutex> l(OutMutex);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

int SignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    (void)!::write(SignalPipe[1], &c, 1);
}

bool *FaultByName(TRackSimFaults &f, const QString &name)
{
    if (name == QLatin1String("silent"))
        return &f.Silent;
    if (name == QLatin1String("wrong-idn"))
        return &f.WrongIdentity;
    if (name == QLatin1String("wrong-sta"))
        return &f.WrongStatus;
    if (name == QLatin1String("noise"))
        return &f.Noise;
    if (name == QLatin1String("pieces"))
        return &f.Pieces;
    return nullptr;
}

bool ParseOptions(int argc, char **argv, TRackSimOptions &o, QString &error)
{
    for (int i = 1; i < argc; ++i) {
        const QString opt = QString::fromLocal8Bit(argv[i]);
        bool *fault = opt.startsWith(QLatin1String("--")) ? FaultByName(o.Faults, opt.mid(2)) : nullptr;
        if (fault) {
            *fault = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = QStringLiteral("unknown option or missing value: %1").arg(opt);
            return false;
        }
        const QString value = QString::fromLocal8Bit(argv[++i]);
        bool ok = false;
        if (opt == QLatin1String("--atts")) {
            o.Atts = value.toInt(&ok);
            if (!ok || (o.Atts != 1 && o.Atts != 2))
                return error = QStringLiteral("--atts takes 1 or 2"), false;
        } else if (opt == QLatin1String("--max")) {
            o.Max = value.toInt(&ok);
            if (!ok || o.Max < 1 || o.Max > 999)
                return error = QStringLiteral("--max takes 1..999"), false;
        } else if (opt == QLatin1String("--id")) {
            if (value.size() != 6 || value.contains(QLatin1Char(',')) || value.toLatin1() != value.toUtf8())
                return error = QStringLiteral("--id takes six ASCII characters, no comma"), false;
            o.Id = value;
        } else if (opt == QLatin1String("--version")) {
            if (value.contains(QLatin1Char(',')) || value.size() > 32)
                return error = QStringLiteral("--version takes up to 32 characters, no comma"), false;
            o.Version = value;
        } else if (opt == QLatin1String("--start")) {
            if (value != QLatin1String("min") && value != QLatin1String("max"))
                return error = QStringLiteral("--start takes min or max"), false;
            o.StartAtt = value == QLatin1String("min") ? StartAttMin : StartAttMax;
        } else if (opt == QLatin1String("--link")) {
            o.LinkPath = value;
        } else {
            error = QStringLiteral("unknown option: %1").arg(opt);
            return false;
        }
    }
    return true;
}

// One command from standard input; false to stop.
bool RunCommand(TRackSimulator &sim, const QString &line)
{
    const QString cmd = line.section(QLatin1Char(' '), 0, 0);
    const QString arg = line.section(QLatin1Char(' '), 1).trimmed();
    TRackSimFaults faults = sim.Faults();
    if (bool *fault = FaultByName(faults, cmd)) {
        if (arg != QLatin1String("on") && arg != QLatin1String("off")) {
            Print(QStringLiteral("? %1 on|off").arg(cmd));
            return true;
        }
        *fault = arg == QLatin1String("on");
        sim.SetFaults(faults);
        Print(QStringLiteral("# %1 %2").arg(cmd, arg));
    } else if (cmd == QLatin1String("say")) {
        Print(sim.SendUnsolicited(arg.toLatin1()) ? QStringLiteral("> %1").arg(arg)
                                                  : QStringLiteral("# unplugged, nothing sent"));
    } else if (cmd == QLatin1String("unplug")) {
        sim.Unplug();
        Print(QStringLiteral("# unplugged"));
    } else if (cmd == QLatin1String("replug")) {
        QString error;
        if (sim.Replug(&error))
            Print(QStringLiteral("# device %1").arg(sim.DevicePath()));
        else
            Print(QStringLiteral("# replug failed: %1").arg(error));
    } else if (cmd == QLatin1String("state")) {
        Print(QStringLiteral("# id %1, attenuators %2 %3, start %4")
                  .arg(sim.Id())
                  .arg(sim.Att(0))
                  .arg(sim.Att(1))
                  .arg(sim.StartAtt() == StartAttMax ? QStringLiteral("max") : QStringLiteral("min")));
    } else if (cmd == QLatin1String("quit")) {
        return false;
    } else if (!cmd.isEmpty()) {
        Print(QStringLiteral("? unknown command: %1").arg(cmd));
    }
    return true;
}

} // namespace

int QuentaSimMain(int argc, char **argv)
{
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(SimUsage, stdout);
        return 0;
    }
    TRackSimOptions options;
    QString error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenta sim: %s\n\n%s", error.toLocal8Bit().constData(), SimUsage);
        return 2;
    }
    TRackSimulator sim(options);
    sim.OnLine = [](const TRackSimulator::TLine &line) {
        Print(QStringLiteral("< ") + QString::fromLatin1(line.Text));
    };
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "quenta sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    Print(QStringLiteral("# device %1").arg(sim.DevicePath()));
    if (!options.LinkPath.isEmpty())
        Print(QStringLiteral("# link %1").arg(options.LinkPath));

    if (::pipe(SignalPipe) != 0)
        return 1;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    std::string input;
    bool inputOpen = true;
    for (;;) {
        pollfd fds[2] = {{SignalPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int r = ::poll(fds, inputOpen ? 2 : 1, -1);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 || (fds[0].revents & POLLIN))
            break;
        if (!(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buf[1024];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            // End of input: a simulator run in the background keeps serving.
            inputOpen = false;
            continue;
        }
        input.append(buf, static_cast<size_t>(n));
        size_t nl;
        bool quit = false;
        while (!quit && (nl = input.find('\n')) != std::string::npos) {
            const QString line = QString::fromLocal8Bit(input.substr(0, nl)).trimmed();
            input.erase(0, nl + 1);
            quit = !RunCommand(sim, line);
        }
        if (quit)
            break;
        if (input.size() > 65536)
            input.clear();
    }
    sim.Stop();
    Print(QStringLiteral("# stopped"));
    return 0;
}
