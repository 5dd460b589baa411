#include "sequencer/uSequencerScript.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace
{

constexpr int RowIndexCount = 65536; // NoL is 16 bits

} // namespace

QString FormatAttValue(int value)
{
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%.3d", value);
    return QString::fromLatin1(text, n);
}

void TSequenceScript::AddNewCmde(uint16_t NoL, TScriptCmde aCmde, int aValue, int aCount)
{
    FActionList.push_back(TSeqCmde{NoL, aCmde, aValue, aCount, aCount});
    FLineIndex.clear();
}

void TSequenceScript::BuildLineIndex() const
{
    const int count = Count();
    // Rows above the highest one in use all map to Count: no need to store them.
    int top = 0;
    for (const TSeqCmde &c : FActionList)
        top = std::max(top, static_cast<int>(c.NoL));
    FLineIndex.assign(static_cast<size_t>(top) + 2, count);
    for (int i = count - 1; i >= 0; --i)
        FLineIndex[FActionList[static_cast<size_t>(i)].NoL] = i;
    // The first command at or above a row is the earliest first command of
    // that row or any higher one.
    for (int row = top; row >= 0; --row)
        FLineIndex[static_cast<size_t>(row)] =
            std::min(FLineIndex[static_cast<size_t>(row)], FLineIndex[static_cast<size_t>(row) + 1]);
}

int TSequenceScript::IndexOfLine(int row) const
{
    if (FActionList.empty() || row >= RowIndexCount)
        return Count();
    if (row <= 0)
        return 0;
    if (FLineIndex.empty())
        BuildLineIndex();
    return static_cast<size_t>(row) < FLineIndex.size() ? FLineIndex[static_cast<size_t>(row)] : Count();
}

void TSequenceScript::NextAttValue()
{
    // Jumps take no tick, so one call follows them in a loop, never by
    // recursion. Two kinds of jump chain must not keep that loop going:
    //
    // Gotos alone. We remember the gotos executed since the last repeat that
    // counted down. A goto executed a second time before another repeat
    // counts down can only loop for ever, since nothing else has changed; the
    // script ends there (Terminated set, AttValue unchanged) and the run goes
    // on without it. A cap on the number of jumps would instead end legal
    // scripts, such as a goto into a repeat whose block holds that goto.
    //
    // Repeats counting down. Between two countdowns only gotos run, so the
    // repeat that counts down next depends only on the one before. When a
    // repeat counts down a second time in this call, the countdowns since its
    // first one form a lap that lowers each of them by one; the laps before
    // the first count that runs out are taken at once instead of one by one.
    std::unordered_set<int> gotos;
    std::vector<int> countdowns;
    std::unordered_map<int, size_t> countdownAt;
    for (;;) {
        if (FActIndex >= Count()) {
            FTerminated = true;
            return;
        }
        TSeqCmde &cmde = FActionList[static_cast<size_t>(FActIndex)];
        switch (cmde.Cmde) {
        case tcNoAction:
            FAttValue.clear();
            ++FActIndex;
            return;
        case tcValue:
            FAttValue = FormatAttValue(cmde.Value);
            ++FActIndex;
            return;
        case tcGoto:
            if (!gotos.insert(FActIndex).second) {
                FTerminated = true;
                FActIndex = Count();
                return;
            }
            FActIndex = IndexOfLine(cmde.Value);
            break;
        case tcRepeat: {
            if (cmde.RepeatLeft > 0) {
                const auto seen = countdownAt.find(FActIndex);
                if (seen != countdownAt.end()) {
                    int laps = INT_MAX;
                    for (size_t k = seen->second; k < countdowns.size(); ++k)
                        laps = std::min(laps, FActionList[static_cast<size_t>(countdowns[k])].RepeatLeft);
                    for (size_t k = seen->second; k < countdowns.size(); ++k)
                        FActionList[static_cast<size_t>(countdowns[k])].RepeatLeft -= laps;
                    countdowns.clear();
                    countdownAt.clear();
                }
            }
            if (cmde.RepeatLeft > 0) {
                --cmde.RepeatLeft;
                gotos.clear();
                countdownAt.emplace(FActIndex, countdowns.size());
                countdowns.push_back(FActIndex);
                FActIndex = IndexOfLine(cmde.Value);
                break;
            }
            cmde.RepeatLeft = cmde.RepeatInit;
            FAttValue.clear();
            ++FActIndex;
            return;
        }
        default:
            return;
        }
    }
}

QString TSequenceScript::GetDebugValue(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    const TSeqCmde &c = FActionList[static_cast<size_t>(index)];
    switch (c.Cmde) {
    case tcNoAction:
        return QString::asprintf("%.4d : [%.2d] no action", index, c.NoL);
    case tcValue:
        return QString::asprintf("%.4d : [%.2d] value %.3d", index, c.NoL, c.Value);
    case tcGoto:
        return QString::asprintf("%.4d : [%.2d] goto   %d", index, c.NoL, IndexOfLine(c.Value));
    case tcRepeat:
        return QString::asprintf("%.4d : [%.2d] repeat %d, count %lld", index, c.NoL, IndexOfLine(c.Value),
                                 static_cast<long long>(c.RepeatLeft) - 1);
    }
    return QString::asprintf("%.4d : [%.2d] ?????", index, c.NoL);
}

TSequenceScript *TBaieScripts::RackScript(int slot) const
{
    return slot == 1 || slot == 2 ? FRackScripts[static_cast<size_t>(slot - 1)] : nullptr;
}

void TBaieScripts::SetRackScript(int slot, TSequenceScript *script)
{
    if (slot == 1 || slot == 2)
        FRackScripts[static_cast<size_t>(slot - 1)] = script;
}
