#include "platform/Errors.h"
#include "sequencer/uSequencerCompile.h"
#include "sequencer/uSequencerLine.h"
#include "tests/sequencer/SequenceTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct TestRun {
    TSequenceAnalysis analysis;
    bool att2InUse;

    // Steps every script once and joins the line, as one tick of a run.
    QString Tick(bool &done)
    {
        for (auto &s : analysis.Scripts)
            s->NextAttValue();
        return BuildRackLine(*analysis.BaieScripts, att2InUse, done);
    }
    std::vector<std::string> Lines(int ticks)
    {
        std::vector<std::string> out;
        for (int i = 0; i < ticks; ++i) {
            bool done = false;
            const QString line = Tick(done);
            if (done) {
                out.push_back("DONE");
                break;
            }
            out.push_back(line.isEmpty() ? "-" : line.toStdString());
        }
        return out;
    }
};

TestRun Compile(const std::vector<QByteArray> &files, bool att2InUse = true, int maxAtt = 935)
{
    TSequenceCompiler compiler(maxAtt, att2InUse);
    for (const QByteArray &f : files)
        if (!compiler.AddSequenceText(f, "f.sqc"))
            break;
    return TestRun{compiler.Take(), att2InUse};
}

const QByteArray Step50 = Row(1, taStep, 0, 50, 2);

TEST(SequenceCompile, SelectionClaims)
{
    struct Case {
        const char *name;
        QByteArray selection;
        bool att2InUse;
        bool att1, att2;
    };
    const Case cases[] = {
        {"att1", "Rack 1 :  att1", true, true, false},
        {"att01", "x att01 y", true, true, false},
        {"att2", "Rack 1 :  att2", true, false, true},
        {"att02 for the run", "Rack 1 : att02", true, false, true},
        {"both", "Rack 1 :  att1 att2", true, true, true},
        {"att2 not in use", "Rack 1 :  att1 att2", false, true, false},
        {"case matters", "ATT1 Att2", true, false, false},
        {"none", "Rack 1 :", true, false, false},
    };
    for (const Case &c : cases) {
        TestRun run = Compile({SeqFile({Step50}, c.selection)}, c.att2InUse);
        ASSERT_TRUE(run.analysis.Ok) << c.name;
        ASSERT_EQ(run.analysis.Scripts.size(), 1U) << c.name;
        TSequenceScript *script = run.analysis.Scripts[0].get();
        EXPECT_EQ(run.analysis.BaieScripts->Att1Script() == script, c.att1) << c.name;
        EXPECT_EQ(run.analysis.BaieScripts->Att2Script() == script, c.att2) << c.name;
        EXPECT_EQ(run.analysis.BaieScripts->Att1Script() == nullptr, !c.att1) << c.name;
        EXPECT_EQ(run.analysis.BaieScripts->Att2Script() == nullptr, !c.att2) << c.name;
    }
}

TEST(SequenceCompile, ConflictsRefuseTheWholeRun)
{
    const QByteArray att1 = SeqFile({Step50}, "att1");
    const QByteArray att2 = SeqFile({Step50}, "att2");
    const QByteArray twoLines = "RACKS\r\natt1\r\natt01\r\nACTIONS\r\n" + Step50 + "\r\n";
    const QByteArray claimsTwiceInOneLine = SeqFile({Step50}, "att1 att2");
    struct Case {
        const char *name;
        std::vector<QByteArray> files;
        bool ok;
        size_t scripts;
    };
    const Case cases[] = {
        {"two files on att1", {att1, att1}, false, 0},
        {"two selection lines in one file", {twoLines}, false, 0},
        {"first and third conflict", {att1, att2, att1}, false, 0},
        {"one file on both, then att2", {claimsTwiceInOneLine, att2}, false, 0},
        {"one file per attenuator", {att1, att2}, true, 2},
        {"a file that claims nothing", {att1, SeqFile({Step50}, "nothing")}, true, 2},
    };
    for (const Case &c : cases) {
        TestRun run = Compile(c.files);
        EXPECT_EQ(run.analysis.Ok, c.ok) << c.name;
        EXPECT_EQ(run.analysis.Scripts.size(), c.scripts) << c.name;
        if (!c.ok) {
            ASSERT_TRUE(run.analysis.BaieScripts) << c.name;
            EXPECT_EQ(run.analysis.BaieScripts->Att1Script(), nullptr) << c.name;
            EXPECT_EQ(run.analysis.BaieScripts->Att2Script(), nullptr) << c.name;
        }
    }
}

