#include "rack/uRadioRackV2.h"
#include "rack/uRadioRackV2Send.h"
#include "tests/rack/RackTestHost.h"
#include "tools/RackSimulator.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using namespace std::chrono_literals;
using Modes = std::vector<TMode>;

const int Long = 15000; // bound of every wait: far above what any step needs

class Worker : public ::testing::Test
{
protected:
    void StartSim(const TRackSimOptions &options = {})
    {
        Sim = std::make_unique<TRackSimulator>(options);
        QString error;
        ASSERT_TRUE(Sim->Start(&error)) << error.toStdString();
    }

    void StartWorker(const QString &port, const TRadioRackTimings &timings = FastTimings())
    {
        Rack = std::make_unique<TRadioRackThread>(&Host, timings);
        Rack->SetFreeOnTerminate(false);
        Rack->SetTargetPort(port);
        Rack->Start();
    }

    bool WaitStatus(int count) { return QTest::qWaitFor([&] { return Host.Status.size() >= count; }, Long); }
    bool WaitMode(TMode mode, int count = 1)
    {
        return QTest::qWaitFor([&] { return Host.Count(mode) >= count; }, Long);
    }
    bool WaitReceived(const char *line, int count = 1)
    {
        return QTest::qWaitFor([&] { return Sim->CountReceived(line) >= count; }, Long);
    }

    void TearDown() override
    {
        Rack.reset();
        Sim.reset();
    }

    TRackTestHost Host;
    std::unique_ptr<TRackSimulator> Sim;
    std::unique_ptr<TRadioRackThread> Rack;
};

TEST_F(Worker, StartsWithIdentityThenAutoThenValues)
{
    TRackSimOptions o;
    o.Id = QStringLiteral("QR0042");
    o.Max = 70;
    o.Version = QStringLiteral("2.1b");
    o.StartAtt = StartAttMin;
    StartSim(o);
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    EXPECT_EQ(Host.Modes, (Modes{IdnOk, RackAuto}));
    EXPECT_EQ(Host.Status, QStringList{QStringLiteral("STA 0 000;1 000")});
    EXPECT_EQ(Sim->ReceivedTexts(), (QStringList{QStringLiteral("IDN?"), QStringLiteral("STA?")}));
    EXPECT_EQ(Rack->RackIDN(), QStringLiteral("QR0042"));
    EXPECT_EQ(Rack->MaxAttr(), 70);
    EXPECT_EQ(Rack->VersAttr(), QStringLiteral("2.1b"));
    EXPECT_EQ(Rack->StartAtt(), StartAttMin);
    EXPECT_EQ(Rack->NbreAtts(), 2);
    EXPECT_EQ(Rack->Mode(), RackAuto);
    for (TRadioRackThread *sender : Host.Senders)
        EXPECT_EQ(sender, Rack.get());
}

TEST_F(Worker, RepliesInPiecesAreJoined)
{
    TRackSimOptions o;
    o.Atts = 1;
    o.Faults.Pieces = true;
    StartSim(o);
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    EXPECT_EQ(Host.Modes, (Modes{IdnOk, RackAuto}));
    EXPECT_EQ(Host.Status, QStringList{QStringLiteral("STA 0 000")});
    EXPECT_EQ(Rack->NbreAtts(), 1);
}

TEST_F(Worker, ModeReportIsTakenInPlaceOfAnIdentity)
{
    // The first "IDN?" is answered by a mode report instead.
    Sim = std::make_unique<TRackSimulator>();
    bool first = true;
    Sim->OnLine = [&](const TRackSimulator::TLine &line) {
        const bool answerWithMode = first && line.Text == "IDN?";
        Sim->SetFaults({.Silent = answerWithMode});
        if (answerWithMode) {
            first = false;
            Sim->SendUnsolicited("MOD MANU");
        }
    };
    ASSERT_TRUE(Sim->Start());
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    EXPECT_EQ(Host.Modes, (Modes{RackManu, RackAuto}));
    EXPECT_EQ(Sim->ReceivedTexts(), (QStringList{QStringLiteral("IDN?"), QStringLiteral("STA?")}));
    EXPECT_EQ(Rack->RackIDN(), QStringLiteral("000000"));
}

TEST_F(Worker, MissingPortReportsSerialErrorOnEveryTry)
{
    StartWorker(QStringLiteral("/dev/quenta-no-such-port"));
    ASSERT_TRUE(WaitMode(SerialError, 3));
    EXPECT_EQ(Host.Modes, Modes(Host.Modes.size(), SerialError));
    EXPECT_EQ(Rack->LastErrorDesc(), QStringLiteral("No such file or directory"));
}

