#pragma once

#include "app/AttGroupBox.h"
#include "app/Main.h"
#include "config/misc.h"
#include "config/miscGui.h"
#include "platform/Thread.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/QtPrint.h"
#include "tools/RackSimulator.h"
#include "widgets/WidgetSupport.h"

#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Counts the status reports the worker delivers.
class TCountingMainForm : public TMainForm
{
public:
    using TMainForm::TMainForm;
    void RadioRackSetSTA(TRadioRackThread *Sender, const QString &text) override
    {
        TMainForm::RadioRackSetSTA(Sender, text);
        ++StatusReports;
    }
    int StatusReports = 0;
};

// A main window started against a simulated rack, with its own settings
// folder and the worker's waits shortened.
class MainFixture : public ::testing::Test
{
protected:
    static inline QStringList shownErrors;
    static void RecordError(const QString &m) { shownErrors << m; }

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir(tmp.path()).mkpath(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("config"))));
        shownErrors.clear();
        oldDisplay = SetErrorDisplay(&RecordError);
        options.ExecutablePath = tmp.filePath(QStringLiteral("quenta-driver"));
        // Reply waits of a second: ample on a loaded machine, short for the tests.
        options.Timings = TRadioRackTimings{}.Scaled(0.2);
        options.IdsPauseMs = 20;
        options.ExitPauseMs = 10;
    }

    void TearDown() override
    {
        form.reset();
        TThread::ShutdownAll(5000);
        if (sim)
            sim->Stop();
        SetErrorDisplay(oldDisplay);
    }

    void StartSim(int atts = 2, int max = 935)
    {
        TRackSimOptions o;
        o.Atts = atts;
        o.Max = max;
        o.Id = QStringLiteral("QSIM01");
        o.LinkPath = tmp.filePath(QStringLiteral("rack"));
        sim = std::make_unique<TRackSimulator>(o);
        QString error;
        ASSERT_TRUE(sim->Start(&error)) << error.toStdString();
        options.PortOverrides.Set(1, sim->PortPath());
    }

    // Creates the window; the start-up configuration dialog is confirmed
    // (or cancelled) as soon as it shows.
    void Open(bool confirm = true, std::function<void(QWidget *)> inDialog = {})
    {
        auto seen = OnNextModal([=](QWidget *w) {
            if (inDialog)
                inDialog(w);
            auto *d = qobject_cast<QDialog *>(w);
            confirm ? d->accept() : d->reject();
        });
        form = std::make_unique<TCountingMainForm>(options);
        ASSERT_TRUE(*seen) << "no start-up configuration dialog";
        form->show();
    }

    // Opens and waits until the rack shows its controls.
    void OpenConnected()
    {
        Open();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->GetAttEnabled(1); }, 15000)) << Caption().toStdString();
        // The first status read, and what its values start, are over before
        // the test acts.
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->StatusReports >= 1; }, 10000));
        Settle();
        sim->ClearReceived();
    }

    QString Caption() const { return form->GBRack1->title(); }

    bool TimersIdle() const
    {
        return !form->AttGroupBox1->Timer()->IsActive() && !form->AttGroupBox2->Timer()->IsActive();
    }

    // Lets every pending settle timer fire, then hands the worker a marker
    // the rack ignores: whatever the change events handed over before it has
    // reached the rack once the marker has. No status read is involved, as
    // its values would start change events of their own.
    void Settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return TimersIdle(); }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->RadioRack()->ActionStr().isEmpty(); }, 10000));
        const QByteArray marker = "ATT#" + QByteArray::number(++markers);
        form->RadioRack()->SetActionStr(QString::fromLatin1(marker));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sim->CountReceived(marker) == 1; }, 10000)) << marker.constData();
    }

    // Lines received by the rack that start with prefix.
    QStringList Received(const QString &prefix) const
    {
        QStringList out;
        for (const QString &line : sim->ReceivedTexts())
            if (line.startsWith(prefix) && !line.startsWith(QLatin1String("ATT#")))
                out << line;
        return out;
    }

    QTemporaryDir tmp;
    TMainOptions options;
    std::unique_ptr<TRackSimulator> sim;
    std::unique_ptr<TCountingMainForm> form;
    TErrorDisplay oldDisplay = nullptr;
    int markers = 0;
};
