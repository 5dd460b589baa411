#include "platform/Errors.h"
#include "sequencer/SequencerEditFile.h"
#include "tests/sequencer/SequenceTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

constexpr int Tenths = 935;

QByteArray Header(const QByteArray &selectionLine)
{
    return "RACKS SELECTED\r\n\r\n" + selectionLine + "\r\nACTIONS\r\n#Num\tTime\tAction\tFrom\tTo\tDuration\r\n";
}

TEST(SequenceEditFile, NewEditorSavedAtOnce)
{
    TSequenceDocument doc = NewSequenceDocument();
    doc.Att1Selected = true;
    QByteArray want = Header("Rack 1 :  att1\r\n") + "1\t0\t1\t0\t0\t0\r\n";
    for (int n = 2; n <= 400; ++n)
        want += QByteArray::number(n) + "\t0\t0\t0\t0\t0\r\n";
    EXPECT_EQ(FormatSequenceFile(doc, true), want);
    EXPECT_EQ(FormatSequenceFile(doc, false), want);
}

TEST(SequenceEditFile, SelectionLine)
{
    struct Case {
        bool att1, att2, att2InUse;
        QByteArray line;
    };
    const Case cases[] = {
        {true, true, true, "Rack 1 :  att1 att2\r\n"},
        {false, true, true, "Rack 1 :  att2\r\n"},
        {true, true, false, "Rack 1 :  att1\r\n"},
        {false, true, false, ""},
        {false, false, true, ""},
    };
    for (const Case &c : cases) {
        TSequenceDocument doc = NewSequenceDocument(1);
        doc.Att1Selected = c.att1;
        doc.Att2Selected = c.att2;
        EXPECT_EQ(FormatSequenceFile(doc, c.att2InUse), Header(c.line) + "1\t0\t1\t0\t0\t0\r\n") << c.line.data();
    }
}

TEST(SequenceEditFile, RowsAreWrittenInFull)
{
    TSequenceDocument doc = NewSequenceDocument(5);
    doc.Rows[0] = {0, taRamp, 300, 0, 31};
    doc.Rows[1] = {31, taGoto, 7, 0, 0};
    doc.Rows[2] = {31, taRepeat, 0, -4, 3};
    doc.Rows[3] = {-2, taStep, 0, 935, 9999};
    doc.Rows[4] = {5, taNoAction, 1, 2, 3};
    EXPECT_EQ(FormatSequenceFile(doc, true), Header("") + "1\t0\t2\t300\t0\t31\r\n"
                                                          "2\t31\t4\t7\t1\t0\r\n"
                                                          "3\t31\t5\t0\t1\t3\r\n"
                                                          "4\t-2\t3\t0\t935\t9999\r\n"
                                                          "5\t5\t0\t1\t2\t3\r\n");
}

TSequenceDocument Parse(const QByteArray &text, bool att2InUse = true, int maxAtt = Tenths, int rows = 400)
{
    TSequenceDocument doc = NewSequenceDocument(rows);
    ParseSequenceForEditor(text, doc, maxAtt, att2InUse);
    return doc;
}

TEST(SequenceEditFile, EditorSelection)
{
    struct Case {
        const char *name;
        QByteArray text;
        bool att2InUse;
        bool att1, att2;
    };
    const Case cases[] = {
        {"both", "RACKS\nRack 1 :  att1 att2\n", true, true, true},
        {"att2 not in use", "RACKS\nRack 1 :  att1 att2\n", false, true, false},
        {"att01 and att02 are not words of the editor", "RACKS\natt01 att02\n", true, false, false},
        {"the last selection line decides", "RACKS\natt1\natt2\n", true, false, true},
        {"two lines claiming att1 are fine", "RACKS\natt1\natt1\n", true, true, false},
        {"ATTS is no keyword for the editor", "ATTS\natt1\n", true, false, false},
        {"ATTS inside the selection is a selection line", "RACKS\natt2\nATTS att1\n", true, true, false},
        {"lines before the first keyword", "att1\nRACKS\n", true, false, false},
    };
    for (const Case &c : cases) {
        TSequenceDocument doc = NewSequenceDocument(3);
        doc.Att1Selected = doc.Att2Selected = true; // cleared by every load
        ParseSequenceForEditor(c.text, doc, Tenths, c.att2InUse);
        EXPECT_EQ(doc.Att1Selected, c.att1) << c.name;
        EXPECT_EQ(doc.Att2Selected, c.att2) << c.name;
    }
}

