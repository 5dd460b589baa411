#include "rack/uRadioRackV2Send.h"
#include "tools/RackSimulator.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const int Long = 20000;

struct TRun
{
    int Code = -1;
    QString Out;
};

TRun RunConsole(const QStringList &args, const QByteArray &input)
{
    QProcess p;
    p.start(QStringLiteral(QUENTA_EXE), QStringList{QStringLiteral("console")} + args);
    if (!p.waitForStarted(Long))
        return {};
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(Long)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
}

// Report lines without their time stamps.
QStringList Reports(const QString &out)
{
    QStringList lines;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.section(QLatin1Char(' '), 1);
    return lines;
}

TEST(Console, HandsEveryLineOverAndExitsZero)
{
    TRackSimulator sim;
    ASSERT_TRUE(sim.Start());
    const TRun run = RunConsole({QStringLiteral("--port"), QStringLiteral("com7"), QStringLiteral("--map"),
                                 QStringLiteral("COM7=") + sim.PortPath()},
                                "ATT 0 300;1 120\nHELLO\nREADATT\nZERO\nATT 1 050\n");
    EXPECT_EQ(run.Code, 0) << run.Out.toStdString();
    QStringList reports = Reports(run.Out);
    EXPECT_EQ(reports.removeAll(QStringLiteral("ignored: HELLO")), 1);
    EXPECT_EQ(reports, (QStringList{QStringLiteral("IdnOk"), QStringLiteral("RackAuto"),
                                           QStringLiteral("STA 0 000;1 000"), QStringLiteral("STA 0 300;1 120")}));
    // Taken means sent, even right before the console stops the worker.
    EXPECT_EQ(sim.ReceivedTexts(), (QStringList{QStringLiteral("IDN?"), QStringLiteral("STA?"),
                                                QStringLiteral("ATT 0 300;1 120"), QStringLiteral("STA?"),
                                                QStringLiteral("ZERO"), QStringLiteral("ATT 1 050")}));
}

TEST(Console, LinesAfterAReconnectionAreTakenOnceTheRackIsBack)
{
    // The reconnection a REFRESH asks for reports NoRack: the rack is not absent.
    TRackSimulator sim;
    ASSERT_TRUE(sim.Start());
    const TRun run = RunConsole({QStringLiteral("--port"), sim.PortPath()}, "IDS ABC123\nREFRESH\nATT 0 100\n");
    EXPECT_EQ(run.Code, 0) << run.Out.toStdString();
    EXPECT_FALSE(run.Out.contains(QStringLiteral("not taken")));
    EXPECT_EQ(sim.ReceivedTexts(),
              (QStringList{QStringLiteral("IDN?"), QStringLiteral("STA?"), QStringLiteral("IDS ABC123"),
                           QStringLiteral("IDN?"), QStringLiteral("STA?"), QStringLiteral("ATT 0 100")}));
}

TEST(Console, MissingPortListsTheLinesNeverTaken)
{
    const TRun run = RunConsole({QStringLiteral("--port"), QStringLiteral("/dev/quenta-no-such-port")},
                                "ATT 0 100\nREADATT\n");
    EXPECT_EQ(run.Code, 1);
    const QStringList reports = Reports(run.Out);
    EXPECT_TRUE(reports.contains(QStringLiteral("SerialError: No such file or directory"))) << run.Out.toStdString();
    EXPECT_EQ(reports.mid(reports.size() - 2),
              (QStringList{QStringLiteral("not taken: ATT 0 100"), QStringLiteral("not taken: READATT")}));
}

TEST(Console, SilentRackEndsAtTheFirstNoRack)
{
    TRackSimOptions o;
    o.Faults.Silent = true;
    TRackSimulator sim(o);
    ASSERT_TRUE(sim.Start());
    const TRun run = RunConsole({QStringLiteral("--port"), sim.PortPath(), QStringLiteral("--scale"),
                                 QStringLiteral("0.05")},
                                "MAX\n");
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(Reports(run.Out), (QStringList{QStringLiteral("NoRack"), QStringLiteral("not taken: MAX")}));
}

TEST(Console, BadOptionsAreRefused)
{
    for (const QStringList &args : {QStringList{}, QStringList{QStringLiteral("--port")},
                                    QStringList{QStringLiteral("--port"), QStringLiteral("COM1"),
                                                QStringLiteral("--map"), QStringLiteral("COM0=/x")},
                                    QStringList{QStringLiteral("--bogus")}})
        EXPECT_EQ(RunConsole(args, {}).Code, 2) << args.join(QLatin1Char(' ')).toStdString();
}

TEST(Sim, AnswersSurvivesReplugAndLogs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("rack"));
    QProcess p;
    p.start(QStringLiteral(QUENTA_EXE), {QStringLiteral("sim"), QStringLiteral("--link"), link,
                                         QStringLiteral("--atts"), QStringLiteral("1"), QStringLiteral("--max"),
                                         QStringLiteral("70"), QStringLiteral("--id"), QStringLiteral("ABCDEF"),
                                         QStringLiteral("--start"), QStringLiteral("min")});
    ASSERT_TRUE(p.waitForStarted(Long));
    QString out;
    auto waitOut = [&](const QString &text) {
        return QTest::qWaitFor(
            [&] {
                out += QString::fromLocal8Bit(p.readAllStandardOutput());
                return out.contains(text);
            },
            Long);
    };
    ASSERT_TRUE(waitOut(QStringLiteral("# link")));

    auto ask = [&](const QByteArray &query) {
        TRadioRackSend line;
        line.SetLoginPause(1);
        line.SetTargetPort(link);
        if (!line.Login())
            return QByteArray("login failed");
        line.Send(query);
        return line.RecvString();
    };
    EXPECT_EQ(ask("IDN?"), QByteArray("IDN ABCDEF,070,1.0,0,1"));
    p.write("unplug\n");
    ASSERT_TRUE(waitOut(QStringLiteral("# unplugged")));
    EXPECT_EQ(ask("IDN?"), QByteArray("login failed"));
    p.write("replug\nwrong-sta on\n");
    ASSERT_TRUE(waitOut(QStringLiteral("# wrong-sta on")));
    EXPECT_EQ(ask("STA?"), QByteArray("ERR 02"));
    ASSERT_TRUE(waitOut(QStringLiteral("< STA?")));
    EXPECT_TRUE(out.contains(QStringLiteral("< IDN?")));

    p.terminate();
    ASSERT_TRUE(p.waitForFinished(Long));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(Sim, BadOptionsAreRefused)
{
    for (const char *bad : {"--atts 3", "--max 1000", "--id ABC", "--start middle", "--version a,b", "--what"}) {
        QProcess p;
        p.start(QStringLiteral(QUENTA_EXE),
                QStringList{QStringLiteral("sim")} + QString::fromLatin1(bad).split(QLatin1Char(' ')));
        ASSERT_TRUE(p.waitForFinished(Long));
        EXPECT_EQ(p.exitCode(), 2) << bad;
    }
}

} // namespace
