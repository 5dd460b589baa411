// Start-up, exit and the settings around them.
#include "tests/app/MainFixture.h"

#include "app/MainHelp.h"
#include "app/MainImage.h"
#include "config/ConfigFile.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>

namespace {

class MainStartup : public MainFixture
{
protected:
    QString SettingsFile() const
    {
        return tmp.filePath(QStringLiteral("config/ORVEX/Quenta SERIAL 1W or 2W/quenta-driver.ini"));
    }
    void RememberConfig(const QString &file)
    {
        QDir().mkpath(QFileInfo(SettingsFile()).path());
        TIniFile(SettingsFile()).WriteString("Config", "Last config file", file);
    }
};

TEST_F(MainStartup, WithoutARememberedFileTheDialogStartsFromCOM1AndBrick1)
{
    QString port, rack;
    Open(true, [&](QWidget *w) {
        port = Child<QComboBox>(w, "CB_COMx")->currentText();
        rack = Child<QLineEdit>(w, "Rack1NameEdit")->text();
    });
    EXPECT_EQ(port, "COM 1");
    EXPECT_EQ(rack, "Brick 1");
    EXPECT_EQ(form->TargetPort(), "COM1");
    EXPECT_EQ(form->RackName(), "Brick 1");
    EXPECT_EQ(form->windowTitle(), GetVersionTitle());
    // No report has been handled yet: the worker started after the dialog.
    EXPECT_EQ(Caption(), "No rack");
    EXPECT_EQ(form->StatusPanel[0]->text(), "USB Serial mode");
    EXPECT_EQ(form->StatusPanel[2]->text(), "");
    EXPECT_EQ(form->RadioRack()->RackIDN(), "000000");
    EXPECT_TRUE(form->AttGroupBox1->ModeDecimal());
    EXPECT_EQ(form->AttGroupBox1->MaxAttVal(), 935);
    EXPECT_FALSE(form->GetAttEnabled(1));
    EXPECT_FALSE(form->GetAttEnabled(2));
    EXPECT_FALSE(form->GetAttEnabled(3));
}

TEST_F(MainStartup, ARememberedFileSetsPortNameAndStatusPanel)
{
    const QString cfg = tmp.filePath("bench/Lab rack.cfg");
    QDir().mkpath(tmp.filePath("bench"));
    TRackConfig c;
    c.PortIndex = 2;
    c.RackName = "Bench A";
    c.Att0Name = "RX";
    c.Att1Name = "TX";
    WriteRackConfig(cfg, c);
    RememberConfig(cfg);
    Open();
    EXPECT_EQ(form->CurConfigFile(), cfg);
    EXPECT_EQ(form->TargetPort(), "COM3");
    EXPECT_EQ(form->RackName(), "Bench A");
    EXPECT_EQ(form->AttCaption(1), "RX");
    EXPECT_EQ(form->AttCaption(2), "TX");
    EXPECT_EQ(form->StatusPanel[2]->text(), "Configuration: Lab rack");
    EXPECT_TRUE(shownErrors.isEmpty());
}

TEST_F(MainStartup, AMissingRememberedFileGivesTheDefaultsSilently)
{
    RememberConfig(tmp.filePath("gone.cfg"));
    Open();
    EXPECT_EQ(form->TargetPort(), "COM1");
    EXPECT_EQ(form->RackName(), "Brick 1 attenuator");
    EXPECT_TRUE(shownErrors.isEmpty()) << shownErrors.join('|').toStdString();
}

TEST_F(MainStartup, ThePortsSectionAndOverridesMapTheEntries)
{
    QDir().mkpath(QFileInfo(SettingsFile()).path());
    TIniFile ini(SettingsFile());
    ini.WriteString("Ports", "COM1", "/dev/ttyACM0");
    ini.WriteString("Ports", "COM3", "/dev/serial/by-id/rack");
    options.PortOverrides.Set(1, "/tmp/simulated");
    QString shown;
    Open(true, [&](QWidget *w) {
        Child<QComboBox>(w, "CB_COMx")->setCurrentIndex(2);
        shown = Child<QLabel>(w, "LabelPortDevice")->text();
    });
    EXPECT_TRUE(shown.contains("/dev/serial/by-id/rack")) << shown.toStdString();
    EXPECT_EQ(form->PortDevice("COM1"), "/tmp/simulated");
    EXPECT_EQ(form->PortDevice("com3"), "/dev/serial/by-id/rack");
    EXPECT_EQ(form->PortDevice("COM2"), "/dev/ttyUSB1");
    EXPECT_EQ(form->PortDevice("COM0"), "COM0");
    EXPECT_EQ(form->RadioRack()->PortMap().DevicePath(3), "/dev/serial/by-id/rack");
}

TEST_F(MainStartup, CancellingTheStartUpDialogEndsTheEventLoopAndStillWritesTheSettings)
{
    Open(false);
    // The rest of the start-up ran: the worker is going.
    EXPECT_EQ(form->StatusPanel[0]->text(), "USB Serial mode");
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(20000);
    const int rc = QCoreApplication::exec();
    EXPECT_TRUE(guard.isActive()) << "the program did not ask to end";
    EXPECT_EQ(rc, 0);
    form.reset();
    EXPECT_TRUE(QFileInfo::exists(SettingsFile()));
    EXPECT_NE(TIniFile(SettingsFile()).ReadString("DIR", "Config dir", ""), "");
}

TEST_F(MainStartup, ExitWritesTheSettingsAndReleasesAWaitingWorkerAtOnce)
{
    // A port that cannot open keeps the worker in its long retry pause.
    options.PortOverrides.Set(1, tmp.filePath("no-such-device"));
    options.Timings = TRadioRackTimings{};
    options.ExitPauseMs = 100;
    const QString cfg = tmp.filePath("a.cfg");
    WriteRackConfig(cfg, TRackConfig{});
    RememberConfig(cfg);
    Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Caption().startsWith("Serial error: "); }, 15000));
    EXPECT_EQ(Caption(), "Serial error: No such file or directory");
    form.reset();
    EXPECT_TRUE(TThread::ShutdownAll(1000)) << "the worker did not end promptly";
    TIniFile ini(SettingsFile());
    EXPECT_EQ(ini.ReadString("Config", "Last config file", ""), cfg);
    EXPECT_FALSE(ini.ReadString("DIR", "Config dir", "").isEmpty());
    EXPECT_FALSE(ini.ReadString("DIR", "Sequences dir", "").isEmpty());
}

