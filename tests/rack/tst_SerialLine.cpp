#include "rack/uRadioRackV2Send.h"
#include "rack/uRadioRackV2Serial.h"
#include "rack/uRadioRackV2Types.h"
#include "tests/rack/PtyPair.h"

#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <termios.h>

namespace {

using namespace std::chrono_literals;

const QByteArray CrLf("\r\n");

class SerialLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Pty.IsValid());
        Line.SetTargetPort(Pty.Path());
        Line.SetLoginPause(1);
        ASSERT_TRUE(Line.Login()) << Line.Sock()->LastErrorDesc().toStdString();
    }

    // Waits until the bytes written at the far end are in the input queue.
    void WaitQueued(int count)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return Sock()->WaitingData() >= count; }, 10000));
    }

    TBlockSerial *Sock() { return Line.Sock(); }

    TPtyPair Pty;
    TRadioRackSend Line;
};

// Writes the pieces at the far end with a pause between them.
class TSlowWriter
{
public:
    TSlowWriter(TPtyPair &pty, QList<QByteArray> pieces, std::chrono::milliseconds gap)
        : FThread([&pty, pieces, gap, this] {
            for (const QByteArray &piece : pieces) {
                if (FStop)
                    return;
                pty.Write(piece);
                std::this_thread::sleep_for(gap);
            }
        })
    {
    }
    ~TSlowWriter()
    {
        FStop = true;
        FThread.join();
    }

private:
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

TEST_F(SerialLine, PiecesAreJoinedUntilCrLf)
{
    TSlowWriter writer(Pty, {"IDN Q1", "2345,9", "35\r", "\n"}, 30ms);
    EXPECT_EQ(Line.RecvString(), QByteArray("IDN Q12345,935"));
    EXPECT_EQ(Sock()->LastError(), 0);
}

TEST_F(SerialLine, SecondLineOfOneReadComesFromTheBuffer)
{
    Pty.Write("STA 0 100\r\nSTA 0 200\r\n");
    WaitQueued(22);
    EXPECT_EQ(Line.RecvString(), QByteArray("STA 0 100"));
    EXPECT_EQ(Sock()->LineBuffer(), QByteArray("STA 0 200\r\n"));
    // The second line must not touch the port: what arrives now stays queued.
    Pty.Write("X\r\n");
    WaitQueued(3);
    EXPECT_EQ(Line.RecvString(), QByteArray("STA 0 200"));
    EXPECT_EQ(Sock()->WaitingData(), 3);
}

TEST_F(SerialLine, LoneCrOrLfDoesNotEndALine)
{
    Pty.Write("ab\rcd\nef\n\rgh\r\n");
    EXPECT_EQ(Line.RecvString(), QByteArray("ab\rcd\nef\n\rgh"));
}

TEST_F(SerialLine, TimeOutKeepsThePartialLineForTheNextRead)
{
    Line.SetTimeOut(100);
    Pty.Write("IDN QR");
    WaitQueued(6);
    EXPECT_EQ(Line.RecvString(), QByteArray());
    EXPECT_EQ(Sock()->LastError(), ErrTimeout);
    EXPECT_EQ(Sock()->LastErrorDesc(), QStringLiteral("Timeout during operation"));
    EXPECT_EQ(Sock()->LineBuffer(), QByteArray("IDN QR"));
    Pty.Write("0001\r\n");
    Line.SetTimeOut(5000);
    EXPECT_EQ(Line.RecvString(), QByteArray("IDN QR0001"));
    EXPECT_EQ(Sock()->LastError(), 0);
}

TEST_F(SerialLine, BytesArrivingWithinTheTimeOutNeverTimeOut)
{
    // 40 bytes 20 ms apart take far longer than one time-out in total.
    Line.SetTimeOut(400);
    QList<QByteArray> bytes;
    for (int i = 0; i < 40; ++i)
        bytes << QByteArray(1, static_cast<char>('a' + i % 26));
    bytes << CrLf;
    const auto start = std::chrono::steady_clock::now();
    TSlowWriter writer(Pty, bytes, 20ms);
    const QByteArray line = Line.RecvString();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 400ms);
    EXPECT_EQ(line.size(), 40);
    EXPECT_EQ(Sock()->LastError(), 0);
}

TEST_F(SerialLine, EndlessTrickleEndsAfterFourTimeOuts)
{
    Line.SetTimeOut(150);
    QList<QByteArray> bytes(500, QByteArray("z"));
    const auto start = std::chrono::steady_clock::now();
    TSlowWriter writer(Pty, bytes, 20ms); // 10 s of bytes, never a line end
    EXPECT_EQ(Line.RecvString(), QByteArray());
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(Sock()->LastError(), ErrTimeout);
    EXPECT_GE(took, 600ms);
    EXPECT_LT(took, 9s);
    EXPECT_FALSE(Sock()->LineBuffer().isEmpty());
}

