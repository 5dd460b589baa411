#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

#include <sys/types.h>

// The device-control block of a serial port: the fields the rack line sets,
// mapped onto termios by TSerialDevice.
struct TDCB
{
    enum { DtrControlDisable = 0, DtrControlEnable = 1, DtrControlHandshake = 2 };
    enum { RtsControlDisable = 0, RtsControlEnable = 1, RtsControlHandshake = 2 };
    enum { NoParity = 0, OddParity = 1, EvenParity = 2, MarkParity = 3, SpaceParity = 4 };
    enum { OneStopBit = 0, One5StopBits = 1, TwoStopBits = 2 };

    uint32_t DCBlength = 0;
    uint32_t BaudRate = 0;
    bool fBinary = false;
    bool fParity = false;
    bool fOutxCtsFlow = false;
    bool fOutX = false;
    bool fInX = false;
    uint8_t fDtrControl = DtrControlDisable;
    uint8_t fRtsControl = RtsControlDisable;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = NoParity;
    uint8_t StopBits = OneStopBit;
    char XonChar = 0;
    char XoffChar = 0;
};

// Line errors seen since the previous call.
struct TLineErrors
{
    bool Frame = false;
    bool Overrun = false;
    bool RxOver = false;
    bool Parity = false;
    bool TxFull = false;
};

// A POSIX serial device, opened exclusively, read and written without
// blocking. Every call that can fail returns 0 or an errno. A device that
// vanishes (USB unplug, the far end of a pseudo-terminal closing) makes the
// waits report Hangup at once: never a hang, never a busy loop.
class TSerialDevice
{
public:
    enum TWait { Ready, Timeout, Hangup, Failed };

    TSerialDevice() = default;
    ~TSerialDevice();
    TSerialDevice(const TSerialDevice &) = delete;
    TSerialDevice &operator=(const TSerialDevice &) = delete;

    // EBUSY when another program holds the device.
    int Open(const QString &path);
    void Close();
    bool IsOpen() const { return FFd >= 0; }
    int Fd() const { return FFd; }

    int GetCommState(TDCB &dcb) const;
    int SetCommState(const TDCB &dcb);
    // Raises or lowers RTS / DTR; a device without modem lines is fine.
    int SetRts(bool raise) { return SetModemLine(RtsLine, raise); }
    int SetDtr(bool raise) { return SetModemLine(DtrLine, raise); }
    int PurgeInput();
    int PurgeOutput();
    // Empties the input, and the output while the driver still holds bytes.
    int Purge();
    // Waits (at most maxMs) until the driver has sent what it holds.
    void DrainOutput(int maxMs);
    int BytesWaiting(int &count) const;
    TLineErrors TakeLineErrors();

    // Waits at most timeoutMs (0 = just look). err is set with Failed/Hangup.
    TWait WaitReadable(int timeoutMs, int &err) const { return WaitFor(true, timeoutMs, err); }
    TWait WaitWritable(int timeoutMs, int &err) const { return WaitFor(false, timeoutMs, err); }
    // Moves what can be moved now: a count, or -1 with err (EAGAIN: nothing now).
    ssize_t ReadSome(void *buffer, size_t length, int &err);
    ssize_t WriteSome(const void *buffer, size_t length, int &err);

    static QString ErrorText(int err);

private:
    enum { RtsLine = 1, DtrLine = 2 };
    int SetModemLine(int line, bool raise);
    TWait WaitFor(bool readable, int timeoutMs, int &err) const;
    bool ReadCounters(int counts[4]) const;

    int FFd = -1;
    bool FCounters = false;
    int FCounts[4] = {}; // frame, overrun, buffer overrun, parity
};