TEST_F(MainStartup, ASettingsFileThatCannotBeWrittenShowsTheErrorAtExit)
{
    Open();
    // A folder where the file should be makes the write fail.
    QDir().mkpath(SettingsFile());
    form.reset();
    ASSERT_EQ(shownErrors.size(), 1);
    EXPECT_TRUE(shownErrors[0].contains("quenta-driver.ini")) << shownErrors[0].toStdString();
}

TEST_F(MainStartup, MenuShortcutsAndFixedWindow)
{
    Open();
    QStringList items;
    for (QAction *a : form->MainMenu->actions())
        items << a->text();
    EXPECT_EQ(items, QStringList({"&Exit", "&Configuration", "&Refresh", "&Help"}));
    EXPECT_EQ(form->miIDS->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_TRUE(form->actions().contains(form->miIDS));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->GBRack1->title(), "No rack");
    EXPECT_EQ(form->LabelDescription->text(), "Orvex Quenta x Atts");
}

TEST_F(MainStartup, HelpShowsTheMainWindowTopicFromTheBuiltInPageWhenNoFileIsBeside)
{
    Open();
    EXPECT_EQ(form->HelpFile(), tmp.filePath("quenta-driver.html"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    auto *viewer = form->findChild<THelpViewer *>("HelpViewer");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Source().scheme(), "qrc");
    EXPECT_TRUE(viewer->Browser->toHtml().contains("IDH_main_window"));

    QFile page(tmp.filePath("quenta-driver.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a name=\"IDH_main_window\"></a>Local page</body></html>");
    page.close();
    form->miHelpIndex->trigger();
    EXPECT_EQ(viewer->Source(), QUrl::fromLocalFile(tmp.filePath("quenta-driver.html")));
    EXPECT_TRUE(viewer->Browser->toPlainText().contains("Local page"));
}

TEST(MainImage, TheRackFrontFillsItsSizeAndSurvivesTinySizes)
{
    const QImage img = DrawRackFront(QSize(250, 64));
    EXPECT_EQ(img.size(), QSize(250, 64));
    EXPECT_NE(img.pixelColor(125, 32).alpha(), 0);
    EXPECT_EQ(DrawRackFront(QSize(3, 2)).size(), QSize(3, 2));
}

} // namespace
