#include "config/UserSettings.h"
#include "config/misc.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Folder = QStringLiteral("Quenta SERIAL 1W or 2W");

class UserSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", tmp.filePath("cfg").toUtf8());
        QDir().mkdir(tmp.filePath("cfg"));
        QDir().mkdir(tmp.filePath("bin"));
        exe = tmp.filePath("bin/quenta-driver");
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved); }

    QTemporaryDir tmp;
    QByteArray saved;
    QString exe;
};

TEST_F(UserSettingsTest, CreatesThePerUserFolderAndNamesTheFileAfterTheProgram)
{
    TUserSettings s;
    s.OpenUserSettings(Folder, exe);
    EXPECT_EQ(s.UserHome(), tmp.filePath("cfg/ORVEX/") + Folder + "/");
    EXPECT_TRUE(QFileInfo(s.UserHome()).isDir());
    EXPECT_EQ(s.IniFile()->FileName(), s.UserHome() + "quenta-driver.ini");
    EXPECT_FALSE(QFile::exists(s.IniFile()->FileName())) << "opening must not touch the disk";
}

TEST_F(UserSettingsTest, FallsBackToTheExecutableFolderWhenTheNamedFolderCannotBeMade)
{
    QDir().mkdir(tmp.filePath("cfg/ORVEX"));
    QFile blocker(tmp.filePath("cfg/ORVEX/") + Folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should go
    blocker.close();
    TUserSettings s;
    s.OpenUserSettings(Folder, exe);
    EXPECT_EQ(s.UserHome(), tmp.filePath("bin") + "/");

    qputenv("XDG_CONFIG_HOME", tmp.filePath("missing/parent").toUtf8());
    TUserSettings t;
    t.OpenUserSettings(Folder, exe);
    EXPECT_EQ(t.UserHome(), tmp.filePath("bin") + "/");
}

TEST_F(UserSettingsTest, StartupDefaultsAndPresentButEmptyKeys)
{
    TUserSettings s;
    s.OpenUserSettings(Folder, exe);
    EXPECT_EQ(s.ReadAtStartup(), "");
    EXPECT_EQ(s.ConfigFileDir, s.UserHome());
    EXPECT_EQ(s.SequenceFileDir, GetDocumentsFolder());

    s.IniFile()->WriteString("DIR", "Config dir", "");
    s.IniFile()->WriteString("Config", "Last config file", "/r/a.cfg");
    EXPECT_EQ(s.ReadAtStartup(), "/r/a.cfg");
    EXPECT_EQ(s.ConfigFileDir, "");
}

TEST_F(UserSettingsTest, ExitWritingKeepsTheLastConfigFileWhenNoneIsCurrent)
{
    TUserSettings s;
    s.OpenUserSettings(Folder, exe);
    const QString file = s.IniFile()->FileName();
    s.ReadAtStartup();
    s.SequenceFileDir = "/seq";
    s.WriteAtExit("/r/first.cfg");
    EXPECT_EQ(s.IniFile(), nullptr);

    TUserSettings again;
    again.OpenUserSettings(Folder, exe);
    EXPECT_EQ(again.ReadAtStartup(), "/r/first.cfg");
    EXPECT_EQ(again.SequenceFileDir, "/seq");
    again.WriteAtExit("");
    EXPECT_EQ(TIniFile(file).ReadString("Config", "Last config file", ""), "/r/first.cfg");
}

TEST_F(UserSettingsTest, AFailedExitWriteRaisesTheErrorNamingTheFile)
{
    TUserSettings s;
    s.OpenUserSettings(Folder, exe);
    // Replace the folder by a file: nothing can be written under it.
    const QString home = s.UserHome();
    QDir(home).removeRecursively();
    QFile f(home.chopped(1));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    try {
        s.WriteAtExit("/r/a.cfg");
        FAIL() << "no error";
    } catch (const EIniFileException &e) {
        EXPECT_TRUE(e.Message().contains("quenta-driver.ini"));
    }
}

} // namespace