TEST(SequenceCompile, RunReaderSectionRules)
{
    struct Case {
        const char *name;
        QByteArray text;
        int commands;
    };
    const QByteArray row = Row(1, taStep, 0, 50, 1);
    const Case cases[] = {
        {"ATTS is a selection keyword", "ATTS\natt1\nACTIONS\n" + row, 1},
        {"keyword after blanks", "RACKS\natt1\n \t ACTIONS trailing text\n" + row, 1},
        {"lower-case keyword is not one", "RACKS\natt1\nactions\n" + row, 0},
        {"rows before any keyword", row + "\nRACKS\natt1\n", 0},
        {"comment and empty lines between rows", "ACTIONS\n" + row + "\n\n   \n# 1\t0\t3\t0\t50\t1\n" + row, 2},
        {"CR line ends", "RACKS\ratt1\rACTIONS\r" + row + "\r" + row, 2},
        {"LF line ends", "RACKS\natt1\nACTIONS\n" + row + "\n" + row + "\n", 2},
        {"sections repeat", "ACTIONS\n" + row + "\nRACKS\natt1\nACTIONS\n" + row, 2},
        {"keyword test at the first character only", "ACTIONS\n" + row + "\n x ACTIONS\n", 1},
    };
    for (const Case &c : cases) {
        TestRun run = Compile({c.text});
        ASSERT_TRUE(run.analysis.Ok) << c.name;
        EXPECT_EQ(run.analysis.Scripts[0]->Count(), c.commands) << c.name;
    }
    // The selection line after blanks still claims.
    TestRun run = Compile({"RACKS\n   att1\nACTIONS\n" + row});
    EXPECT_NE(run.analysis.BaieScripts->Att1Script(), nullptr);
}

TEST(SequenceCompile, TimeColumnIsIgnoredAndFieldsAreUsedAsWritten)
{
    TestRun run = Compile({SeqFile({Row(1, taStep, 0, 2000, 1, 77), Row(2, taStep, 0, 50, 1, -9)})}, true, 110);
    EXPECT_EQ(run.Lines(3), (std::vector<std::string>{"ATT 0 2000", "ATT 0 050", "DONE"}));
}

TEST(SequenceCompile, LinesOfARun)
{
    const QByteArray a1 = SeqFile({Row(1, taStep, 0, 300, 2), Row(2, taStep, 0, 10, 1)}, "att1");
    const QByteArray a2 = SeqFile({Row(1, taNoAction, 0, 0, 1), Row(2, taStep, 0, 50, 3)}, "att2");
    const QByteArray both = SeqFile({Row(1, taStep, 0, 300, 1)}, "att1 att2");
    const QByteArray idle = SeqFile({Row(1, taStep, 0, 1, 99)}, "none");
    struct Case {
        const char *name;
        std::vector<QByteArray> files;
        bool att2InUse;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one file on both", {both}, true, {"ATT 0 300;1 300", "DONE"}},
        {"att2 alone has no separator", {a1, a2}, true, {"ATT 0 300", "ATT 1 050", "ATT 0 010", "-", "DONE"}},
        {"att2 out of use is neither sent nor waited for", {a1, a2}, false, {"ATT 0 300", "-", "ATT 0 010", "DONE"}},
        {"a script in no slot does not keep the run alive", {a1, idle}, true, {"ATT 0 300", "-", "ATT 0 010", "DONE"}},
        {"nothing claimed ends at once", {idle}, true, {"DONE"}},
    };
    for (const Case &c : cases) {
        TestRun run = Compile(c.files, c.att2InUse);
        ASSERT_TRUE(run.analysis.Ok) << c.name;
        EXPECT_EQ(run.Lines(10), c.lines) << c.name;
    }
}

