#include "config/misc.h"
#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(Misc, AddPathDelimiter)
{
    const std::pair<QString, QString> rows[] = {
        {"", ""}, {"c", "c/"}, {"C:", "C:"}, {"/x/", "/x/"}, {"/x", "/x/"}, {"ab", "ab/"}, {"/", "/"},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(AddPathDelimiter(in), out) << in.toStdString();
}

TEST(Misc, FileNameWithoutExt)
{
    const std::pair<QString, QString> rows[] = {
        {"/cfg/lab.cfg", "lab"}, {"lab", "lab"}, {"/a.b/c", "c"}, {"x.tar.gz", "x.tar"}, {"/d/", ""},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(FileNameWithoutExt(in), out) << in.toStdString();
}

TEST(Misc, SplitFirstField)
{
    QString line = "1\t2\t\t3";
    EXPECT_EQ(SplitFirstField(line, u'\t'), "1");
    EXPECT_EQ(line, "2\t\t3");
    EXPECT_EQ(SplitFirstField(line, u'\t'), "2");
    EXPECT_EQ(SplitFirstField(line, u'\t'), "");
    EXPECT_EQ(SplitFirstField(line, u'\t'), "3");
    EXPECT_EQ(line, "");
    QString none = "whole line";
    EXPECT_EQ(SplitFirstField(none, u'\t'), "whole line");
    EXPECT_TRUE(none.isEmpty());
}

TEST(Misc, FitPathToWidthShortensOneFolderAtATime)
{
    const QString path = "/Data/Sequences/Long/run.sqc";
    QStringList seen;
    // A measure that records each candidate and never accepts one.
    const QString last = FitPathToWidthBy(
        path, [&](const QString &s) { seen << s; return 1000; }, 10);
    EXPECT_EQ(seen, (QStringList{"/Data/Sequences/Long/run.sqc", "/.../Sequences/Long/run.sqc",
                                 "/.../Long/run.sqc", "/.../run.sqc", ".../run.sqc"}));
    EXPECT_EQ(last, "run.sqc");
    // Stops at the first candidate that fits.
    EXPECT_EQ(FitPathToWidthBy(path, [](const QString &s) { return int(s.size()); }, 17), "/.../Long/run.sqc");
}

TEST(Misc, FitPathToWidthKeepsHiddenFoldersIntact)
{
    QStringList seen;
    FitPathToWidthBy("/home/.config/q/run.sqc", [&](const QString &s) { seen << s; return 1000; }, 1);
    EXPECT_EQ(seen.mid(1, 3), (QStringList{"/.../.config/q/run.sqc", "/.../q/run.sqc", "/.../run.sqc"}));
}

TEST(Misc, ParseVersion)
{
    struct Row { QString text; int a, b, c, d; } rows[] = {
        {"2.1.0.3", 2, 1, 0, 3}, {"2,1,0,3", 2, 1, 0, 3}, {"2..3", 2, 0, 3, 0},
        {"65537.1", 1, 1, 0, 0}, {"", 0, 0, 0, 0}, {"x.7", 0, 7, 0, 0},
    };
    for (const Row &r : rows) {
        const TVersionNumber v = ParseVersion(r.text);
        EXPECT_EQ((std::vector<int>{v.Major, v.Minor, v.Release, v.Build}), (std::vector<int>{r.a, r.b, r.c, r.d}))
            << r.text.toStdString();
    }
}

TEST(Misc, VersionTitleFromTheRecord)
{
    EXPECT_TRUE(GetVersionTitle().startsWith("Orvex Quenta Driver - v1.0 - © Orvex")) << GetVersionTitle().toStdString();

    TVersionRecord r;
    r.Strings["FileVersion"] = "3.4.5.6";
    SetVersionRecordForTesting(r);
    EXPECT_EQ(GetVersionTitle(), "v3.4");
    r.Strings["FileDescription"] = "Desc";
    r.Strings["LegalCopyright"] = "Me";
    SetVersionRecordForTesting(r);
    EXPECT_EQ(GetVersionTitle(), "Desc - v3.4 - © Me");
    r.HasTranslation = false;
    SetVersionRecordForTesting(r);
    EXPECT_EQ(GetVersionTitle(), "");
    SetVersionRecordForTesting(std::nullopt);
    EXPECT_EQ(GetVersionTitle(), "");
    ResetVersionRecordForTesting();
}

} // namespace
