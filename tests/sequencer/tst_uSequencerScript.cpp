#include "sequencer/uSequencerCompile.h"
#include "sequencer/uSequencerRound.h"
#include "tests/sequencer/SequenceTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

namespace
{

constexpr int Tenths = 935;
constexpr int WholeDb = 110;

std::unique_ptr<TSequenceScript> CompileRows(std::vector<QByteArray> rows, int maxAtt)
{
    TSequenceCompiler compiler(maxAtt, true);
    EXPECT_TRUE(compiler.AddSequenceText(SeqFile(rows), "test.sqc"));
    TSequenceAnalysis a = compiler.Take();
    EXPECT_TRUE(a.Ok);
    EXPECT_EQ(a.Scripts.size(), 1U);
    return std::move(a.Scripts.front());
}

struct PlayCase {
    const char *name;
    int maxAtt;
    std::vector<QByteArray> rows;
    const char *ticks;
};

void CheckPlay(const PlayCase &c)
{
    auto script = CompileRows(c.rows, c.maxAtt);
    const std::vector<std::string> want = Expand(c.ticks);
    EXPECT_EQ(Play(*script, static_cast<int>(want.size())), want) << c.name;
}

TEST(SequenceScript, WorkedExamples)
{
    const PlayCase cases[] = {
        {"reset, step, ramp, goto",
         Tenths,
         {Row(1, taReset, 0, 0, 0), Row(2, taStep, 0, 300, 20), Row(3, taRamp, 300, 0, 31), Row(4, taGoto, 0, 2, 0)},
         "935 300 -*19 300 290..10/-10 000 300 -*19 300 290"},
        {"repeat",
         Tenths,
         {Row(1, taStep, 0, 100, 10), Row(2, taStep, 0, 200, 10), Row(3, taRepeat, 0, 1, 2), Row(4, taStep, 0, 0, 1)},
         "100 -*9 200 -*9 100 -*9 200 -*9 100 -*9 200 -*9 - 000 END"},
        {"ramp in whole dB", WholeDb, {Row(1, taRamp, 10, 20, 5)}, "010 012 015 017 020 END"},
        {"ramp in tenths", Tenths, {Row(1, taRamp, 100, 110, 11)}, "100 -*2 105 -*4 110 - 110 END"},
    };
    for (const PlayCase &c : cases)
        CheckPlay(c);
}

TEST(SequenceScript, CompilationEdgeCases)
{
    const PlayCase cases[] = {
        {"goto onto an empty pause lands on the next row",
         WholeDb,
         {Row(1, taStep, 0, 50, 1), Row(2, taNoAction, 0, 0, 0), Row(3, taStep, 0, 60, 1), Row(4, taGoto, 0, 2, 0)},
         "050 060 060 060"},
        {"goto past the end", WholeDb, {Row(1, taStep, 0, 50, 1), Row(2, taGoto, 0, 9, 0)}, "050 END"},
        {"goto target 0", WholeDb, {Row(1, taStep, 0, 50, 2), Row(2, taGoto, 0, 0, 0)}, "050 - 050 - 050"},
        {"goto target far below 1", WholeDb, {Row(1, taStep, 0, 50, 1), Row(2, taGoto, 0, INT_MIN, 0)}, "050 050 050"},
        {"repeat target below 1", WholeDb, {Row(1, taStep, 0, 50, 1), Row(2, taRepeat, 0, -4, 1)}, "050 050 - END"},
        {"repeat count 0",
         WholeDb,
         {Row(1, taStep, 0, 50, 1), Row(2, taRepeat, 0, 1, 0), Row(3, taStep, 0, 60, 1)},
         "050 - 060 END"},
        {"negative repeat count", WholeDb, {Row(1, taStep, 0, 50, 1), Row(2, taRepeat, 0, 1, -3)}, "050 - END"},
        {"ramp of duration 1", WholeDb, {Row(1, taRamp, 10, 20, 1)}, "010 020 END"},
        {"ramp of duration 2", WholeDb, {Row(1, taRamp, 10, 20, 2)}, "010 020 END"},
        {"ramp of negative duration", WholeDb, {Row(1, taRamp, 10, 20, INT_MIN)}, "010 020 END"},
        {"flat ramp sends its end", WholeDb, {Row(1, taRamp, 30, 30, 4)}, "030 - - 030 END"},
        {"descending ramp truncates toward zero", WholeDb, {Row(1, taRamp, 10, 0, 4)}, "010 007 004 000 END"},
        {"ramp from the written values, then rounded", Tenths, {Row(1, taRamp, 102, 118, 3)}, "100 110 120 END"},
        {"step of duration 0", WholeDb, {Row(1, taStep, 0, 23, 0)}, "023 END"},
        {"step of duration 1", WholeDb, {Row(1, taStep, 0, 23, 1)}, "023 END"},
        {"whole-dB step is not rounded", WholeDb, {Row(1, taStep, 0, 23, 2)}, "023 - END"},
        {"tenths step is rounded", Tenths, {Row(1, taStep, 0, 233, 1)}, "235 END"},
        {"reset sends the maximum", Tenths, {Row(1, taReset, 5, 7, 9)}, "935 END"},
        {"negative pause", WholeDb, {Row(1, taNoAction, 0, 0, -5), Row(2, taStep, 0, 1, 1)}, "001 END"},
        {"code 256 is a pause", WholeDb, {Row(1, 256, 0, 0, 2), Row(2, taStep, 0, 1, 1)}, "- - 001 END"},
        {"codes above 5 compile to nothing",
         WholeDb,
         {Row(1, 6, 0, 9, 9), Row(2, 255, 0, 9, 9), Row(3, -1, 0, 9, 9), Row(4, taStep, 0, 1, 1)},
         "001 END"},
        {"row order is file order", WholeDb, {Row(3, taStep, 0, 30, 1), Row(1, taStep, 0, 10, 1)}, "030 010 END"},
        {"negative values are sent as written", WholeDb, {Row(1, taStep, 0, -5, 1)}, "-005 END"},
    };
    for (const PlayCase &c : cases)
        CheckPlay(c);
}

TEST(SequenceScript, RowIndexIsKeptModulo65536)
{
    auto script = CompileRows({Row(0, taStep, 0, 50, 1), Row(65537, taStep, 0, 60, 1), Row(INT_MIN, taStep, 0, 70, 1),
                               Row(2, taGoto, 0, 65536, 0)},
                              WholeDb);
    ASSERT_EQ(script->Count(), 4);
    EXPECT_EQ(script->Cmde(0).NoL, 65535);
    EXPECT_EQ(script->Cmde(1).NoL, 0);
    EXPECT_EQ(script->Cmde(2).NoL, 65535);
    // The goto aims at row index 65535, the first command of which is Num 0.
    EXPECT_EQ(Play(*script, 5), Expand("050 060 070 050 060"));
}

TEST(SequenceScript, IndexOfLineFindsTheFirstCommandAtOrAboveTheRow)
{
    TSequenceScript empty;
    EXPECT_EQ(empty.IndexOfLine(0), 0);
    EXPECT_EQ(empty.IndexOfLine(-3), 0);

    TSequenceScript s;
    for (const int noL : {5, 2, 9, 2})
        s.AddNewCmde(static_cast<uint16_t>(noL), tcValue, noL, 0);
    const std::pair<int, int> rows[] = {{INT_MIN, 0}, {0, 0},  {2, 0},     {3, 0},     {6, 2},
                                        {9, 2},       {10, 4}, {65535, 4}, {65536, 4}, {INT_MAX, 4}};
    for (const auto &[row, index] : rows)
        EXPECT_EQ(s.IndexOfLine(row), index) << row;
    // A command added after a lookup is found by the next one.
    s.AddNewCmde(12, tcValue, 0, 0);
    EXPECT_EQ(s.IndexOfLine(10), 4);
}

TEST(SequenceScript, TerminationKeepsTheLastValueAndStays)
{
    auto script = CompileRows({Row(1, taStep, 0, 50, 1), Row(2, taGoto, 0, 9, 0)}, WholeDb);
    script->NextAttValue();
    script->NextAttValue();
    EXPECT_TRUE(script->Terminated());
    EXPECT_EQ(script->AttValue(), "050");
    script->NextAttValue();
    EXPECT_TRUE(script->Terminated());
    EXPECT_EQ(script->AttValue(), "050");
}

TEST(SequenceScript, JumpCyclesThatTakeNoTickEndTheScript)
{
    const PlayCase cases[] = {
        {"goto to its own row", WholeDb, {Row(1, taStep, 0, 50, 1), Row(2, taGoto, 0, 2, 0)}, "050 END"},
        {"two gotos into each other",
         WholeDb,
         {Row(1, taStep, 0, 50, 1), Row(2, taGoto, 0, 4, 0), Row(3, taStep, 0, 60, 1), Row(4, taGoto, 0, 2, 0)},
         "050 END"},
        {"gotos through rows that compile to nothing",
         WholeDb,
         {Row(1, taStep, 0, 50, 1), Row(2, taNoAction, 0, 0, 0), Row(3, taGoto, 0, 5, 0), Row(4, 9, 0, 0, 0),
          Row(5, taNoAction, 0, 0, 0), Row(6, taGoto, 0, 2, 0)},
         "050 END"},
        {"a goto cycle reached from a repeat", WholeDb, {Row(1, taGoto, 0, 1, 0), Row(2, taRepeat, 0, 1, 3)}, "END"},
    };
    for (const PlayCase &c : cases) {
        auto script = CompileRows(c.rows, c.maxAtt);
        const std::vector<std::string> want = Expand(c.ticks);
        EXPECT_EQ(Play(*script, 10), want) << c.name;
        EXPECT_EQ(script->AttValue().toStdString(), want.size() > 1 ? want[want.size() - 2] : "") << c.name;
    }
}

TEST(SequenceScript, LegalJumpChainsRunOn)
{
    const PlayCase cases[] = {
        // The goto runs again after every countdown of the repeat it leads to.
        {"goto into a repeat whose block holds the goto",
         WholeDb,
         {Row(1, taGoto, 0, 3, 0), Row(2, taStep, 0, 60, 1), Row(3, taRepeat, 0, 1, 9999), Row(4, taStep, 0, 70, 1)},
         "- 070 END"},
        {"repeat aimed at its own row, count 9999",
         WholeDb,
         {Row(1, taStep, 0, 50, 1), Row(2, taRepeat, 0, 2, 9999), Row(3, taStep, 0, 60, 1)},
         "050 - 060 END"},
        {"repeat aimed at its own row, largest count",
         WholeDb,
         {Row(1, taRepeat, 0, 1, INT_MAX), Row(2, taStep, 0, 60, 1)},
         "- 060 END"},
        {"two repeats aimed at each other",
         WholeDb,
         {Row(1, taStep, 0, 50, 1), Row(2, taRepeat, 0, 3, 2000000000), Row(3, taRepeat, 0, 2, INT_MAX),
          Row(4, taStep, 0, 60, 1)},
         "050 - - 060 END"},
        {"repeat re-entered by a goto restarts its count",
         WholeDb,
         {Row(1, taStep, 0, 10, 1), Row(2, taRepeat, 0, 1, 1), Row(3, taStep, 0, 20, 1), Row(4, taGoto, 0, 1, 0)},
         "010 010 - 020 010 010 - 020"},
    };
    for (const PlayCase &c : cases)
        CheckPlay(c);
}

// The per-tick interpreter read literally: one jump at a time, with only the
// goto rule to stop a cycle. Jump chains are taken in a shortened way by the
// script; both must agree tick by tick and on every repeat count.
struct Literal {
    std::vector<TSeqCmde> cmds;
    int act = 0;
    bool terminated = false;
    std::string value;

