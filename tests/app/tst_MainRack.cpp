// The main window driving a simulated rack.
#include "tests/app/MainFixture.h"

#include "app/StartAttsState.h"
#include "app/uIdentRack.h"
#include "config/ConfigFile.h"
#include "platform/IniFile.h"
#include "sequencer/uSequencerRound.h"
#include "widgets/QSlideBar.h"
#include "widgets/QSpin.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using MainRack = MainFixture;

TEST_F(MainRack, IdentifiesATwoAttenuatorRackAndShowsBothControls)
{
    StartSim(2, 935);
    OpenConnected();
    EXPECT_EQ(Caption(), "QSIM01 - Brick 1 (v1.0)");
    EXPECT_EQ(form->LabelDescription->text(), "Orvex Quenta 2 Atts");
    EXPECT_TRUE(form->GetAttEnabled(2));
    EXPECT_TRUE(form->AttGroupBox2->isVisible());
    EXPECT_EQ(form->AttGroupBox1->x(), 8);
    EXPECT_GT(form->AttGroupBox2->x(), form->AttGroupBox1->geometry().right());
    EXPECT_TRUE(form->AttGroupBox1->ModeDecimal());
    EXPECT_EQ(form->AttGroupBox1->MaxAttVal(), 935);
    EXPECT_EQ(form->MaxAttValue(), 935);
}

TEST_F(MainRack, AOneAttenuatorRackCentresTheFirstControlAndHidesTheSecond)
{
    StartSim(1, 935);
    OpenConnected();
    EXPECT_EQ(form->LabelDescription->text(), "Orvex Quenta 1 Atts");
    EXPECT_EQ(form->AttGroupBox1->x(), (form->GBRack1->width() - form->AttGroupBox1->width()) / 2);
    EXPECT_FALSE(form->GetAttEnabled(2));
    EXPECT_FALSE(form->AttGroupBox2->isVisible());

    form->ButtonAttsToMax->click();
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 935"}));
    // The hidden second control changes nothing at the rack.
    emit form->AttGroupBox2->OnChange(form->AttGroupBox2);
    Settle();
    EXPECT_EQ(Received("ATT").size(), 1);
}

TEST_F(MainRack, WholeDbRackLeavesTenthsModeAndSendsValuesUnrounded)
{
    StartSim(2, 70);
    OpenConnected();
    EXPECT_FALSE(form->AttGroupBox1->ModeDecimal());
    EXPECT_EQ(form->AttGroupBox1->MaxAttVal(), 70);
    form->RadioRackSetSTA(form->RadioRack(), "STA 0 033");
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 033"}));
}

TEST_F(MainRack, ATypedValueIsRoundedOnlyAboveA110Maximum)
{
    struct Row
    {
        int max;
        bool tenths;
        const char *typed;
        int shown;
        const char *sent;
    } rows[] = {{111, true, "9.3", 93, "ATT 0 095"}, {110, false, "93", 93, "ATT 0 093"}, {935, true, "93.3", 933, "ATT 0 935"}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.max);
        StartSim(2, r.max);
        OpenConnected();
        EXPECT_EQ(form->AttGroupBox1->ModeDecimal(), r.tenths);
        QLineEdit *edit = form->AttGroupBox1->SpinEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, r.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        EXPECT_EQ(form->AttGroupBox1->AttValue(), r.shown);
        EXPECT_EQ(Received("ATT"), QStringList({r.sent}));
        form.reset();
        sim.reset();
        options.PortOverrides.Clear();
    }
}

TEST_F(MainRack, AStatusValueIsEchoedBackRoundedToTheHalfDb)
{
    StartSim(2, 935);
    OpenConnected();
    form->RadioRackSetSTA(form->RadioRack(), "STA 0 412");
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 410"}));
    // The control keeps the unrounded value.
    EXPECT_EQ(form->AttGroupBox1->AttValue(), 412);
    form->RadioRackSetSTA(form->RadioRack(), "STA 1 928");
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 410", "ATT 1 930"}));
    // A value that is not a number changes nothing.
    form->RadioRackSetSTA(form->RadioRack(), "STA 0 abc");
    EXPECT_EQ(form->AttGroupBox1->AttValue(), 412);
}

TEST_F(MainRack, ARackWithoutAMaximumUses935ForTheButtons)
{
    StartSim(2, 0);
    OpenConnected();
    EXPECT_EQ(form->MaxAttValue(), 0);
    EXPECT_EQ(form->GetMaxAttForRack(1), 935);
    EXPECT_EQ(form->GetMaxAttForRack(2), 935);
    form->ButtonAttsToMax->click();
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 935;1 935"}));
}

TEST_F(MainRack, MaxAndMinHandOneCombinedCommandAndNothingThroughTheChangeEvents)
{
    StartSim(2, 935);
    OpenConnected();
    form->ButtonAttsToMax->click();
    EXPECT_EQ(form->AttGroupBox1->AttValue(), 935);
    EXPECT_EQ(form->AttGroupBox2->AttValue(), 935);
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 935;1 935"}));
    EXPECT_EQ(sim->Att(0), 935);
    EXPECT_EQ(sim->Att(1), 935);
    form->ButtonAttsToMin->click();
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({"ATT 0 935;1 935", "ATT 0 000;1 000"}));
    EXPECT_FALSE(form->FBlockChange1);
    EXPECT_FALSE(form->FBlockChange2);
}

