#pragma once

#include "rack/uRadioRackV2Types.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Misbehaviours of the simulated rack, switchable at any time.
struct TRackSimFaults
{
    bool Silent = false;        // reads and logs, never answers
    bool WrongIdentity = false; // "IDN?" gets a line that is neither identity nor mode
    bool WrongStatus = false;   // "STA?" gets a line that is not a status reply
    bool Noise = false;         // queries get a burst of bytes without CR LF
    bool Pieces = false;        // replies come in small pieces with pauses
};

struct TRackSimOptions
{
    int Atts = 2;
    int Max = 935;
    QString Id = QStringLiteral("QSIM01");
    QString Version = QStringLiteral("1.0");
    TStartAtt StartAtt = StartAttMax;
    // When set, a symbolic link to the current device, kept across replugs.
    QString LinkPath;
    TRackSimFaults Faults;
    int PieceSize = 4;
    int PieceDelayMs = 40;
    int NoiseBytes = 5000;
};

// A Quenta rack behind a pseudo-terminal, served by a thread of its own, so
// it answers while the caller's thread is blocked (modal dialogs, tests
// waiting on the worker). Any thread may call any method.
class TRackSimulator
{
public:
    struct TLine
    {
        QByteArray Text; // without its line end
        std::chrono::steady_clock::time_point At; // when its last byte arrived
    };

    explicit TRackSimulator(const TRackSimOptions &options = {});
    ~TRackSimulator();
    TRackSimulator(const TRackSimulator &) = delete;
    TRackSimulator &operator=(const TRackSimulator &) = delete;

    bool Start(QString *error = nullptr);
    void Stop();
    bool IsRunning() const;

    // The pseudo-terminal in use now; empty while unplugged.
    QString DevicePath() const;
    // What a program should open: the link when there is one.
    QString PortPath() const;

    TRackSimFaults Faults() const;
    void SetFaults(const TRackSimFaults &faults);
    // Sends a line (CR LF added) nobody asked for.
    bool SendUnsolicited(const QByteArray &line);
    // Closes the device: the program's side sees a hang-up, the path vanishes.
    bool Unplug();
    // A new device behind the same link.
    bool Replug(QString *error = nullptr);
    bool IsPlugged() const;

    std::vector<TLine> ReceivedLines() const;
    QStringList ReceivedTexts() const;
    int CountReceived(const QByteArray &text) const;
    void ClearReceived();
    // Waits until at least count lines have been received in total.
    bool WaitForReceived(int count, int timeoutMs) const;

    int Att(int channel) const;
    TStartAtt StartAtt() const;
    QString Id() const;

    // Called on the simulator's thread for each line received (for logging).
    std::function<void(const TLine &)> OnLine;

private:
    struct TChunk
    {
        QByteArray Bytes;
        std::chrono::steady_clock::time_point Due;
    };

    void Run();
    bool OnSimThread(std::function<bool()> fn);
    bool OpenDevice(QString &error);
    void CloseDevice();
    bool UpdateLink(QString &error);
    void ReadInput();
    void FlushOutput();
    void HandleLine(const QByteArray &line);
    void Reply(const QByteArray &line);
    void QueueBytes(const QByteArray &bytes, bool inPieces);
    QByteArray IdentityReply() const;
    QByteArray StatusReply() const;
    void ApplyAtt(const QByteArray &line);

    TRackSimOptions FOptions;
    mutable std::mutex FMutex;
    mutable std::condition_variable FReceivedCond;
    std::thread FThread;
    bool FStop = false;
    int FWakeFd = -1;
    std::deque<std::function<void()>> FRequests;

    // Simulator thread only, apart from the paths and state under FMutex.
    int FMaster = -1;
    int FSlaveKeep = -1; // keeps the master from seeing hang-ups between opens
    QString FDevicePath;
    QByteArray FInput;
    std::deque<TChunk> FOutput;

    TRackSimFaults FFaults;
    int FAtt[2] = {0, 0};
    TStartAtt FStartAtt;
    QString FId;
    std::vector<TLine> FReceived;
};
