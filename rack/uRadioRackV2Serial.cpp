#include "rack/uRadioRackV2Serial.h"

#include "platform/Clock.h"
#include "rack/uRadioRackV2Types.h"

#include <algorithm>
#include <cerrno>

#include <sched.h>

namespace {

// Waits longer than this are cut into slices so an abort is seen quickly.
constexpr int AbortSliceMs = 25;
// A command of a few dozen bytes leaves at 38400 baud in a few ms.
constexpr int CloseDrainMs = 100;

uint32_t ElapsedSince(uint32_t start)
{
    return GetTickCountMs() - start;
}

} // namespace

TBlockSerial::~TBlockSerial()
{
    CloseSocket();
}

QString TBlockSerial::GetErrorDesc(int errorCode)
{
    switch (errorCode) {
    case 0: return QStringLiteral("OK");
    case ErrAlreadyOwned: return QStringLiteral("Port owned by other process");
    case ErrAlreadyInUse: return QStringLiteral("Instance already in use");
    case ErrWrongParameter: return QStringLiteral("Wrong parameter at call");
    case ErrPortNotOpen: return QStringLiteral("Instance not yet connected");
    case ErrNoDeviceAnswer: return QStringLiteral("No device answer detected");
    case ErrMaxBuffer: return QStringLiteral("Maximal buffer length exceeded");
    case ErrTimeout: return QStringLiteral("Timeout during operation");
    case ErrReadFailed: return QStringLiteral("Reading of data failed");
    case ErrFrame: return QStringLiteral("Receive framing error");
    case ErrOverrun: return QStringLiteral("Receive Overrun Error");
    case ErrRxOver: return QStringLiteral("Receive Queue overflow");
    case ErrRxParity: return QStringLiteral("Receive Parity Error");
    case ErrTxFull: return QStringLiteral("Tranceive Queue is full");
    default: return TSerialDevice::ErrorText(errorCode);
    }
}

void TBlockSerial::SetSynaError(int errorCode)
{
    FLastError = errorCode;
    FLastErrorDesc = GetErrorDesc(errorCode);
}

int TBlockSerial::SerialCheck(int result)
{
    const int code = result == -1 ? errno : 0;
    SetSynaError(code);
    return code;
}

void TBlockSerial::Connect(const QString &comPort)
{
    if (FInstanceActive) {
        SetSynaError(ErrAlreadyInUse);
        return;
    }
    FBuffer.clear();
    FDevice = comPort;
    FComNr = -1;
    int number = 0;
    if (ComNumberOf(comPort, number))
        FComNr = number - 1;
    if (FComNr != -1)
        FDevice = FPortMap.DevicePath(FComNr + 1);

    errno = 0;
    const int err = FDev.Open(FDevice);
    if (err != 0) {
        errno = err;
        SerialCheck(-1);
        FComNr = -1;
        return;
    }
    // The input-queue size and the driver time-outs have no POSIX
    // counterpart: the kernel's queue is larger, and every wait is poll's.
    SetSynaError(0);
    FInstanceActive = true;
    FDev.SetRts(true);
    FDev.SetDtr(true);
    Purge();
}

void TBlockSerial::Config(int baud, int bits, char parity, int stop, bool softflow, bool hardflow)
{
    FDCB = TDCB();
    GetCommState();
    FDCB.DCBlength = 28;
    FDCB.BaudRate = static_cast<uint32_t>(baud);
    FDCB.ByteSize = static_cast<uint8_t>(bits);
    switch (parity) {
    case 'N': case 'n': FDCB.Parity = TDCB::NoParity; break;
    case 'O': case 'o': FDCB.Parity = TDCB::OddParity; break;
    case 'E': case 'e': FDCB.Parity = TDCB::EvenParity; break;
    case 'M': case 'm': FDCB.Parity = TDCB::MarkParity; break;
    case 'S': case 's': FDCB.Parity = TDCB::SpaceParity; break;
    default: FDCB.Parity = TDCB::NoParity; break;
    }
    FDCB.StopBits = static_cast<uint8_t>(stop);
    FDCB.XonChar = 17;
    FDCB.XoffChar = 19;
    FDCB.XonLim = static_cast<uint16_t>(FRecvBuffer / 4);
    FDCB.XoffLim = static_cast<uint16_t>(FRecvBuffer / 4);
    FDCB.fBinary = true;
    FDCB.fOutX = softflow;
    FDCB.fInX = softflow;
    FDCB.fOutxCtsFlow = hardflow;
    FDCB.fRtsControl = hardflow ? TDCB::RtsControlHandshake : TDCB::RtsControlEnable;
    FDCB.fDtrControl = TDCB::DtrControlEnable;
    FDCB.fParity = FDCB.Parity != TDCB::NoParity;
    SetCommState();
}

