// quenta seq: prints, tick by tick, the rack command lines that a run of the
// given sequence files would send, so a sequence can be checked off the rack.
#include "tools/QuentaCommands.h"

#include "platform/Errors.h"
#include "sequencer/uSequencerCompile.h"
#include "sequencer/uSequencerLine.h"

#include <QString>
#include <QStringList>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{

const char *const SeqUsage = "Usage: quenta seq [--max N] [--atts 1|2] [--ticks N] FILE...\n"
                             "\n"
                             "Compiles the sequence files as a run would, all selected, in the given\n"
                             "order, and prints one line per tick: the tick number and the rack command\n"
                             "line of that tick, or \"-\" when the tick sends nothing. Stops when every\n"
                             "script that drives an attenuator has ended, or after --ticks ticks.\n"
                             "\n"
                             "  --max N     the rack's maximum attenuation (default 935: tenths of a dB;\n"
                             "              110 or less: whole dB)\n"
                             "  --atts 1|2  attenuators in use (default 2)\n"
                             "  --ticks N   the most ticks to print (default 10000)\n"
                             "\n"
                             "Exit status: 0 done, 1 attenuator conflict, 2 bad arguments or a file\n"
                             "that cannot be read.\n";

bool ParseCount(const char *text, int &value)
{
    if (!text || !*text)
        return false;
    long long v = 0;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > INT_MAX)
            return false;
    }
    value = static_cast<int>(v);
    return true;
}

int UsageError(const char *message, const char *arg)
{
    std::fprintf(stderr, "quenta seq: %s%s\n\n%s", message, arg ? arg : "", SeqUsage);
    return 2;
}

} // namespace

int QuentaSeqMain(int argc, char **argv)
{
    int maxAtt = 935;
    int atts = 2;
    int ticks = 10000;
    QStringList files;
    bool optionsDone = false;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (!optionsDone && (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)) {
            std::fputs(SeqUsage, stdout);
            return 0;
        }
        if (!optionsDone && std::strcmp(arg, "--") == 0) {
            optionsDone = true;
            continue;
        }
        if (!optionsDone &&
            (std::strcmp(arg, "--max") == 0 || std::strcmp(arg, "--atts") == 0 || std::strcmp(arg, "--ticks") == 0)) {
            if (i + 1 >= argc)
                return UsageError("missing value after ", arg);
            int value = 0;
            if (!ParseCount(argv[i + 1], value))
                return UsageError("not a whole number: ", argv[i + 1]);
            if (std::strcmp(arg, "--max") == 0) {
                maxAtt = value;
            } else if (std::strcmp(arg, "--ticks") == 0) {
                ticks = value;
            } else {
                if (value != 1 && value != 2)
                    return UsageError("--atts takes 1 or 2, not ", argv[i + 1]);
                atts = value;
            }
            ++i;
            continue;
        }
        if (!optionsDone && arg[0] == '-' && arg[1] != '\0')
            return UsageError("unknown option ", arg);
        files << QString::fromLocal8Bit(arg);
    }
    if (files.isEmpty())
        return UsageError("no sequence file given", nullptr);

    const bool att2InUse = atts == 2;
    TSequenceAnalysis run;
    try {
        run = AnalyzeSequenceFiles(files, maxAtt, att2InUse);
    } catch (const EQuentaError &e) {
        std::fprintf(stderr, "quenta seq: %s\n", e.what());
        return 2;
    }
    if (!run.Ok) {
        std::fprintf(stderr, "%s\n", AttenuatorsInterferencesText);
        return 1;
    }
    std::string out;
    for (long long tick = 1; tick <= ticks; ++tick) {
        for (auto &script : run.Scripts)
            script->NextAttValue();
        bool done = false;
        const QString line = BuildRackLine(*run.BaieScripts, att2InUse, done);
        if (done)
            break;
        out += std::to_string(tick);
        out += ' ';
        out += line.isEmpty() ? std::string("-") : line.toStdString();
        out += '\n';
        if (out.size() > 1 << 16) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
}
