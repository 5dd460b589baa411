#include "platform/Errors.h"
#include "sequencer/SequencerEditFile.h"
#include "sequencer/uSequencerCompile.h"
#include "tests/sequencer/SequenceReadersExercise.h"
#include "tests/sequencer/SequenceTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace
{

TEST(SequenceMalformed, FieldsThatAreNotNumbersReadAsZero)
{
    const std::pair<const char *, int> rows[] = {
        {"", 0},
        {"12", 12},
        {"-12", -12},
        {"+12", 12},
        {" 12 ", 12},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"99999999999999999999999", 0},
        {"12a", 0},
        {"1.5", 0},
        {"0x10", 0},
        {"$10", 0},
        {"-", 0},
        {"--1", 0},
        {"\xc3\xa9", 0},
        {"\xd9\xa3", 0}, // an Arabic-Indic digit is not a decimal digit here
    };
    for (const auto &[text, value] : rows)
        EXPECT_EQ(ReadSequenceInt(QString::fromUtf8(text)), value) << text;
}

TEST(SequenceMalformed, ShortRowsAndExtraFields)
{
    const std::pair<const char *, TSequenceRowFields> rows[] = {
        {"3", {3, 0, 0, 0, 0, 0}},
        {"3\t\t\t\t9", {3, 0, 0, 0, 9, 0}},
        {"1\t2\t3\t4\t5\t6\t7\t8", {1, 2, 3, 4, 5, 6}},
        {"1\t2\t3\t4\t5\t6x", {1, 2, 3, 4, 5, 0}},
    };
    for (const auto &[text, want] : rows) {
        const TSequenceRowFields got = SplitSequenceRow(QString::fromLatin1(text));
        EXPECT_EQ(std::tie(got.Num, got.Time, got.Action, got.From, got.To, got.Duration),
                  std::tie(want.Num, want.Time, want.Action, want.From, want.To, want.Duration))
            << text;
    }
}

TEST(SequenceMalformed, BinaryData)
{
    std::mt19937 rng(20261210);
    for (int round = 0; round < 20; ++round) {
        QByteArray data(4096, '\0');
        for (char &c : data)
            c = static_cast<char>(rng());
        // Some rounds inside a valid frame, so the row parser sees them too.
        if (round % 2)
            data = "RACKS\natt1 att2\nACTIONS\n" + data;
        ExerciseSequenceReaders(data);
    }
    // Rows made of random small fields, NUL bytes and all.
    QByteArray rows = "RACKS\natt1\nACTIONS\n";
    for (int i = 0; i < 2000; ++i) {
        for (int f = 0; f < 6; ++f)
            rows += QByteArray::number(static_cast<int>(rng() % 12) - 2) + (rng() % 50 ? "\t" : "\0\t");
        rows += rng() % 3 ? "\n" : "\r";
    }
    ExerciseSequenceReaders(rows);
}

TEST(SequenceMalformed, OneMegabyteLines)
{
    const QByteArray big(1 << 20, '7');
    ExerciseSequenceReaders("RACKS\n" + big + " att1\nACTIONS\n1\t0\t3\t0\t" + big + "\t1\n" + big + "\n");
    ExerciseSequenceReaders("ACTIONS\n1\t0\t3\t0\t5\t1\t" + QByteArray(1 << 20, '\t') + "\n");

    TSequenceCompiler compiler(935, true);
    ASSERT_TRUE(compiler.AddSequenceText(
        "RACKS\n" + QByteArray(1 << 20, 'x') + "att1\nACTIONS\n1\t0\t3\t0\t" + big + "\t1\n", "big.sqc"));
    TSequenceAnalysis run = compiler.Take();
    ASSERT_NE(run.BaieScripts->Att1Script(), nullptr);
    run.Scripts[0]->NextAttValue();
    EXPECT_EQ(run.Scripts[0]->AttValue(), "000"); // the value did not convert
}