TEST_F(MainRack, AMaxClickOnControlsAlreadyAtMaxDoesNotSwallowTheNextChange)
{
    StartSim(2, 935);
    OpenConnected();
    form->ButtonAttsToMax->click();
    Settle();
    form->ButtonAttsToMax->click();
    Settle();
    EXPECT_FALSE(form->FBlockChange1);
    form->RadioRackSetSTA(form->RadioRack(), "STA 0 500");
    Settle();
    EXPECT_EQ(Received("ATT").last(), "ATT 0 500");
}

TEST_F(MainRack, NothingIsSentWhileTheSequencerRuns)
{
    StartSim(2, 935);
    OpenConnected();
    form->FinSequencer = true;
    form->RadioRackSetSTA(form->RadioRack(), "ATT 0 300;1 120");
    EXPECT_EQ(form->AttGroupBox1->AttValue(), 300);
    EXPECT_EQ(form->AttGroupBox2->AttValue(), 120);
    Settle();
    EXPECT_TRUE(Received("ATT").isEmpty()) << Received("ATT").join('|').toStdString();
}

TEST_F(MainRack, DraggingTheSlideBarSendsOneCommandAfterItSettles)
{
    StartSim(2, 935);
    OpenConnected();
    TQSlideBar *bar = form->AttGroupBox1->SlideBar();
    const int y = bar->height() / 2;
    const int before = form->AttGroupBox1->AttValue();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, y));
    for (int x = 2; x < bar->width() - 2; x += 4)
        QTest::mouseMove(bar, QPoint(x, y));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() - 3, y));
    const int value = form->AttGroupBox1->AttValue();
    EXPECT_NE(value, before);
    Settle();
    EXPECT_EQ(Received("ATT"), QStringList({QString::asprintf("ATT 0 %.3d", RoundToHalfDb(value))}));
}

TEST_F(MainRack, ModeCaptionsFollowTheRack)
{
    StartSim(2, 935);
    OpenConnected();
    const QString connected = Caption();
    QStringList captions;
    sim->Unplug();
    // An idle line notices the hang-up at its next use.
    form->ButtonReadAtts->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (captions.isEmpty() || captions.last() != Caption())
                captions << Caption();
            return Caption().startsWith("Serial error: ");
        },
        15000))
        << captions.join('|').toStdString();
    // The line closes first ("No Rack"), then the vanished device fails to open.
    EXPECT_TRUE(captions.contains("No Rack")) << captions.join('|').toStdString();
    EXPECT_EQ(Caption(), "Serial error: No such file or directory");
    EXPECT_FALSE(form->GetAttEnabled(1));
    EXPECT_FALSE(form->AttGroupBox1->isVisible());
    ASSERT_TRUE(sim->Replug());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->GetAttEnabled(1); }, 15000)) << Caption().toStdString();
    EXPECT_EQ(Caption(), connected);

    // A report from another worker is none of this window's business.
    form->RadioRackSetMOD(nullptr, NoRack);
    EXPECT_EQ(Caption(), "QSIM01 - Brick 1 (v1.0)");
    form->RadioRackSetMOD(form->RadioRack(), RackManu);
    EXPECT_EQ(Caption(), "QSIM01 - Manual mode");
    EXPECT_FALSE(form->GetAttEnabled(1));
}

TEST_F(MainRack, TheIdentificationFlowSendsTheUpperCasedIdAndReconnects)
{
    StartSim(1, 935);
    const QString cfg = tmp.filePath("rack.cfg");
    WriteRackConfig(cfg, TRackConfig{});
    OpenConnected();
    form->SetCurConfigFile(cfg);
    QString shownId, title;
    bool att2Hidden = false;
    auto seen = OnNextModal([&](QWidget *w) {
        auto *edit = Child<QLineEdit>(w, "MaskEdit");
        title = w->windowTitle();
        shownId = edit->text();
        att2Hidden = !Child<QLineEdit>(w, "Att2Name")->isVisibleTo(w);
        edit->selectAll();
        QTest::keyClicks(edit, "abc123");
        Child<QLineEdit>(w, "Att1Name")->setText("Receiver");
        Child<QPushButton>(w, "OkBitBtn")->click();
    });
    form->ButtonName->click();
    ASSERT_TRUE(*seen);
    EXPECT_EQ(title, "Card / Brick 1");
    EXPECT_EQ(shownId, "QSIM01");
    EXPECT_TRUE(att2Hidden);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim->CountReceived("IDS ABC123") == 1; }, 10000))
        << sim->ReceivedTexts().join('|').toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Caption() == "ABC123 - Brick 1 (v1.0)"; }, 15000))
        << Caption().toStdString();
    EXPECT_EQ(form->AttCaption(1), "Receiver");
    // Both names are stored, the hidden second one too.
    TIniFile ini(cfg);
    EXPECT_EQ(ini.ReadString("names rack1", "att0", ""), "Receiver");
    EXPECT_EQ(ini.ReadString("names rack1", "att1", ""), "Attenuator 2");
}

