#include "tests/sequencer/SequenceTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct Result {
    int code;
    QByteArray out;
    QByteArray err;
};

class QuentaSeq : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString Write(const char *name, const QByteArray &text)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    static Result Seq(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral(QUENTA_EXE), QStringList{"seq"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
};

TEST_F(QuentaSeq, PrintsOneLinePerTickUntilTheDrivingScriptsEnd)
{
    const QString a =
        Write("a.sqc", SeqFile({Row(1, taReset, 0, 0, 0), Row(2, taStep, 0, 300, 2), Row(3, taRamp, 300, 280, 3)},
                               "Rack 1 :  att1"));
    const QString b = Write("b.sqc", SeqFile({Row(1, taNoAction, 0, 0, 1), Row(2, taStep, 0, 50, 1)}, "att2"));
    const Result r = Seq({a, b});
    EXPECT_EQ(r.code, 0) << r.err.data();
    EXPECT_EQ(r.out, "1 ATT 0 935\n2 ATT 0 300;1 050\n3 -\n4 ATT 0 300\n5 ATT 0 290\n6 ATT 0 280\n");

    // One attenuator in use, whole dB, and a tick limit.
    const Result one = Seq({"--atts", "1", "--max", "110", "--ticks", "3", a, b});
    EXPECT_EQ(one.code, 0);
    EXPECT_EQ(one.out, "1 ATT 0 110\n2 ATT 0 300\n3 -\n");
}

TEST_F(QuentaSeq, EndlessSequenceStopsAtTheTickLimit)
{
    const QString loop = Write("loop.sqc", SeqFile({Row(1, taStep, 0, 100, 2), Row(2, taGoto, 0, 1, 0)}));
    const Result r = Seq({loop});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.count('\n'), 10000);
    EXPECT_TRUE(r.out.endsWith("\n10000 -\n"));
    EXPECT_EQ(Seq({"--ticks", "0", loop}).out, "");
}

TEST_F(QuentaSeq, Failures)
{
    const QString att1 = Write("one.sqc", SeqFile({Row(1, taStep, 0, 10, 1)}, "att1"));
    const QString other = Write("two.sqc", SeqFile({Row(1, taStep, 0, 10, 1)}, "att2"));
    const Result conflict = Seq({att1, other, att1});
    EXPECT_EQ(conflict.code, 1);
    EXPECT_EQ(conflict.out, "");
    EXPECT_TRUE(conflict.err.contains("Attenuators interferences !"));

    const QString missing = dir.filePath("missing.sqc");
    const Result unreadable = Seq({att1, missing});
    EXPECT_EQ(unreadable.code, 2);
    EXPECT_EQ(unreadable.out, "");
    EXPECT_TRUE(unreadable.err.contains(missing.toUtf8())) << unreadable.err.data();

    for (const QStringList &args : {QStringList{}, QStringList{"--atts", "3", att1}, QStringList{"--max", "x", att1},
                                    QStringList{"--ticks"}, QStringList{"--bogus", att1}})
        EXPECT_EQ(Seq(args).code, 2) << args.join(' ').toStdString();
}

} // namespace