TEST(SequenceCompile, OnlyAnAttenuatorInUseKeepsTheRunAlive)
{
    TBaieScripts baie;
    TSequenceScript s;
    baie.SetAtt2Script(&s);
    bool done = false;
    EXPECT_EQ(BuildRackLine(baie, false, done), "");
    EXPECT_TRUE(done);
    EXPECT_EQ(BuildRackLine(baie, true, done), "");
    EXPECT_FALSE(done);
    s.NextAttValue(); // no commands: terminated
    EXPECT_EQ(BuildRackLine(baie, true, done), "");
    EXPECT_TRUE(done);
}

TEST(SequenceCompile, FilesAreReadInListOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString f1 = dir.filePath("a.sqc");
    const QString f2 = dir.filePath("b.sqc");
    for (const auto &[name, text] : {std::pair{f1, SeqFile({Row(1, taStep, 0, 10, 1)}, "att1")},
                                     std::pair{f2, SeqFile({Row(1, taStep, 0, 20, 1)}, "att2")}}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    TSequenceAnalysis a = AnalyzeSequenceFiles({f2, f1}, 935, true);
    ASSERT_TRUE(a.Ok);
    ASSERT_EQ(a.Scripts.size(), 2U);
    EXPECT_EQ(a.BaieScripts->Att2Script(), a.Scripts[0].get());
    EXPECT_EQ(a.BaieScripts->Att1Script(), a.Scripts[1].get());

    const QString missing = dir.filePath("missing.sqc");
    try {
        AnalyzeSequenceFiles({f1, missing}, 935, true);
        FAIL() << "no error for a missing file";
    } catch (const EQuentaError &e) {
        EXPECT_TRUE(e.Message().contains(missing)) << e.Message().toStdString();
    }
}

TEST(SequenceCompile, ScriptsBeyondTheLimitAreRefusedNamingTheFile)
{
    TSequenceCompiler compiler(935, true, 1000);
    EXPECT_TRUE(compiler.AddSequenceText(SeqFile({Row(1, taNoAction, 0, 0, 1000)}, "att1"), "fits.sqc"));
    try {
        compiler.AddSequenceText(SeqFile({Row(1, taNoAction, 0, 0, 600), Row(2, taRamp, 0, 9, 401)}, "att2"),
                                 "big.sqc");
        FAIL() << "no error for a script over the limit";
    } catch (const EQuentaError &e) {
        EXPECT_TRUE(e.Message().contains("big.sqc")) << e.Message().toStdString();
    }
    // The refused file left no slot behind.
    TSequenceAnalysis a = compiler.Take();
    EXPECT_EQ(a.Scripts.size(), 1U);
    EXPECT_EQ(a.BaieScripts->Att2Script(), nullptr);

    // A file the editor could write (400 rows of 9999 ticks) is accepted.
    std::vector<QByteArray> rows;
    for (int i = 1; i <= 400; ++i)
        rows.push_back(Row(i, taNoAction, 0, 0, 9999));
    EXPECT_EQ(SequenceRowCommandCount({1, 0, taNoAction, 0, 0, 9999}) * 400, 3999600);
    TSequenceCompiler full(935, true);
    EXPECT_TRUE(full.AddSequenceText(SeqFile(rows), "full.sqc"));
    EXPECT_EQ(full.Take().Scripts[0]->Count(), 3999600);
}

TEST(SequenceCompile, CommandCountMatchesTheCompiledRows)
{
    const TSequenceRowFields rows[] = {
        {1, 0, taNoAction, 0, 0, 7}, {1, 0, taNoAction, 0, 0, -7}, {1, 0, taReset, 0, 0, 7}, {1, 0, taRamp, 0, 9, 7},
        {1, 0, taRamp, 0, 9, 1},     {1, 0, taStep, 0, 9, 7},      {1, 0, taStep, 0, 9, 0},  {1, 0, taGoto, 0, 9, 7},
        {1, 0, taRepeat, 0, 9, 7},   {1, 0, 6, 0, 9, 7},           {1, 0, 258, 0, 9, 7},
    };
    for (const TSequenceRowFields &r : rows) {
        TSequenceCompiler c(935, true);
        c.BeginScript();
        c.CompileActionRow(r);
        EXPECT_EQ(c.CurrentScript()->Count(), SequenceRowCommandCount(r)) << r.Action << " " << r.Duration;
    }
}

} // namespace
