#include "rack/uRadioRackV2Protocol.h"

#include <gtest/gtest.h>

namespace {

struct TIdentityCase
{
    const char *reply;
    const char *idn;
    int max;
    const char *version;
    TStartAtt start;
    int atts;
};

// Starting from fields that differ from every case, so a field the reply
// lacks shows as kept.
TRackIdentity Previous()
{
    TRackIdentity id;
    id.RackIDN = QStringLiteral("OLD000");
    id.MaxAttr = 7;
    id.VersAttr = QStringLiteral("old");
    id.StartAtt = StartAttMax;
    id.NbreAtts = 9;
    return id;
}

TEST(IdentityReply, FormsAndMalformedOnes)
{
    const TIdentityCase cases[] = {
        {"IDN Q12345,935,V2.10,1,2", "Q12345", 935, "V2.10", StartAttMax, 2},
        {"IDN Q12345,070,1.0,0,1", "Q12345", 70, "1.0", StartAttMin, 1},
        {"IDN:ABCDEF,110,x,1,2", "ABCDEF", 110, "x", StartAttMax, 2},
        // Ends after the identifier: only RackIDN changes.
        {"IDN Q12345", "Q12345", 7, "old", StartAttMax, 9},
        // No comma after the version: all after the maximum's comma is the version.
        {"IDN Q12345,935,V2 beta", "Q12345", 935, "V2 beta", StartAttMax, 9},
        {"IDN Q12345,935,", "Q12345", 935, "", StartAttMax, 9},
        // Maximum that is not a number reads as 0.
        {"IDN Q12345,9x5,1.0,0,1", "Q12345", 0, "1.0", StartAttMin, 1},
        // Start state other than "1" is the minimum; a count that is not a digit is 2.
        {"IDN Q12345,935,1.0,7,z", "Q12345", 935, "1.0", StartAttMin, 2},
        // Fields missing at the end.
        {"IDN Q12345,935,1.0,", "Q12345", 935, "1.0", StartAttMin, 9},
        {"IDN Q12345,935,1.0,1,", "Q12345", 935, "1.0", StartAttMax, 2},
        // Short identifiers and short replies.
        {"IDN AB", "AB", 7, "old", StartAttMax, 9},
        {"IDN", "", 7, "old", StartAttMax, 9},
        {"IDN Q1,", "Q1,", 7, "old", StartAttMax, 9},
        // Non-ASCII text is carried, never a crash.
        {"IDN \u00e9\u00e8\u00e0\u00fc\u00f6\u00e4,935,\u00b5C,1,2", "\u00e9\u00e8\u00e0\u00fc\u00f6\u00e4", 935,
         "\u00b5C", StartAttMax, 2},
    };
    for (const TIdentityCase &c : cases) {
        SCOPED_TRACE(c.reply);
        TRackIdentity id = Previous();
        ParseIdentityReply(QString::fromUtf8(c.reply), id);
        EXPECT_EQ(id.RackIDN, QString::fromUtf8(c.idn));
        EXPECT_EQ(id.MaxAttr, c.max);
        EXPECT_EQ(id.VersAttr, QString::fromUtf8(c.version));
        EXPECT_EQ(id.StartAtt, c.start);
        EXPECT_EQ(id.NbreAtts, c.atts);
    }
}

TEST(IdentityReply, LongAndCommaOnlyTextIsSafe)
{
    TRackIdentity id = Previous();
    ParseIdentityReply(QStringLiteral("IDN ") + QString(10000, QLatin1Char(',')), id);
    EXPECT_EQ(id.RackIDN, QStringLiteral(",,,,,,"));
    id = Previous();
    ParseIdentityReply(QStringLiteral("IDN Q12345,935,") + QString(5000, QLatin1Char('v')) + QStringLiteral(",1,2"),
                       id);
    EXPECT_EQ(id.VersAttr.size(), 5000);
    EXPECT_EQ(id.NbreAtts, 2);
}

TEST(ModeReply, AutoAnywhereElseManual)
{
    EXPECT_EQ(ParseModeReply(QStringLiteral("MOD AUTO")), RackAuto);
    EXPECT_EQ(ParseModeReply(QStringLiteral("MODxxAUTOyy")), RackAuto);
    EXPECT_EQ(ParseModeReply(QStringLiteral("MOD MANU")), RackManu);
    EXPECT_EQ(ParseModeReply(QStringLiteral("MOD auto")), RackManu);
    EXPECT_TRUE(IsModeReply(QStringLiteral("MOD")));
    EXPECT_FALSE(IsModeReply(QStringLiteral(" MOD AUTO")));
}

struct TStatusCase
{
    const char *reply;
    int atts;
    std::optional<int> att1;
    std::optional<int> att2;
};

TEST(StatusReply, FormsAndMalformedOnes)
{
    const TStatusCase cases[] = {
        {"STA 0 300;1 120", 2, 300, 120},
        {"STA 0 300;1 120", 1, 300, std::nullopt},
        {"ATT 0 123", 1, 123, std::nullopt},
        {"STA 1 045;0 005", 2, 5, 45},
        {"STA 2 100;0 050", 2, 50, std::nullopt},
        // A value that is not a number changes nothing, the item is still skipped.
        {"STA 0 1x3;1 120", 2, std::nullopt, 120},
        // Short items and stray separators.
        {"STA 0 1", 2, 1, std::nullopt},
        {"STA ;;;0 010", 2, 10, std::nullopt},
        {"STA", 2, std::nullopt, std::nullopt},
        // No blank after STA: five-character items from the front, "100" sets channel 1.
        {"STA0 100", 2, std::nullopt, 0},
        {"STA 0 9999", 2, 999, std::nullopt},
        {"STA \u00e9 100;0 \u00b5\u00b5\u00b5", 2, std::nullopt, std::nullopt},
    };
    for (const TStatusCase &c : cases) {
        SCOPED_TRACE(c.reply);
        const TStatusValues v = ParseStatusReply(QString::fromUtf8(c.reply), c.atts);
        EXPECT_EQ(v[0], c.att1);
        EXPECT_EQ(v[1], c.att2);
    }
}

TEST(StatusReply, LongTextEnds)
{
    QString r = QStringLiteral("STA ");
    for (int i = 0; i < 2000; ++i)
        r += QStringLiteral("0 %1;").arg(i % 1000, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(ParseStatusReply(r, 2)[0], 999);
}

TEST(ReplyKinds, ByTheirFirstLetters)
{
    EXPECT_TRUE(IsIdentityReply(QStringLiteral("IDN")));
    EXPECT_FALSE(IsIdentityReply(QStringLiteral("idn Q12345")));
    EXPECT_TRUE(IsStatusReply(QStringLiteral("STA 0 100")));
    EXPECT_TRUE(IsStatusReply(QStringLiteral("ATT 0 100")));
    EXPECT_FALSE(IsStatusReply(QStringLiteral("ST")));
    EXPECT_FALSE(IsStatusReply(QString()));
}

TEST(ActionIntake, KeywordsAtTheStart)
{
    struct TCase
    {
        const char *action;
        TActionKind kind;
    };
    const TCase cases[] = {
        {"ATT 0 300;1 120", TActionKind::Send}, {"MAX", TActionKind::Send},
        {"MIN", TActionKind::Send},             {"IDS ABC123", TActionKind::Send},
        {"ZERO", TActionKind::SendZero},        {"LARGE", TActionKind::SendLarge},
        {"READATT", TActionKind::ReadAtt},      {"REFRESH", TActionKind::Refresh},
        {"RECONFIG", TActionKind::ReConfig},    {"REFRESHED", TActionKind::Refresh},
        {"att 0 100", TActionKind::Ignore},     {" ATT 0 100", TActionKind::Ignore},
        {"HELLO", TActionKind::Ignore},         {"", TActionKind::Ignore},
        {"RE", TActionKind::Ignore},            {"STA?", TActionKind::Ignore},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(ClassifyActionStr(QString::fromLatin1(c.action)), c.kind) << c.action;
}

} // namespace