void TBlockSerial::SetCommState()
{
    const int err = FDev.IsOpen() ? FDev.SetCommState(FDCB) : EBADF;
    errno = err;
    SerialCheck(err ? -1 : 0);
}

void TBlockSerial::GetCommState()
{
    const int err = FDev.IsOpen() ? FDev.GetCommState(FDCB) : EBADF;
    errno = err;
    SerialCheck(err ? -1 : 0);
}

void TBlockSerial::CloseSocket()
{
    if (FDev.IsOpen()) {
        // A write returns once the driver has the bytes; the purge must not
        // drop the last command before it is on the line.
        FDev.DrainOutput(CloseDrainMs);
        Purge();
        FDev.SetRts(false);
        FDev.SetDtr(false);
        FDev.Close();
    }
    FInstanceActive = false;
    FComNr = -1;
    SetSynaError(0);
}

void TBlockSerial::Purge()
{
    SetSynaError(0);
    if (FDev.IsOpen()) {
        const int err = FDev.Purge();
        if (err != 0)
            SetSynaError(err);
    }
    FBuffer.clear();
}

void TBlockSerial::DecodeLineErrors()
{
    if (!FDev.IsOpen())
        return;
    const TLineErrors e = FDev.TakeLineErrors();
    if (e.Frame)
        SetSynaError(ErrFrame);
    if (e.Overrun)
        SetSynaError(ErrOverrun);
    if (e.RxOver)
        SetSynaError(ErrRxOver);
    if (e.Parity)
        SetSynaError(ErrRxParity);
    if (e.TxFull)
        SetSynaError(ErrTxFull);
}

bool TBlockSerial::PreCheck()
{
    if (FInstanceActive && FDev.IsOpen())
        return true;
    SetSynaError(ErrPortNotOpen);
    return false;
}

TSerialDevice::TWait TBlockSerial::Wait(bool readable, int timeoutMs, int &err)
{
    const uint32_t start = GetTickCountMs();
    for (;;) {
        if (FAbortCheck && FAbortCheck()) {
            err = 0;
            return TSerialDevice::Timeout;
        }
        const int left = timeoutMs - static_cast<int>(ElapsedSince(start));
        const int slice = FAbortCheck ? std::min(left, AbortSliceMs) : left;
        const TSerialDevice::TWait w = readable ? FDev.WaitReadable(std::max(slice, 0), err)
                                                : FDev.WaitWritable(std::max(slice, 0), err);
        if (w != TSerialDevice::Timeout || slice >= left)
            return w;
    }
}

int TBlockSerial::SendBuffer(const char *buffer, int length)
{
    if (!PreCheck())
        return 0;
    SetSynaError(0);
    int written = 0;
    const uint32_t start = GetTickCountMs();
    while (written < length) {
        int err = 0;
        const ssize_t n = FDev.WriteSome(buffer + written, static_cast<size_t>(length - written), err);
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && err != EAGAIN) {
            SetSynaError(err);
            break;
        }
        const int left = FDeadlockTimeout - static_cast<int>(ElapsedSince(start));
        const TSerialDevice::TWait w = left > 0 ? Wait(false, left, err) : TSerialDevice::Timeout;
        if (w == TSerialDevice::Timeout) {
            FDev.PurgeOutput();
            SetSynaError(ErrTimeout);
            break;
        }
        if (w != TSerialDevice::Ready) {
            SetSynaError(err ? err : EIO);
            break;
        }
    }
    DecodeLineErrors();
    return written;
}

