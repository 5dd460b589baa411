#include "platform/Errors.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void WriteAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class IniFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("s.ini")); }
};

TEST_F(IniFileTest, ReadsWithoutRegardToCaseAndTrims)
{
    WriteAll(path(), "; comment\r\n[Config]\r\n  Last Config File =  /x/a.cfg  \r\n[DIR]\r\nCount= 42 \r\nEmpty=\r\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("config", "LAST CONFIG FILE", "d"), "/x/a.cfg");
    EXPECT_EQ(ini.ReadInteger("dir", "count", 7), 42);
    EXPECT_EQ(ini.ReadString("DIR", "Empty", "default"), "");
    EXPECT_EQ(ini.ReadString("DIR", "Absent", "default"), "default");
    EXPECT_EQ(ini.ReadString("Nope", "Count", "default"), "default");
}

TEST_F(IniFileTest, IntegersThatDoNotParseGiveTheDefault)
{
    WriteAll(path(), "[S]\nA=12abc\nB=\nC=0x1F\nD=-5\nE=99999999999\nF=$10\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("S", "A", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "B", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "C", 3), 31);
    EXPECT_EQ(ini.ReadInteger("S", "D", 3), -5);
    EXPECT_EQ(ini.ReadInteger("S", "E", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "F", 3), 16);
}

TEST_F(IniFileTest, MissingAndGarbageFilesReadAsEmpty)
{
    TIniFile missing(dir.filePath("none.ini"));
    EXPECT_EQ(missing.ReadString("S", "K", "d"), "d");
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(static_cast<char>((i * 7919) & 0xFF));
    WriteAll(path(), garbage);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("S", "K", 9), 9);
    ini.WriteString("S", "K", "v"); // writing over garbage still works
    EXPECT_EQ(ini.ReadString("S", "K", "d"), "v");
}

TEST_F(IniFileTest, WriteChangesOnlyItsKeyAndKeepsLineEnds)
{
    const QByteArray before = "\xEF\xBB\xBF; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny = 2\r\nz=3\r\n";
    WriteAll(path(), before);
    TIniFile ini(path());
    ini.WriteString("b", "Y", "20");
    ini.WriteString("A", "new", "n");
    ini.WriteString("C", "k", "v");
    EXPECT_EQ(ReadAll(path()),
              QByteArray("\xEF\xBB\xBF; keep me\r\n[A]\r\nx=1\r\nnew=n\r\n\r\n[B]\r\ny=20\r\nz=3\r\n[C]\r\nk=v\r\n"));
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
}

TEST_F(IniFileTest, AnEightBitFileKeepsItsOtherBytesAndTakesNewTextWithoutLoss)
{
    // Names stored by the Windows program in its code page (0xE9 = e acute).
    const QByteArray before = "[names rack1]\r\natt0=Entr\xE9" "e\r\natt1=Sortie\r\n";
    WriteAll(path(), before);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("names rack1", "att0", ""), QString::fromUtf8("Entr\xC3\xA9" "e"));
    ini.WriteString("names rack1", "att1", QString::fromUtf8("D\xC3\xA9part"));
    EXPECT_EQ(ReadAll(path()), QByteArray("[names rack1]\r\natt0=Entr\xE9" "e\r\natt1=D\xE9part\r\n"));
    // A character the 8-bit file cannot hold: the file becomes UTF-8, whole.
    ini.WriteString("names rack1", "att1", QString::fromUtf8("\xE2\x82\xAC 1"));
    EXPECT_EQ(ReadAll(path()),
              QByteArray("[names rack1]\r\natt0=Entr\xC3\xA9" "e\r\natt1=\xE2\x82\xAC 1\r\n"));
    EXPECT_EQ(ini.ReadString("names rack1", "att0", ""), QString::fromUtf8("Entr\xC3\xA9" "e"));
}

TEST_F(IniFileTest, LineBreaksInAValueCannotAddLines)
{
    TIniFile ini(path());
    ini.WriteString("S", "K", "a\r\n[Evil]\nx=1");
    EXPECT_EQ(ini.ReadString("Evil", "x", "none"), "none");
    EXPECT_EQ(ReadAll(path()).count('\n'), 2);
}

TEST_F(IniFileTest, FailedWriteNamesTheFileAndKeepsTheOld)
{
    const QString locked = dir.filePath("ro");
    ASSERT_TRUE(QDir().mkdir(locked));
    const QString file = locked + "/s.ini";
    WriteAll(file, "[S]\nK=old\n");
    // Root ignores permission bits, so make the target unwritable differently:
    // a path under a regular file can never be created.
    const QString impossible = file + "/sub.ini";
    TIniFile bad(impossible);
    try {
        bad.WriteString("S", "K", "v");
        FAIL() << "no error raised";
    } catch (const EIniFileException &e) {
        EXPECT_TRUE(e.Message().contains(impossible)) << e.Message().toStdString();
    }
    EXPECT_EQ(ReadAll(file), QByteArray("[S]\nK=old\n"));
    // The replace is atomic: nothing but the file itself is left behind.
    TIniFile good(file);
    good.WriteString("S", "K", "new");
    EXPECT_EQ(QDir(locked).entryList(QDir::Files), QStringList{"s.ini"});
}

} // namespace