TEST_F(Worker, SilentRackIsAskedAgainAndNeverReconnected)
{
    TRackSimOptions o;
    o.Faults.Silent = true;
    StartSim(o);
    // A reconnection would report one NoRack more than there were queries.
    int excess = 0;
    Host.OnMode = [&](TMode) { excess = std::max(excess, Host.Count(NoRack) - Sim->CountReceived("IDN?")); };
    const TRadioRackTimings t = FastTimings();
    StartWorker(Sim->PortPath(), t);
    ASSERT_TRUE(WaitMode(NoRack, 8));
    EXPECT_LE(excess, 0);
    EXPECT_EQ(Host.Modes, Modes(Host.Modes.size(), NoRack));
    const auto lines = Sim->ReceivedLines();
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].Text, QByteArray("IDN?"));
        EXPECT_GE(lines[i].At - lines[i - 1].At, std::chrono::milliseconds(t.ReplyTimeoutMs + t.IdentityRetryMs));
    }
}

TEST_F(Worker, SixRepliesThatAreNoIdentityReconnect)
{
    TRackSimOptions o;
    o.Faults.WrongIdentity = true;
    StartSim(o);
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitMode(NoRack, 1));
    const Modes six(6, NetworkDialogError);
    Modes expected = six;
    expected.push_back(NoRack);
    EXPECT_EQ(Host.Modes, expected);
    EXPECT_EQ(Sim->CountReceived("IDN?"), 6);

    Sim->SetFaults({});
    ASSERT_TRUE(WaitStatus(1));
    expected.insert(expected.end(), {IdnOk, RackAuto});
    // Some more refused tries may fall before the fault is cleared.
    EXPECT_EQ(Modes(Host.Modes.end() - 2, Host.Modes.end()), (Modes{IdnOk, RackAuto}));
}

TEST_F(Worker, StatusTimeOutsBackOffThenReconnectAtTheFourth)
{
    StartSim();
    // Silence the rack once it has identified itself.
    Host.OnMode = [&](TMode m) {
        if (m == IdnOk && Host.Count(IdnOk) == 1)
            Sim->SetFaults({.Silent = true});
    };
    const TRadioRackTimings t = FastTimings();
    StartWorker(Sim->PortPath(), t);
    ASSERT_TRUE(WaitMode(NoRack, 1));
    EXPECT_EQ(Host.Modes, (Modes{IdnOk, RackAuto, NoRack}));
    ASSERT_TRUE(WaitReceived("IDN?", 2));
    const auto lines = Sim->ReceivedLines();
    ASSERT_GE(lines.size(), 6u);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(lines[i].Text, QByteArray("STA?"));
    EXPECT_EQ(lines[5].Text, QByteArray("IDN?"));
    for (int i = 2; i <= 4; ++i)
        EXPECT_GE(lines[i].At - lines[i - 1].At,
                  std::chrono::milliseconds(t.ReplyTimeoutMs + (i - 1) * t.StatusRetryStepMs));
}

TEST_F(Worker, StatusTimeOutsCountSinceTheLineOpened)
{
    // Two time-outs, good replies, then two more: the fourth reconnects.
    Sim = std::make_unique<TRackSimulator>();
    int statusAsks = 0;
    Sim->OnLine = [&](const TRackSimulator::TLine &line) {
        const bool sta = line.Text == "STA?";
        statusAsks += sta;
        const bool silent = sta && (statusAsks <= 2 || statusAsks >= 5);
        Sim->SetFaults({.Silent = silent});
    };
    ASSERT_TRUE(Sim->Start());
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    Rack->SetActionStr(QStringLiteral("READATT"));
    ASSERT_TRUE(WaitStatus(2));
    Rack->SetActionStr(QStringLiteral("READATT"));
    ASSERT_TRUE(WaitMode(NoRack, 1));
    EXPECT_EQ(Sim->CountReceived("STA?"), 6);
    EXPECT_EQ(Host.Status.size(), 2);
    EXPECT_EQ(Host.Modes, (Modes{IdnOk, RackAuto, NoRack}));
}

TEST_F(Worker, NonStatusReplyReportsErrorThenReconnects)
{
    TRackSimOptions o;
    o.Faults.WrongStatus = true;
    StartSim(o);
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitMode(NoRack, 1));
    EXPECT_EQ(Host.Modes, (Modes{IdnOk, RackAuto, NetworkDialogError, NoRack}));
    EXPECT_TRUE(Host.Status.isEmpty());
    ASSERT_TRUE(WaitReceived("IDN?", 2));
}