TEST_F(SerialLine, NoiseWithoutLineEndEndsAtTheLengthBound)
{
    Pty.Write(QByteArray(5000, 'n'));
    EXPECT_EQ(Line.RecvString(), QByteArray());
    EXPECT_EQ(Sock()->LastError(), ErrMaxBuffer);
    EXPECT_EQ(Sock()->LastErrorDesc(), QStringLiteral("Maximal buffer length exceeded"));
    // The noise is not kept to poison the next line.
    EXPECT_LE(Sock()->LineBuffer().size(), 1);
}

TEST_F(SerialLine, EmptySendWritesCrLfAlone)
{
    Line.Send(QByteArray());
    EXPECT_EQ(Sock()->LastError(), 0);
    EXPECT_EQ(Pty.ReadAtLeast(2), CrLf);
    Line.Send("ATT 0 005");
    EXPECT_EQ(Pty.ReadAtLeast(11), QByteArray("ATT 0 005\r\n"));
}

TEST_F(SerialLine, CommandSentRightBeforeLogoutArrives)
{
    // The close's purge must not take back what a completed write delivered.
    // The loss is a race with the pseudo-terminal's delivery, hence a series.
    QByteArray sent;
    for (int i = 0; i < 50; ++i) {
        const QByteArray command = "ATT 0 " + QByteArray::number(100 + i);
        Line.Send(command);
        ASSERT_EQ(Sock()->LastError(), 0);
        Line.Logout();
        sent += command + CrLf;
        ASSERT_TRUE(Line.Login());
    }
    EXPECT_EQ(Pty.ReadAtLeast(static_cast<int>(sent.size()), 5000), sent);
}

TEST_F(SerialLine, ReLoginDiscardsPendingInput)
{
    Line.SetTimeOut(50);
    Pty.Write("stale\r\npart");
    WaitQueued(11);
    EXPECT_EQ(Line.RecvString(), QByteArray("stale"));
    Line.RecvString(); // "part" now waits in the line buffer
    ASSERT_EQ(Sock()->LineBuffer(), QByteArray("part"));
    Pty.Write("more\r\n");
    WaitQueued(6);

    ASSERT_TRUE(Line.Login());
    EXPECT_TRUE(Sock()->LineBuffer().isEmpty());
    EXPECT_EQ(Sock()->WaitingData(), 0);
    Pty.Write("IDN A\r\n");
    Line.SetTimeOut(5000);
    EXPECT_EQ(Line.RecvString(), QByteArray("IDN A"));
}

TEST_F(SerialLine, LoginConfiguresTheRackLine)
{
    termios t{};
    ASSERT_EQ(::tcgetattr(Pty.DeviceFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B38400);
    EXPECT_EQ(cfgetispeed(&t), B38400);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INPCK), tcflag_t(0));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
    EXPECT_EQ(t.c_oflag & OPOST, tcflag_t(0));
    EXPECT_EQ(Sock()->Dcb().XonChar, 17);
    EXPECT_EQ(Sock()->Dcb().XoffChar, 19);
    EXPECT_EQ(Sock()->Dcb().XonLim, 1024);
}

TEST_F(SerialLine, HeldPortCannotBeOpenedUntilReleased)
{
    TRadioRackSend other;
    other.SetLoginPause(1);
    other.SetTargetPort(Pty.Path());
    EXPECT_FALSE(other.Login());
    EXPECT_EQ(other.Sock()->LastError(), EBUSY);
    EXPECT_EQ(other.Sock()->LastErrorDesc(), QStringLiteral("Device or resource busy"));
    EXPECT_FALSE(other.Sock()->InstanceActive());

    Line.Logout();
    EXPECT_TRUE(other.Login()) << other.Sock()->LastErrorDesc().toStdString();
}

TEST_F(SerialLine, VanishedDeviceFailsWithItsCodeAtOnce)
{
    Pty.CloseMaster();
    // A 30 s time-out: a hang would show as 9997, not as the device's code.
    Line.SetTimeOut(30000);
    EXPECT_EQ(Line.RecvString(), QByteArray());
    EXPECT_EQ(Sock()->LastError(), EIO);
    Line.Send("STA?");
    EXPECT_EQ(Sock()->LastError(), EIO);
    EXPECT_EQ(Sock()->LastErrorDesc(), QString::fromLocal8Bit(std::strerror(EIO)));
}

TEST_F(SerialLine, ReadOfAVanishedDeviceFailsWithItsCode)
{
    // A device gone between the byte count and the read: the hung-up line
    // stays readable while every read returns 0. A spin would end in 9997.
    Pty.CloseMaster();
    Sock()->SetDeadlockTimeout(3000);
    char buf[8];
    EXPECT_EQ(Sock()->RecvBuffer(buf, sizeof buf), 0);
    EXPECT_EQ(Sock()->LastError(), EIO);
}

