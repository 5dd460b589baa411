// The program run as a user runs it.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QProcessEnvironment Env(const QTemporaryDir &tmp)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", tmp.path());
    env.insert("TMPDIR", tmp.path());
    return env;
}

// Starts the program on its simulated rack and returns the rack's link,
// which exists once the program is up.
QString StartSimulated(QProcess &p, const QTemporaryDir &tmp, const QStringList &args)
{
    p.setProcessEnvironment(Env(tmp));
    p.start(QUENTA_DRIVER_EXE, QStringList{"--simulate"} + args);
    if (!p.waitForStarted(30000))
        return {};
    const QString link = QDir(tmp.path()).filePath(QString("quenta-sim-%1").arg(p.processId()));
    return QTest::qWaitFor([&] { return QFileInfo(link).isSymLink(); }, 60000) ? link : QString();
}

TEST(DriverProgram, VersionAndBadOptions)
{
    QTemporaryDir tmp;
    struct Row
    {
        QStringList args;
        int code;
        const char *out;
    } rows[] = {{{"--version"}, 0, "Orvex Quenta Driver - v"},
                {{"--help"}, 0, "--simulate"},
                {{"--atts", "3"}, 2, "bad value for --atts: 3"},
                {{"--max"}, 2, "--max needs a value"},
                {{"--bogus"}, 2, "unknown option: --bogus"}};
    for (const Row &r : rows) {
        QProcess p;
        p.setProcessEnvironment(Env(tmp));
        p.start(QUENTA_DRIVER_EXE, r.args);
        ASSERT_TRUE(p.waitForFinished(60000)) << r.args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), r.code) << r.args.join(' ').toStdString();
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        EXPECT_TRUE(out.contains(r.out)) << out.toStdString();
    }
}

// Ctrl+C while the start-up dialog is open ends the program through its
// normal exit: settings written, the simulated rack's link gone.
TEST(DriverProgram, ASignalEndsTheSimulatedRunCleanly)
{
    QTemporaryDir tmp;
    QProcess p;
    const QString link = StartSimulated(p, tmp, {"--atts", "1"});
    ASSERT_FALSE(link.isEmpty()) << "no simulated rack";
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(30000)) << "the program did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo(link).exists() || QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(tmp.filePath("ORVEX/Quenta SERIAL 1W or 2W/quenta-driver.ini")));
}

// Nobody may be there to close a message box once a signal asked the
// program to end: a settings file that cannot be written is reported on
// standard error and the program still ends.
TEST(DriverProgram, AfterASignalAFailedSettingsWriteDoesNotWaitForTheUser)
{
    QTemporaryDir tmp;
    // A folder where the settings file should be makes its write fail.
    ASSERT_TRUE(QDir(tmp.path()).mkpath("ORVEX/Quenta SERIAL 1W or 2W/quenta-driver.ini"));
    QProcess p;
    ASSERT_FALSE(StartSimulated(p, tmp, {}).isEmpty()) << "no simulated rack";
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(30000)) << "the program waits for someone to close a message box";
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(err.contains("quenta-driver.ini")) << err.toStdString();
}

} // namespace
