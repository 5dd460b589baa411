#include "sequencer/uSequencerCompile.h"

#include "platform/Errors.h"
#include "sequencer/uSequencerRound.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Num - 1 kept modulo 65536, without overflowing on the most negative Num.
uint16_t RowIndexOf(int num)
{
    return static_cast<uint16_t>(static_cast<uint32_t>(num) - 1U);
}

// To - 1 as a jump target; a target below any row still means "the first
// command", so saturating keeps its meaning.
int TargetOf(int to)
{
    return ClampToInt(static_cast<long long>(to) - 1);
}

} // namespace

TSequenceCompiler::TSequenceCompiler(int maxAttValue, bool att2InUse, long long maxScriptCommands)
    : FMaxAttValue(maxAttValue), FTenths(IsTenthsMode(maxAttValue)), FAtt2InUse(att2InUse),
      FMaxScriptCommands(maxScriptCommands)
{
    FResult.BaieScripts = std::make_unique<TBaieScripts>();
}

void TSequenceCompiler::BeginScript()
{
    FCurrent = std::make_unique<TSequenceScript>();
}

void TSequenceCompiler::EndScript()
{
    if (FCurrent)
        FResult.Scripts.push_back(std::move(FCurrent));
}

bool TSequenceCompiler::SelectAttenuators(const QString &line)
{
    if (!FCurrent)
        BeginScript();
    bool result = true;
    if (line.contains(QLatin1String("att1")) || line.contains(QLatin1String("att01"))) {
        if (!FResult.BaieScripts->Att1Script())
            FResult.BaieScripts->SetAtt1Script(FCurrent.get());
        else
            result = false;
    }
    if (FAtt2InUse && (line.contains(QLatin1String("att2")) || line.contains(QLatin1String("att02")))) {
        if (!FResult.BaieScripts->Att2Script())
            FResult.BaieScripts->SetAtt2Script(FCurrent.get());
        else
            result = false;
    }
    return result;
}

long long SequenceRowCommandCount(const TSequenceRowFields &row)
{
    const long long d = row.Duration;
    switch (row.Action & 0xFF) {
    case 0: // taNoAction
        return std::max(d, 0LL);
    case 1: // taReset
    case 4: // taGoto
    case 5: // taRepeat
        return 1;
    case 2: // taRamp
        return std::max(d, 2LL);
    case 3: // taStep
        return std::max(d, 1LL);
    default:
        return 0;
    }
}

void TSequenceCompiler::CompileActionLine(const QString &line)
{
    CompileActionRow(SplitSequenceRow(line));
}

void TSequenceCompiler::CompileActionRow(const TSequenceRowFields &row)
{
    if (!FCurrent)
        BeginScript();
    TSequenceScript &script = *FCurrent;
    const uint16_t noL = RowIndexOf(row.Num);
    const int d = row.Duration;
    const auto pauses = [&](long long n) {
        for (long long i = 0; i < n; ++i)
            script.AddNewCmde(noL, tcNoAction, 0, 0);
    };
    switch (row.Action & 0xFF) {
    case 0:
        pauses(d);
        break;
    case 1:
        script.AddNewCmde(noL, tcValue, FMaxAttValue, 0);
        break;
    case 2: {
        // The step between ticks comes from the values as written, before
        // they are put on the grid.
        const double delta = static_cast<double>(row.To) - static_cast<double>(row.From);
        const int from = FTenths ? RoundToHalfDb(row.From) : row.From;
        const int to = FTenths ? RoundToHalfDb(row.To) : row.To;
        script.AddNewCmde(noL, tcValue, from, 0);
        int prev = from;
        const long long inner = static_cast<long long>(d) - 2;
        const double span = static_cast<double>(d) - 1;
        for (long long i = 1; i <= inner; ++i) {
            const double w = std::trunc(delta / span * static_cast<double>(i));
            int v = ClampToInt(static_cast<long long>(from) + static_cast<long long>(w));
            if (FTenths)
                v = RoundToHalfDb(v);
            if (v == prev)
                script.AddNewCmde(noL, tcNoAction, 0, 0);
            else
                script.AddNewCmde(noL, tcValue, v, 0);
            prev = v;
        }
        script.AddNewCmde(noL, tcValue, to, 0);
        break;
    }
    case 3:
        script.AddNewCmde(noL, tcValue, FTenths ? RoundToHalfDb(row.To) : row.To, 0);
        pauses(static_cast<long long>(d) - 1);
        break;
    case 4:
        script.AddNewCmde(noL, tcGoto, TargetOf(row.To), 0);
        break;
    case 5:
        script.AddNewCmde(noL, tcRepeat, TargetOf(row.To), d);
        break;
    default:
        break;
    }
}

bool TSequenceCompiler::AddSequenceText(const QByteArray &text, const QString &fileName)
{
    if (!FOk)
        return false;
    BeginScript();
    // Rows are gathered first so the script's size is known before a single
    // command is stored: one allocation, and a hand-made file that asks for
    // billions of ticks is refused instead of exhausting memory.
    std::vector<TSequenceRowFields> rows;
    long long total = 0;
    try {
        WalkSequenceText(text, true, [&](TSequenceSection section, const QString &line) {
            if (section == TSequenceSection::Selection) {
                FOk = SelectAttenuators(line);
                return FOk;
            }
            rows.push_back(SplitSequenceRow(line));
            total += SequenceRowCommandCount(rows.back());
            if (total > FMaxScriptCommands)
                throw EQuentaError(QStringLiteral("Sequence too long in \"%1\": more than %2 commands.")
                                       .arg(fileName)
                                       .arg(FMaxScriptCommands));
            return true;
        });
    } catch (...) {
        DropCurrentScript();
        throw;
    }
    if (!FOk) {
        // Nothing of a refused run may be used: no script, no slot.
        DropCurrentScript();
        FResult.Scripts.clear();
        *FResult.BaieScripts = TBaieScripts{};
        return false;
    }
    FCurrent->Reserve(static_cast<size_t>(total));
    for (const TSequenceRowFields &row : rows)
        CompileActionRow(row);
    EndScript();
    return true;
}

bool TSequenceCompiler::AddSequenceFile(const QString &fileName)
{
    return AddSequenceText(ReadSequenceFile(fileName), fileName);
}

void TSequenceCompiler::DropCurrentScript()
{
    TBaieScripts &baie = *FResult.BaieScripts;
    for (int slot = 1; slot <= 2; ++slot)
        if (baie.RackScript(slot) == FCurrent.get())
            baie.SetRackScript(slot, nullptr);
    FCurrent.reset();
}

TSequenceAnalysis TSequenceCompiler::Take()
{
    FResult.Ok = FOk;
    TSequenceAnalysis out = std::move(FResult);
    FResult = TSequenceAnalysis{};
    FResult.BaieScripts = std::make_unique<TBaieScripts>();
    FOk = true;
    return out;
}

TSequenceAnalysis AnalyzeSequenceFiles(const QStringList &fileNames, int maxAttValue, bool att2InUse)
{
    TSequenceCompiler compiler(maxAttValue, att2InUse);
    for (const QString &name : fileNames)
        if (!compiler.AddSequenceFile(name))
            break;
    return compiler.Take();
}