void TBlockSerial::SendString(const QByteArray &data)
{
    SendBuffer(data.constData(), static_cast<int>(data.size()));
}

int TBlockSerial::WaitingData()
{
    int count = 0;
    const int err = FDev.IsOpen() ? FDev.BytesWaiting(count) : EBADF;
    SetSynaError(err);
    return err ? 0 : count;
}

bool TBlockSerial::CanRead(int timeout)
{
    if (WaitingData() > 0)
        return true;
    SetSynaError(0);
    int err = 0;
    const TSerialDevice::TWait w = Wait(true, timeout, err);
    if (w == TSerialDevice::Ready)
        return true;
    if (w != TSerialDevice::Timeout) {
        // A vanished device: its code, so the caller reconnects.
        SetSynaError(err ? err : EIO);
        return false;
    }
    return WaitingData() > 0;
}

int TBlockSerial::RecvBuffer(char *buffer, int length)
{
    if (!PreCheck())
        return 0;
    SetSynaError(0);
    int got = 0;
    bool readable = false;
    const uint32_t start = GetTickCountMs();
    while (got < length) {
        int err = 0;
        const ssize_t n = FDev.ReadSome(buffer + got, static_cast<size_t>(length - got), err);
        if (n > 0) {
            got += static_cast<int>(n);
            readable = false;
            continue;
        }
        if (n < 0 && err != EAGAIN) {
            SetSynaError(err);
            break;
        }
        if (n == 0 && readable) {
            // A hung-up line stays readable and yields nothing, for ever.
            int count = 0;
            const int gone = FDev.BytesWaiting(count);
            SetSynaError(gone ? gone : EIO);
            break;
        }
        // 0 is "nothing now" or "hung up": poll tells which.
        const int left = FDeadlockTimeout - static_cast<int>(ElapsedSince(start));
        const TSerialDevice::TWait w = left > 0 ? Wait(true, left, err) : TSerialDevice::Timeout;
        if (w == TSerialDevice::Timeout) {
            FDev.PurgeInput();
            SetSynaError(ErrTimeout);
            break;
        }
        if (w != TSerialDevice::Ready) {
            SetSynaError(err ? err : EIO);
            break;
        }
        readable = true;
    }
    DecodeLineErrors();
    return got;
}

QByteArray TBlockSerial::RecvPacket(int timeout)
{
    QByteArray result;
    if (!PreCheck())
        return result;
    SetSynaError(0);
    if (!FBuffer.isEmpty()) {
        result.swap(FBuffer);
        return result;
    }
    sched_yield();
    int n = WaitingData();
    if (n <= 0 && FLastError == 0) {
        if (CanRead(timeout)) {
            n = WaitingData();
            if (n == 0 && FLastError == 0)
                SetSynaError(ErrTimeout);
        } else if (FLastError == 0) {
            SetSynaError(ErrTimeout);
        }
    }
    if (n > 0 && FLastError == 0) {
        result.resize(n);
        const int got = RecvBuffer(result.data(), n);
        result.resize(got);
    }
    return result;
}

QByteArray TBlockSerial::RecvTerminated(int timeout, const QByteArray &terminator)
{
    QByteArray result;
    if (terminator.isEmpty())
        return result;
    if (!PreCheck())
        return result;
    SetSynaError(0);
    QByteArray work;
    const uint32_t start = GetTickCountMs();
    const int64_t totalBound = int64_t(LineTimeoutFactor) * std::max(timeout, 0);
    qsizetype pos = -1;
    for (;;) {
        work += RecvPacket(timeout);
        if (FLastError != 0)
            break;
        pos = work.indexOf(terminator);
        if (pos >= 0)
            break;
        if (work.size() >= MaxLineLength) {
            // Noise or a wrong speed: keep only what could start a terminator.
            work = work.right(terminator.size() - 1);
            SetSynaError(ErrMaxBuffer);
            break;
        }
        if (int64_t(ElapsedSince(start)) >= totalBound) {
            SetSynaError(ErrTimeout);
            break;
        }
    }
    if (pos >= 0) {
        result = work.left(pos);
        work.remove(0, pos + terminator.size());
    }
    FBuffer = work;
    return result;
}
