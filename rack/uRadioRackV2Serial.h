#pragma once

#include "platform/SerialDevice.h"
#include "rack/uRadioRackV2PortMap.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The serial port: opens a port by name, configures it, writes bytes and
// reads terminated lines with a time-out. Every failure is a code in
// LastError with its text in LastErrorDesc; nothing is raised.
class TBlockSerial
{
public:
    // A line read also ends after this many time-outs' worth of time in total,
    // and when this many bytes arrive without the terminator.
    static constexpr int LineTimeoutFactor = 4;
    static constexpr int MaxLineLength = 4096;

    TBlockSerial() = default;
    virtual ~TBlockSerial();
    TBlockSerial(const TBlockSerial &) = delete;
    TBlockSerial &operator=(const TBlockSerial &) = delete;

    virtual void CloseSocket();
    virtual void Config(int baud, int bits, char parity, int stop, bool softflow, bool hardflow);
    virtual void Connect(const QString &comPort);
    virtual void SetCommState();
    virtual void GetCommState();
    virtual int SendBuffer(const char *buffer, int length);
    virtual void SendString(const QByteArray &data);
    virtual int RecvBuffer(char *buffer, int length);
    virtual QByteArray RecvPacket(int timeout);
    virtual QByteArray RecvTerminated(int timeout, const QByteArray &terminator);
    virtual int WaitingData();
    virtual void Purge();
    virtual bool CanRead(int timeout);
    virtual int SerialCheck(int result);
    virtual void SetSynaError(int errorCode);

    static QString GetErrorDesc(int errorCode);

    // Which device each COMn opens.
    void SetPortMap(const TPortMap &map) { FPortMap = map; }
    // Polled during every wait: true ends the wait as a time-out (9997), so a
    // thread asked to stop is not held by a long read.
    void SetAbortCheck(std::function<bool()> check) { FAbortCheck = std::move(check); }

    int Handle() const { return FDev.Fd(); }
    QString Device() const { return FDevice; }
    int ComNr() const { return FComNr; }
    bool InstanceActive() const { return FInstanceActive; }
    QByteArray LineBuffer() const { return FBuffer; }
    int LastError() const { return FLastError; }
    QString LastErrorDesc() const { return FLastErrorDesc; }
    int SizeRecvBuffer() const { return FRecvBuffer; }
    int DeadlockTimeout() const { return FDeadlockTimeout; }
    void SetDeadlockTimeout(int ms) { FDeadlockTimeout = ms; }
    bool InterPacketTimeout() const { return FInterPacketTimeout; }
    const TDCB &Dcb() const { return FDCB; }

private:
    // Waits for the device; Timeout also when aborted.
    TSerialDevice::TWait Wait(bool readable, int timeoutMs, int &err);
    void DecodeLineErrors();
    bool PreCheck();

    TSerialDevice FDev;
    TPortMap FPortMap;
    std::function<bool()> FAbortCheck;
    QString FDevice;
    int FComNr = -1;
    bool FInstanceActive = false;
    QByteArray FBuffer;
    int FLastError = 0;
    QString FLastErrorDesc = QStringLiteral("OK");
    int FRecvBuffer = 4096;
    int FDeadlockTimeout = 30000;
    bool FInterPacketTimeout = true;
    TDCB FDCB;
};