TEST(SequenceEditFile, EditorRowsAreLimitedToTheirFieldRanges)
{
    struct Case {
        const char *name;
        QByteArray row;
        int maxAtt;
        TSequenceRow want;
    };
    const Case cases[] = {
        {"time is kept as written", Row(2, taStep, 0, 300, 20, -75), Tenths, {-75, taStep, 0, 300, 20}},
        {"step above the maximum", Row(2, taStep, 0, 2000, 20), Tenths, {0, taStep, 0, 935, 20}},
        {"whole-dB maximum", Row(2, taRamp, 500, -3, 5), 63, {0, taRamp, 63, 0, 5}},
        // No rack has reported a maximum: the value fields have equal limits.
        {"no maximum yet", Row(2, taStep, 0, 300, 20), 0, {0, taStep, 0, 300, 20}},
        {"no maximum yet, ramp", Row(2, taRamp, 500, -3, 1), 0, {0, taRamp, 500, -3, 3}},
        {"ramp shorter than 3", Row(2, taRamp, 10, 20, 1), Tenths, {0, taRamp, 10, 20, 3}},
        {"duration above 9999", Row(2, taNoAction, 0, 0, 20000), Tenths, {0, taNoAction, 0, 0, 9999}},
        {"negative duration", Row(2, taStep, 0, 5, -1), Tenths, {0, taStep, 0, 5, 0}},
        {"goto target 0", Row(2, taGoto, 0, 0, 0), Tenths, {0, taGoto, 0, 1, 0}},
        {"goto target far below 1", Row(2, taGoto, 0, -2147483647, 0), Tenths, {0, taGoto, 0, 1, 0}},
        {"goto target past the last target row", Row(2, taGoto, 0, 400, 0), Tenths, {0, taGoto, 0, 399, 0}},
        {"repeat target and count", Row(2, taRepeat, 0, -3, 9999), Tenths, {0, taRepeat, 0, 1, 9999}},
        {"unused fields keep their initial range", Row(2, taStep, 500, 20, 1), Tenths, {0, taStep, 110, 20, 1}},
        {"code 256 reads as no action", Row(2, 256, 0, 0, 7), Tenths, {0, taNoAction, 0, 0, 7}},
        {"code without an action is an empty pause", Row(2, 9, 5, 5, 7, 3), Tenths, {3, taNoAction, 0, 0, 0}},
        {"code -1 is 255", Row(2, -1, 5, 5, 7), Tenths, {0, taNoAction, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        const TSequenceDocument doc = Parse(SeqFile({c.row}), true, c.maxAtt);
        EXPECT_EQ(doc.Rows[1], c.want) << c.name;
    }
}

TEST(SequenceEditFile, NumPlacesTheRowAndOtherRowsKeepTheirContent)
{
    TSequenceDocument doc = NewSequenceDocument(20);
    doc.Rows[4] = {9, taStep, 0, 70, 4};
    const QByteArray text = "ACTIONS\n" + Row(3, taStep, 0, 30, 1) + "\n\n# a comment\n" + Row(1, taStep, 0, 10, 1) +
                            "\n" + Row(0, taStep, 0, 99, 1) + "\n" + Row(21, taStep, 0, 99, 1) + "\n" +
                            Row(-5, taStep, 0, 99, 1) + "\n" + Row(3, taStep, 0, 33, 1) + "\n";
    ParseSequenceForEditor(text, doc, Tenths, true);
    EXPECT_EQ(doc.Rows[0], (TSequenceRow{0, taStep, 0, 10, 1}));
    EXPECT_EQ(doc.Rows[1], TSequenceRow{});                      // untouched, no action
    EXPECT_EQ(doc.Rows[2], (TSequenceRow{0, taStep, 0, 33, 1})); // the later line wins
    EXPECT_EQ(doc.Rows[4], (TSequenceRow{9, taStep, 0, 70, 4}));
    for (size_t i = 5; i < doc.Rows.size(); ++i)
        EXPECT_EQ(doc.Rows[i], TSequenceRow{}) << i;
    // On the older family the last target row is 19.
    EXPECT_EQ(Parse(SeqFile({Row(1, taGoto, 0, 50, 0)}), true, Tenths, 20).Rows[0].ToValue, 19);
}

TEST(SequenceEditFile, EditorKeywordRules)
{
    const QByteArray row = Row(2, taStep, 0, 50, 1);
    EXPECT_EQ(Parse("RACKS\natt1\n  \tACTIONS\n" + row).Rows[1].ToValue, 50);
    EXPECT_EQ(Parse("RACKS\natt1\nactions\n" + row).Rows[1].ToValue, 0);
    EXPECT_EQ(Parse("ACTIONS\rATTS\r" + row + "\r").Rows[1].ToValue, 50);
    EXPECT_EQ(Parse(row + "\nACTIONS\n").Rows[1].ToValue, 0);
}

TEST(SequenceEditFile, SaveLoadRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath("round.sqc");
    TSequenceDocument doc = NewSequenceDocument();
    doc.Att2Selected = true;
    doc.Rows[1] = {0, taStep, 0, 300, 20};
    doc.Rows[2] = {20, taRamp, 300, 0, 31};
    doc.Rows[3] = {51, taRepeat, 0, 2, 4};
    doc.Rows[4] = {255, taGoto, 0, 1, 0};
    doc.Rows[399] = {7, taNoAction, 0, 0, 9999};
    SaveSequenceFile(name, doc, true);
    TSequenceDocument back = NewSequenceDocument();
    LoadSequenceFile(name, back, Tenths, true);
    EXPECT_EQ(back.Rows, doc.Rows);
    EXPECT_FALSE(back.Att1Selected);
    EXPECT_TRUE(back.Att2Selected);

    // Saving again replaces the file whole.
    TSequenceDocument small = NewSequenceDocument(2);
    small.Att1Selected = true;
    SaveSequenceFile(name, small, true);
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), FormatSequenceFile(small, true));
}

