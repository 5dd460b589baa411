#include "config/Config.h"
#include "config/ConfigFile.h"
#include "config/miscGui.h"
#include "platform/IniFile.h"
#include "tests/support/FakeConfigHost.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/QtPrint.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using FakeHost = FakeConfigHost;

QStringList shown;
void Record(const QString &m) { shown << m; }

void Press(QWidget *dialog, const char *button)
{
    QPushButton *b = Child<QPushButton>(dialog, button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
}

class ConfigTest : public ::testing::Test
{
protected:
    void SetUp() override { shown.clear(); old = SetErrorDisplay(&Record); }
    void TearDown() override { SetErrorDisplay(old); }
    QTemporaryDir tmp;
    FakeHost host;
    TErrorDisplay old = nullptr;
};

TEST(ConfigFile, DefaultsForAMissingFileAndGarbageValues)
{
    QTemporaryDir tmp;
    const TRackConfig d = ReadRackConfig(tmp.filePath("gone.cfg"));
    EXPECT_EQ(d.PortIndex, 0);
    EXPECT_EQ(d.RackName, "Brick 1 attenuator");
    EXPECT_EQ(d.Att0Name, "attenuator 1");
    EXPECT_EQ(d.Att1Name, "attenuator 2");
    QFile f(tmp.filePath("bad.cfg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Serial]\nPort rack 1=three\n");
    f.close();
    EXPECT_EQ(ReadRackConfig(tmp.filePath("bad.cfg")).PortIndex, 0);
}

TEST(ConfigFile, PortNames)
{
    const std::pair<QString, int> rows[] = {{"COM1", 0}, {"COM9", 8}, {"COM0", -1}, {"COMX", 0}, {"", 0}, {"COM10", 0}};
    for (const auto &[name, index] : rows)
        EXPECT_EQ(PortIndexOfName(name), index) << name.toStdString();
    EXPECT_EQ(PortNameOfIndex(8), "COM9");
    EXPECT_EQ(PortNameOfIndex(-1), "COM0");
}

TEST_F(ConfigTest, FirstStartShowsThePortAndNamesOfTheRunningProgram)
{
    auto seen = OnNextModal([](QWidget *d) {
        auto *form = static_cast<TConfigForm *>(d);
        EXPECT_EQ(d->windowTitle(), "Quenta Configuration");
        EXPECT_EQ(form->CB_COMx->currentText(), "COM 1");
        EXPECT_EQ(form->CB_COMx->count(), 9);
        EXPECT_EQ(form->CB_COMx->itemText(8), "");
        EXPECT_EQ(form->Rack1NameEdit->text(), "Brick 1");
        EXPECT_EQ(form->Att0Name->text(), "cap 1");
        EXPECT_FALSE(form->Att0Name->isVisible());
        EXPECT_EQ(Child<QLabel>(d, "LabelPortDevice")->text(), "/dev/x-COM1");
        form->CB_COMx->setCurrentIndex(8);
        form->Rack1NameEdit->setText("Lab rack");
        Press(d, "OkBtn");
    });
    EXPECT_TRUE(ExecuteConfigDialog(host));
    EXPECT_TRUE(*seen);
    EXPECT_EQ(host.port, "COM9");
    EXPECT_EQ(host.rack, "Lab rack");
    EXPECT_TRUE(host.curSet);
    EXPECT_EQ(host.cur, "") << "confirmed without a file";
}

TEST_F(ConfigTest, CancelChangesNothing)
{
    auto seen = OnNextModal([](QWidget *d) {
        static_cast<TConfigForm *>(d)->CB_COMx->setCurrentIndex(4);
        Press(d, "CancelBtn");
    });
    EXPECT_FALSE(ExecuteConfigDialog(host));
    EXPECT_TRUE(*seen);
    EXPECT_EQ(host.port, "COM1");
    EXPECT_FALSE(host.curSet);
}

TEST_F(ConfigTest, ADeletedRememberedFileGivesTheDefaultsAndKeepsItsName)
{
    host.cur = tmp.filePath("lab.cfg");
    auto seen = OnNextModal([](QWidget *d) {
        EXPECT_EQ(Child<QLabel>(d, "ConfigName")->text(), "lab");
        Press(d, "OkBtn");
    });
    EXPECT_TRUE(ExecuteConfigDialog(host));
    EXPECT_TRUE(*seen);
    EXPECT_EQ(host.port, "COM1");
    EXPECT_EQ(host.rack, "Brick 1 attenuator");
    EXPECT_EQ(host.caption1, "attenuator 1");
    EXPECT_EQ(host.caption2, "attenuator 2");
    EXPECT_EQ(host.cur, tmp.filePath("lab.cfg"));
}

TEST_F(ConfigTest, OutOfRangeIndexSelectsNothingAndAppliesCOM0)
{
    const QString file = tmp.filePath("odd.cfg");
    TIniFile(file).WriteInteger("Serial", "Port rack 1", 12);
    host.cur = file;
    auto seen = OnNextModal([](QWidget *d) {
        EXPECT_EQ(static_cast<TConfigForm *>(d)->CB_COMx->currentIndex(), -1);
        Press(d, "OkBtn");
    });
    EXPECT_TRUE(ExecuteConfigDialog(host));
    EXPECT_TRUE(*seen);
    EXPECT_EQ(host.port, "COM0");
}

struct DialogSeen
{
    QString title, dir, filter, suffix;
    bool save = false, confirmOverwrite = true, mustExist = false;
    QString answer;
    int count = 0;
} dialogSeen;

QString FakeRunner(QFileDialog &d)
{
    dialogSeen.count++;
    dialogSeen.title = d.windowTitle();
    dialogSeen.dir = QDir(d.directory()).absolutePath();
    dialogSeen.filter = d.nameFilters().join(";");
    dialogSeen.suffix = d.defaultSuffix();
    dialogSeen.save = d.acceptMode() == QFileDialog::AcceptSave;
    dialogSeen.confirmOverwrite = !d.testOption(QFileDialog::DontConfirmOverwrite);
    dialogSeen.mustExist = d.fileMode() == QFileDialog::ExistingFile;
    return dialogSeen.answer;
}

TEST_F(ConfigTest, StoreThenLoadRoundTripsThroughTheFileDialogs)
{
    const TFileDialogRunner oldRunner = SetFileDialogRunner(&FakeRunner);
    dialogSeen = DialogSeen{};
    host.dir = tmp.path();
    const QString file = tmp.filePath("bench.cfg");
    TConfigForm form(host);
    form.CB_COMx->setCurrentIndex(8);
    form.Rack1NameEdit->setText("Bench");
    form.Att0Name->setText("left");
    form.Att1Name->setText("right");
    dialogSeen.answer = file;
    form.StoreCfgBtnClick();
    EXPECT_EQ(dialogSeen.count, 1);
    EXPECT_EQ(dialogSeen.title, "Save configuration file");
    EXPECT_EQ(dialogSeen.dir, QDir(tmp.path()).absolutePath());
    EXPECT_EQ(dialogSeen.filter, "Configuration files (*.cfg)");
    EXPECT_EQ(dialogSeen.suffix, "cfg");
    EXPECT_TRUE(dialogSeen.save);
    EXPECT_FALSE(dialogSeen.confirmOverwrite);
    EXPECT_EQ(form.ConfigFileName(), file);
    EXPECT_EQ(TIniFile(file).ReadInteger("Serial", "Port rack 1", -5), 8);

    TConfigForm other(host);
    QDir().mkdir(tmp.filePath("sub"));
    other.SetConfigFileName(tmp.filePath("sub/elsewhere.cfg"));
    other.LoadCfgBtnClick();
    EXPECT_EQ(dialogSeen.title, "Open configuration file");
    EXPECT_TRUE(dialogSeen.mustExist);
    EXPECT_EQ(dialogSeen.dir, QDir(tmp.filePath("sub")).absolutePath()) << "the folder of the current file";
    EXPECT_EQ(other.CB_COMx->currentIndex(), 8);
    EXPECT_EQ(other.Rack1NameEdit->text(), "Bench");
    EXPECT_EQ(other.Att0Name->text(), "left");
    EXPECT_EQ(other.Att1Name->text(), "right");
    EXPECT_EQ(other.ConfigName->text(), "bench");

    dialogSeen.answer.clear(); // cancelled: nothing changes
    other.LoadCfgBtnClick();
    EXPECT_EQ(other.ConfigFileName(), file);
    SetFileDialogRunner(oldRunner);
}

TEST_F(ConfigTest, AFailedStoreShowsTheErrorAndKeepsTheFileName)
{
    const TFileDialogRunner oldRunner = SetFileDialogRunner(&FakeRunner);
    TConfigForm form(host);
    form.SetConfigFileName("/before.cfg");
    QFile blocker(tmp.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    dialogSeen.answer = tmp.filePath("file/x.cfg");
    form.StoreCfgBtnClick();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("file/x.cfg")) << shown[0].toStdString();
    EXPECT_EQ(form.ConfigFileName(), "/before.cfg");
    SetFileDialogRunner(oldRunner);
}

} // namespace