    int IndexOf(int row) const
    {
        for (size_t i = 0; i < cmds.size(); ++i)
            if (static_cast<int>(cmds[i].NoL) >= row)
                return static_cast<int>(i);
        return static_cast<int>(cmds.size());
    }
    void Tick()
    {
        std::set<int> gotos;
        for (;;) {
            if (act >= static_cast<int>(cmds.size())) {
                terminated = true;
                return;
            }
            TSeqCmde &c = cmds[static_cast<size_t>(act)];
            if (c.Cmde == tcNoAction || c.Cmde == tcValue) {
                value = c.Cmde == tcValue ? FormatAttValue(c.Value).toStdString() : "";
                ++act;
                return;
            }
            if (c.Cmde == tcGoto) {
                if (!gotos.insert(act).second) {
                    terminated = true;
                    return;
                }
                act = IndexOf(c.Value);
            } else if (c.RepeatLeft > 0) {
                --c.RepeatLeft;
                gotos.clear();
                act = IndexOf(c.Value);
            } else {
                c.RepeatLeft = c.RepeatInit;
                value.clear();
                ++act;
                return;
            }
        }
    }
};

TEST(SequenceScript, ShortenedRepeatLapsMatchTheLiteralInterpreter)
{
    const std::vector<QByteArray> programs[] = {
        {Row(1, taStep, 0, 50, 1), Row(2, taRepeat, 0, 3, 4), Row(3, taRepeat, 0, 2, 7), Row(4, taStep, 0, 60, 1),
         Row(5, taGoto, 0, 1, 0)},
        {Row(1, taRepeat, 0, 3, 5), Row(2, taStep, 0, 10, 1), Row(3, taGoto, 0, 4, 0), Row(4, taRepeat, 0, 1, 3),
         Row(5, taRepeat, 0, 4, 2), Row(6, taGoto, 0, 1, 0)},
        {Row(1, taStep, 0, 5, 1), Row(2, taRepeat, 0, 2, 3), Row(3, taRepeat, 0, 2, 2), Row(4, taRepeat, 0, 1, 2),
         Row(5, taRepeat, 0, 3, 6), Row(6, taGoto, 0, 2, 0)},
        {Row(1, taGoto, 0, 3, 0), Row(2, taRepeat, 0, 1, 3), Row(3, taRepeat, 0, 2, 4), Row(4, taRepeat, 0, 1, 2),
         Row(5, taStep, 0, 9, 1)},
    };
    int n = 0;
    for (const auto &rows : programs) {
        ++n;
        auto script = CompileRows(rows, WholeDb);
        Literal literal;
        for (int i = 0; i < script->Count(); ++i)
            literal.cmds.push_back(script->Cmde(i));
        for (int tick = 0; tick < 300 && !literal.terminated; ++tick) {
            literal.Tick();
            script->NextAttValue();
            ASSERT_EQ(script->Terminated(), literal.terminated) << "program " << n << " tick " << tick;
            ASSERT_EQ(script->AttValue().toStdString(), literal.value) << "program " << n << " tick " << tick;
            for (int i = 0; i < script->Count(); ++i)
                ASSERT_EQ(script->Cmde(i).RepeatLeft, literal.cmds[static_cast<size_t>(i)].RepeatLeft)
                    << "program " << n << " tick " << tick << " command " << i;
        }
    }
}

TEST(SequenceScript, DebugValue)
{
    TSequenceScript s;
    s.AddNewCmde(0, tcNoAction, 0, 0);
    s.AddNewCmde(1, tcValue, 50, 0);
    s.AddNewCmde(2, tcGoto, 1, 0);
    s.AddNewCmde(3, tcRepeat, 0, 4);
    s.AddNewCmde(4, static_cast<TScriptCmde>(9), 0, 0);
    EXPECT_EQ(s.GetDebugValue(0), "0000 : [00] no action");
    EXPECT_EQ(s.GetDebugValue(1), "0001 : [01] value 050");
    EXPECT_EQ(s.GetDebugValue(2), "0002 : [02] goto   1");
    EXPECT_EQ(s.GetDebugValue(3), "0003 : [03] repeat 0, count 3");
    EXPECT_EQ(s.GetDebugValue(4), "0004 : [04] ?????");
    EXPECT_EQ(s.GetDebugValue(5), "");
    EXPECT_EQ(s.GetDebugValue(-1), "");
}

TEST(SequenceScript, RoundToHalfDb)
{
    const std::pair<int, int> rows[] = {{932, 930},
                                        {933, 935},
                                        {937, 935},
                                        {938, 940},
                                        {122, 120},
                                        {123, 125},
                                        {127, 125},
                                        {128, 130},
                                        {0, 0},
                                        {7, 5},
                                        {9, 10},
                                        {-7, 0},
                                        {-13, -10},
                                        {INT_MAX, 2147483645},
                                        {INT_MIN, -2147483640}};
    for (const auto &[in, out] : rows)
        EXPECT_EQ(RoundToHalfDb(in), out) << in;
}

TEST(SequenceScript, FormatAttValue)
{
    const std::pair<int, const char *> rows[] = {{0, "000"}, {50, "050"}, {935, "935"}, {1234, "1234"}, {-5, "-005"}};
    for (const auto &[in, out] : rows)
        EXPECT_EQ(FormatAttValue(in), out) << in;
}

} // namespace