TEST_F(MainRack, WithoutAConfigurationFileNamesChangeOnlyInTheWindow)
{
    StartSim(2, 935);
    OpenConnected();
    ASSERT_TRUE(form->CurConfigFile().isEmpty());
    auto seen = OnNextModal([&](QWidget *w) {
        Child<QLineEdit>(w, "Att2Name")->setText("Second");
        Child<QPushButton>(w, "OkBitBtn")->click();
    });
    form->miIDS->trigger();
    ASSERT_TRUE(*seen);
    EXPECT_EQ(form->AttCaption(2), "Second");
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim->CountReceived("IDS QSIM01") == 1; }, 10000));
    EXPECT_TRUE(QDir(tmp.path()).entryList({"*.cfg"}).isEmpty());
}

TEST_F(MainRack, CtrlIOpensTheIdentificationDialog)
{
    StartSim(2, 935);
    OpenConnected();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto seen = OnNextModal([](QWidget *w) { Child<QPushButton>(w, "CancelBitBtn")->click(); });
    QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return *seen; }, 10000)) << "no identification dialog";
}

TEST_F(MainRack, CancelledIdentificationSendsNothing)
{
    StartSim(2, 935);
    OpenConnected();
    auto seen = OnNextModal([](QWidget *w) { Child<QPushButton>(w, "CancelBitBtn")->click(); });
    form->ButtonName->click();
    ASSERT_TRUE(*seen);
    Settle();
    EXPECT_TRUE(Received("IDS").isEmpty());
}

TEST_F(MainRack, AFailedNameStoreShowsTheErrorAndSendsNoIds)
{
    StartSim(2, 935);
    OpenConnected();
    // A folder in place of the file makes the store fail.
    const QString cfg = tmp.filePath("locked.cfg");
    QDir().mkpath(cfg);
    form->SetCurConfigFile(cfg);
    auto seen = OnNextModal([](QWidget *w) { Child<QPushButton>(w, "OkBitBtn")->click(); });
    form->ButtonName->click();
    ASSERT_TRUE(*seen);
    ASSERT_EQ(shownErrors.size(), 1);
    EXPECT_TRUE(shownErrors[0].contains("locked.cfg")) << shownErrors[0].toStdString();
    Settle();
    EXPECT_TRUE(Received("IDS").isEmpty());
}

TEST_F(MainRack, TheStartStateFlowSendsTheChoiceEvenWhenUnchanged)
{
    StartSim(2, 935);
    OpenConnected();
    ASSERT_EQ(form->RadioRack()->StartAtt(), StartAttMax);
    struct Row
    {
        int choose; // -1: keep what is selected
        const char *sent;
        TStartAtt after;
    } rows[] = {{-1, "LARGE", StartAttMax}, {0, "ZERO", StartAttMin}, {-1, "ZERO", StartAttMin}, {1, "LARGE", StartAttMax}};
    for (const Row &r : rows) {
        int shown = -2;
        auto seen = OnNextModal([&](QWidget *w) {
            auto *dialog = qobject_cast<TFormStartAttsState *>(w);
            EXPECT_EQ(w->windowTitle(), "Start Atts");
            shown = dialog->ItemIndex();
            if (r.choose >= 0)
                dialog->SetItemIndex(r.choose);
            Child<QPushButton>(w, "BitBtn2")->click();
        });
        const int before = sim->CountReceived(r.sent);
        const int expectShown = form->RadioRack()->StartAtt() == StartAttMin ? 0 : 1;
        form->ButtonStartAtts->click();
        ASSERT_TRUE(*seen);
        EXPECT_EQ(shown, expectShown);
        ASSERT_TRUE(QTest::qWaitFor([&] { return sim->CountReceived(r.sent) == before + 1; }, 10000)) << r.sent;
        EXPECT_EQ(form->RadioRack()->StartAtt(), r.after);
    }
}

TEST_F(MainRack, ConfigurationMenuReconnectsOnlyWhenConfirmed)
{
    StartSim(2, 935);
    OpenConnected();
    const int idn = sim->CountReceived("IDN?");
    auto cancel = OnNextModal([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    form->miConfiguration->trigger();
    ASSERT_TRUE(*cancel);
    Settle();
    EXPECT_EQ(sim->CountReceived("IDN?"), idn);
    auto ok = OnNextModal([](QWidget *w) {
        Child<QLineEdit>(w, "Rack1NameEdit")->setText("Renamed");
        qobject_cast<QDialog *>(w)->accept();
    });
    form->miConfiguration->trigger();
    ASSERT_TRUE(*ok);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Caption() == "QSIM01 - Renamed (v1.0)"; }, 15000))
        << Caption().toStdString();
    EXPECT_GT(sim->CountReceived("IDN?"), idn);
}

} // namespace