TEST(SequenceEditFile, FileErrorsNameTheFileAndChangeNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TSequenceDocument doc = NewSequenceDocument(3);
    doc.Att1Selected = true;
    doc.Rows[1] = {4, taStep, 0, 5, 6};
    const TSequenceDocument before = doc;

    const QString missing = dir.filePath("none.sqc");
    try {
        LoadSequenceFile(missing, doc, Tenths, true);
        FAIL() << "no error";
    } catch (const EQuentaError &e) {
        EXPECT_TRUE(e.Message().contains(missing));
    }
    EXPECT_EQ(doc.Rows, before.Rows);
    EXPECT_TRUE(doc.Att1Selected);

    const QString unwritable = dir.filePath("no/such/folder/x.sqc");
    try {
        SaveSequenceFile(unwritable, doc, true);
        FAIL() << "no error";
    } catch (const EQuentaError &e) {
        EXPECT_TRUE(e.Message().contains(unwritable));
    }
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST(SequenceEditFile, ActionFieldsTable)
{
    const TSequenceActionFields ramp = SequenceActionFields(taRamp, 935, true, 399);
    EXPECT_TRUE(ramp.From.Visible && ramp.From.Decimal && ramp.To.Visible && ramp.To.UnitVisible);
    EXPECT_EQ(ramp.From.Max, 935);
    EXPECT_EQ(ramp.Duration.Min, 3);
    const TSequenceActionFields jump = SequenceActionFields(taGoto, 935, true, 399);
    EXPECT_TRUE(jump.To.Visible);
    EXPECT_FALSE(jump.To.UnitVisible || jump.To.Decimal || jump.Duration.Visible || jump.From.Visible);
    EXPECT_EQ(jump.To.Min, 1);
    EXPECT_EQ(jump.To.Max, 399);
    const TSequenceActionFields repeat = SequenceActionFields(taRepeat, 935, true, 399);
    EXPECT_TRUE(repeat.Duration.Visible);
    EXPECT_FALSE(repeat.Duration.Decimal || repeat.Duration.UnitVisible);
    const TSequenceActionFields reset = SequenceActionFields(taReset, 935, true, 399);
    EXPECT_FALSE(reset.From.Visible || reset.To.Visible || reset.Duration.Visible);
    const TSequenceActionFields pause = SequenceActionFields(taNoAction, 935, false, 399);
    EXPECT_TRUE(pause.Duration.Visible && pause.Duration.Decimal && !pause.To.Visible);
    EXPECT_EQ(ActionText(taRepeat), "Repeat");
    EXPECT_EQ(ActionText(6), "");
}

} // namespace