TEST_F(Worker, NoiseOnTheLineEndsTheReadAndReconnects)
{
    TRackSimOptions o;
    o.Faults.Noise = true;
    StartSim(o);
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitMode(NoRack, 2));
    EXPECT_EQ(Host.Modes, Modes(Host.Modes.size(), NoRack));
    Sim->SetFaults({});
    ASSERT_TRUE(WaitStatus(1));
}

TEST_F(Worker, ReadAttHandedOverWhileClosedAsksForValuesTwice)
{
    StartSim();
    StartWorker(QStringLiteral("/dev/quenta-no-such-port"));
    ASSERT_TRUE(WaitMode(SerialError, 1));
    Rack->SetActionStr(QStringLiteral("READATT"));
    ASSERT_TRUE(WaitMode(SerialError, 2));
    EXPECT_EQ(Rack->ActionStr(), QStringLiteral("READATT"));
    Rack->SetTargetPort(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(2));
    EXPECT_TRUE(Rack->ActionStr().isEmpty());
    EXPECT_EQ(Sim->ReceivedTexts(),
              (QStringList{QStringLiteral("IDN?"), QStringLiteral("STA?"), QStringLiteral("STA?")}));
}

TEST_F(Worker, RefreshHandedOverWhileClosedReconnectsOnceMore)
{
    StartSim();
    StartWorker(QStringLiteral("/dev/quenta-no-such-port"));
    ASSERT_TRUE(WaitMode(SerialError, 1));
    Rack->SetActionStr(QStringLiteral("REFRESH"));
    ASSERT_TRUE(WaitMode(SerialError, 2));
    EXPECT_EQ(Rack->ActionStr(), QStringLiteral("REFRESH"));
    Rack->SetTargetPort(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(2));
    const size_t first = Host.Modes.size() - 5;
    EXPECT_EQ(Modes(Host.Modes.begin() + first, Host.Modes.end()), (Modes{IdnOk, RackAuto, NoRack, IdnOk, RackAuto}));
    EXPECT_EQ(Sim->CountReceived("IDN?"), 2);
}

TEST_F(Worker, RefreshWrittenDuringAReconnectionIsDropped)
{
    StartSim();
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    // A second REFRESH lands after the intake took the first, before the
    // line-closed report of that reconnection: the report drops it.
    bool again = true;
    Host.OnMode = [&](TMode m) {
        if (m == NoRack && again) {
            again = false;
            EXPECT_TRUE(Rack->ActionStr().isEmpty()); // cleared just before the report
        }
    };
    Rack->SetActionStr(QStringLiteral("REFRESH"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Rack->ActionStr().isEmpty(); }, Long));
    Rack->SetActionStr(QStringLiteral("REFRESH"));
    ASSERT_TRUE(WaitStatus(2));
    EXPECT_EQ(Host.Count(NoRack), 1);
    EXPECT_TRUE(Rack->ActionStr().isEmpty());
}

TEST_F(Worker, CommandsAreSentAndStartStateFollowsZeroAndLarge)
{
    StartSim();
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    ASSERT_EQ(Rack->StartAtt(), StartAttMax);
    Rack->SetActionStr(QStringLiteral("ZERO"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Rack->ActionStr().isEmpty(); }, Long));
    EXPECT_EQ(Rack->StartAtt(), StartAttMin);
    ASSERT_TRUE(WaitReceived("ZERO"));
    EXPECT_EQ(Sim->StartAtt(), StartAttMin);

    Rack->SetActionStr(QStringLiteral("LARGE"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Rack->ActionStr().isEmpty(); }, Long));
    EXPECT_EQ(Rack->StartAtt(), StartAttMax);

    for (const char *command : {"ATT 0 300;1 120", "IDS ABC123", "MAX", "MIN", "ATT 1 055"}) {
        Rack->SetActionStr(QString::fromLatin1(command));
        ASSERT_TRUE(WaitReceived(command)) << command;
    }
    EXPECT_EQ(Sim->Id(), QStringLiteral("ABC123"));
    EXPECT_EQ(Sim->Att(0), 0);
    EXPECT_EQ(Sim->Att(1), 55);
    EXPECT_EQ(Host.Modes, (Modes{IdnOk, RackAuto}));
}

TEST_F(Worker, UnknownStringStaysAndIsNeverSent)
{
    StartSim();
    // Polling, so the intake sees the string many times.
    TRadioRackTimings t = FastTimings();
    t.WakeOnAction = false;
    StartWorker(Sim->PortPath(), t);
    ASSERT_TRUE(WaitStatus(1));
    Rack->SetActionStr(QStringLiteral("HELLO"));
    QTest::qWait(200);
    EXPECT_EQ(Rack->ActionStr(), QStringLiteral("HELLO"));
    Rack->SetActionStr(QStringLiteral("ATT 0 010"));
    ASSERT_TRUE(WaitReceived("ATT 0 010"));
    EXPECT_EQ(Sim->CountReceived("HELLO"), 0);
    EXPECT_EQ(Sim->ReceivedTexts().size(), 3);
}