TEST_F(SerialLine, ConnectOnAnOpenPortIsRefused)
{
    Sock()->Connect(Pty.Path());
    EXPECT_EQ(Sock()->LastError(), ErrAlreadyInUse);
    EXPECT_TRUE(Sock()->InstanceActive());
}

TEST(SerialPort, TransfersOnAClosedPortFailWithNotConnected)
{
    TBlockSerial sock;
    char buf[4];
    EXPECT_EQ(sock.SendBuffer("ab", 2), 0);
    EXPECT_EQ(sock.LastError(), ErrPortNotOpen);
    sock.SetSynaError(0);
    EXPECT_EQ(sock.RecvBuffer(buf, 4), 0);
    EXPECT_EQ(sock.LastError(), ErrPortNotOpen);
    sock.SetSynaError(0);
    EXPECT_TRUE(sock.RecvPacket(10).isEmpty());
    EXPECT_EQ(sock.LastError(), ErrPortNotOpen);
    sock.SetSynaError(0);
    EXPECT_TRUE(sock.RecvTerminated(10, CrLf).isEmpty());
    EXPECT_EQ(sock.LastError(), ErrPortNotOpen);
    EXPECT_EQ(sock.LastErrorDesc(), QStringLiteral("Instance not yet connected"));
}

TEST(SerialPort, MissingPortFailsWithTheSystemsCodeAndText)
{
    TRadioRackSend line;
    line.SetLoginPause(1);
    line.SetTargetPort(QStringLiteral("/dev/quenta-no-such-port"));
    EXPECT_FALSE(line.Login());
    EXPECT_EQ(line.Sock()->LastError(), ENOENT);
    EXPECT_EQ(line.Sock()->LastErrorDesc(), QStringLiteral("No such file or directory"));
    EXPECT_FALSE(line.Sock()->InstanceActive());
}

TEST(SerialPort, ComNamesResolveThroughThePortMap)
{
    TPtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    struct TCase
    {
        const char *name;
        int comNr;
    };
    for (const TCase &c : {TCase{"com4", 3}, TCase{"COM12", 11}, TCase{"Com1", 0}}) {
        SCOPED_TRACE(c.name);
        TPortMap map;
        map.Set(c.comNr + 1, pty.Path());
        TBlockSerial sock;
        sock.SetPortMap(map);
        sock.Connect(QString::fromLatin1(c.name));
        EXPECT_EQ(sock.LastError(), 0);
        EXPECT_TRUE(sock.InstanceActive());
        EXPECT_EQ(sock.Device(), pty.Path());
        EXPECT_EQ(sock.ComNr(), c.comNr);
    }
}

TEST(SerialPort, NamesWithoutAPortNumberOpenUnderTheirOwnName)
{
    struct TCase
    {
        const char *name;
        const char *device;
    };
    // An empty map: COMn falls back to the USB adapters' device names.
    for (const TCase &c : {TCase{"COM0", "COM0"}, TCase{"COMX", "COMX"}, TCase{"com9", "/dev/ttyUSB8"},
                           TCase{"/dev/quenta-none", "/dev/quenta-none"}}) {
        SCOPED_TRACE(c.name);
        TBlockSerial sock;
        sock.Connect(QString::fromLatin1(c.name));
        EXPECT_EQ(sock.Device(), QString::fromLatin1(c.device));
        EXPECT_EQ(sock.LastError(), ENOENT);
        EXPECT_FALSE(sock.InstanceActive());
    }
}

TEST(SerialPort, ErrorTexts)
{
    struct TCase
    {
        int code;
        const char *text;
    };
    for (const TCase &c : {TCase{0, "OK"}, TCase{9991, "Port owned by other process"},
                           TCase{9992, "Instance already in use"}, TCase{9993, "Wrong parameter at call"},
                           TCase{9994, "Instance not yet connected"}, TCase{9995, "No device answer detected"},
                           TCase{9996, "Maximal buffer length exceeded"}, TCase{9997, "Timeout during operation"},
                           TCase{9998, "Reading of data failed"}, TCase{9999, "Receive framing error"},
                           TCase{10000, "Receive Overrun Error"}, TCase{10001, "Receive Queue overflow"},
                           TCase{10002, "Receive Parity Error"}, TCase{10003, "Tranceive Queue is full"},
                           TCase{EBUSY, "Device or resource busy"}})
        EXPECT_EQ(TBlockSerial::GetErrorDesc(c.code), QString::fromLatin1(c.text)) << c.code;
}

TEST(PortMap, OptionsAndDefaults)
{
    TPortMap map;
    EXPECT_EQ(map.DevicePath(1), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(map.AddOption(QStringLiteral("com3=/dev/ttyACM0")));
    EXPECT_EQ(map.DevicePath(3), QStringLiteral("/dev/ttyACM0"));
    for (const char *bad : {"COM3", "=x", "COM0=/dev/x", "FOO1=/dev/x", "COM2="})
        EXPECT_FALSE(map.AddOption(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(map.Entries().size(), 1);
}

} // namespace