TEST(SequenceMalformed, AMillionRows)
{
    QByteArray text = "RACKS\natt1\nACTIONS\n";
    text.reserve(20 * 1000 * 1000);
    for (int i = 1; i <= 1000000; ++i)
        text += QByteArray::number(i) + "\t0\t3\t0\t" + QByteArray::number(i % 900) + "\t1\n";
    TSequenceAnalysis run;
    {
        TSequenceCompiler compiler(935, true);
        ASSERT_TRUE(compiler.AddSequenceText(text, "million.sqc"));
        run = compiler.Take();
    }
    ASSERT_EQ(run.Scripts[0]->Count(), 1000000);
    run.Scripts[0]->NextAttValue();
    run.Scripts[0]->NextAttValue();
    EXPECT_EQ(run.Scripts[0]->AttValue(), "000"); // Num 2: 2 rounds to 0

    TSequenceDocument doc = NewSequenceDocument();
    ParseSequenceForEditor(text, doc, 935, true);
    EXPECT_EQ(doc.Rows[399], (TSequenceRow{0, taStep, 0, 400, 1}));

    // A million rows that ask for far more ticks than any editor file is
    // refused rather than filling memory.
    QByteArray huge = "ACTIONS\n";
    for (int i = 1; i <= 1000000; ++i)
        huge += "1\t0\t0\t0\t0\t2000000000\n";
    TSequenceCompiler compiler(935, true);
    EXPECT_THROW(compiler.AddSequenceText(huge, "huge.sqc"), EQuentaError);
}

TEST(SequenceMalformed, FieldsOutOfRange)
{
    const QByteArray text = SeqFile({
        "99999999999\t0\t3\t0\t5\t1",           // Num reads as 0
        "1\t0\t2\t2147483647\t-2147483648\t5",  // widest ramp
        "1\t0\t2\t-2147483648\t2147483647\t4",  // and back
        "1\t0\t3\t0\t-2147483648\t-2147483648", // step
        "1\t0\t5\t0\t-2147483648\t2147483647",  // repeat
        "1\t0\t4\t0\t2147483647\t0",            // goto far past the end
    });
    ExerciseSequenceReaders(text);
    TSequenceCompiler compiler(935, true);
    ASSERT_TRUE(compiler.AddSequenceText(text, "range.sqc"));
    TSequenceAnalysis run = compiler.Take();
    TSequenceScript &s = *run.Scripts[0];
    EXPECT_EQ(s.Cmde(0).NoL, 65535);
    const std::vector<std::string> ticks = Play(s, 12);
    // Values are rounded to the grid; a ramp's steps come from the written
    // ends, whose difference does not fit 32 bits.
    const std::vector<std::string> want = {"005",         "2147483645",  "1073741820",  "000",
                                           "-1073741820", "-2147483640", "-2147483640", "-715827870",
                                           "715827890",   "2147483645",  "-2147483640"};
    EXPECT_EQ(std::vector<std::string>(ticks.begin(), ticks.begin() + 11), want);
}

TEST(SequenceMalformed, NonAsciiText)
{
    const QByteArray text = "\xef\xbb\xbfRACKS\n\xc3\xa9 att1 \xff\nACTIONS\n1\t0\t3\t0\t5\xc3\xa9\t1\n"
                            "\xe2\x80\x83"
                            "2\t0\t3\t0\t7\t1\n2\t0\t3\t0\t9\t1\xa0\n";
    ExerciseSequenceReaders(text);
    TSequenceDocument doc = NewSequenceDocument(3);
    ParseSequenceForEditor(text, doc, 935, true);
    // A leading UTF-8 mark does not hide the first keyword.
    EXPECT_TRUE(doc.Att1Selected);
    EXPECT_EQ(doc.Rows[0], (TSequenceRow{0, taStep, 0, 0, 1})); // "5\xc3\xa9" is no number
    // Only ASCII blanks are trimmed, so the row behind an em space is no row;
    // "1\xa0" is no number either.
    EXPECT_EQ(doc.Rows[1], (TSequenceRow{0, taStep, 0, 9, 0}));
    TSequenceCompiler compiler(935, true);
    ASSERT_TRUE(compiler.AddSequenceText(text, "utf8.sqc"));
    TSequenceAnalysis run = compiler.Take();
    EXPECT_EQ(run.BaieScripts->Att1Script(), run.Scripts[0].get());
    // The run compiles every row, whatever its Num.
    EXPECT_EQ(Play(*run.Scripts[0], 4), Expand("000 005 010 END"));
}

} // namespace