TEST_F(Worker, StringWrittenWhileBusyIsReplacedByTheNext)
{
    TRackSimOptions o;
    o.Faults.Silent = true;
    StartSim(o);
    // Written while the worker waits for a reply: only the last one counts.
    Host.OnMode = [&](TMode m) {
        if (m == NoRack && Host.Count(NoRack) == 1) {
            Rack->SetActionStr(QStringLiteral("ATT 0 001"));
            Rack->SetActionStr(QStringLiteral("ATT 0 002"));
            Sim->SetFaults({});
        }
    };
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitReceived("ATT 0 002"));
    EXPECT_EQ(Sim->CountReceived("ATT 0 001"), 0);
}

TEST_F(Worker, UnsolicitedLineIsTakenAsTheNextReply)
{
    StartSim();
    StartWorker(Sim->PortPath());
    ASSERT_TRUE(WaitStatus(1));
    ASSERT_TRUE(Sim->SendUnsolicited("STA 0 777;1 888"));
    Rack->SetActionStr(QStringLiteral("READATT"));
    ASSERT_TRUE(WaitStatus(2));
    EXPECT_EQ(Host.Status.at(1), QStringLiteral("STA 0 777;1 888"));
    // The rack's own answer now waits for the next query.
    Rack->SetActionStr(QStringLiteral("READATT"));
    ASSERT_TRUE(WaitStatus(3));
    EXPECT_EQ(Host.Status.at(2), QStringLiteral("STA 0 000;1 000"));
}

TEST_F(Worker, UnplugDuringARunReconnectsAfterReplug)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TRackSimOptions o;
    o.LinkPath = dir.filePath(QStringLiteral("rack0"));
    StartSim(o);
    StartWorker(o.LinkPath);
    ASSERT_TRUE(WaitStatus(1));

    const QString before = Sim->DevicePath();
    ASSERT_TRUE(Sim->Unplug());
    // The link survives but leads nowhere, not to whatever terminal is given
    // the freed number next.
    EXPECT_TRUE(QFileInfo(o.LinkPath).isSymLink());
    EXPECT_NE(QFileInfo(o.LinkPath).symLinkTarget(), before);
    EXPECT_FALSE(QFileInfo::exists(o.LinkPath));
    // The idle worker notices at its next write.
    Rack->SetActionStr(QStringLiteral("ATT 0 100"));
    ASSERT_TRUE(WaitMode(SerialError, 2));
    EXPECT_EQ(Host.Modes.at(2), NoRack);
    EXPECT_EQ(Rack->LastErrorDesc(), QStringLiteral("No such file or directory"));

    ASSERT_TRUE(Sim->Replug());
    ASSERT_TRUE(WaitStatus(2));
    EXPECT_EQ(Modes(Host.Modes.end() - 2, Host.Modes.end()), (Modes{IdnOk, RackAuto}));
}

TEST_F(Worker, TerminationReleasesThePortDuringAReplyWait)
{
    TRackSimOptions o;
    o.Faults.Silent = true;
    StartSim(o);
    StartWorker(Sim->PortPath(), TRadioRackTimings{}); // production: a 5 s reply wait
    ASSERT_TRUE(WaitReceived("IDN?"));
    const auto start = std::chrono::steady_clock::now();
    Rack->Terminate();
    Rack->WaitFor();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    TRadioRackSend other;
    other.SetTargetPort(Sim->PortPath());
    EXPECT_TRUE(other.Login()) << other.Sock()->LastError() << " " << other.Sock()->LastErrorDesc().toStdString();
    // Nothing reaches the host once termination was asked for.
    const size_t reports = Host.Modes.size();
    QTest::qWait(50);
    EXPECT_EQ(Host.Modes.size(), reports);
}

TEST_F(Worker, SelfFreeingWorkerEndsOnTerminate)
{
    StartSim();
    auto *rack = new TRadioRackThread(&Host, FastTimings());
    EXPECT_TRUE(rack->FreeOnTerminate());
    rack->SetTargetPort(Sim->PortPath());
    rack->Start();
    ASSERT_TRUE(WaitStatus(1));
    const int live = TThread::LiveCount();
    rack->Terminate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return TThread::LiveCount() < live; }, Long));
}

} // namespace
