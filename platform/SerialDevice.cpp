#include "platform/SerialDevice.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct TSpeed
{
    uint32_t baud;
    speed_t code;
};

const TSpeed Speeds[] = {
    {50, B50},       {75, B75},       {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},     {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},   {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool NoModemLines(int err)
{
    // Pseudo-terminals and some adapters have no modem lines at all.
    return err == ENOTTY || err == EINVAL || err == ENOTSUP;
}

} // namespace

TSerialDevice::~TSerialDevice()
{
    Close();
}

int TSerialDevice::Open(const QString &path)
{
    if (FFd >= 0)
        return EBUSY;
    const QByteArray native = path.toLocal8Bit();
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // flock first: it holds for root too, and a failure must not leave our
    // TIOCEXCL on a terminal that someone else opened without it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return (err == EWOULDBLOCK || err == EAGAIN) ? EBUSY : err;
    }
    (void)::ioctl(fd, TIOCEXCL);
    FFd = fd;
    FCounters = ReadCounters(FCounts);
    return 0;
}

void TSerialDevice::Close()
{
    if (FFd < 0)
        return;
    // Exclusivity outlives our descriptor while another one stays open.
    (void)::ioctl(FFd, TIOCNXCL);
    (void)::flock(FFd, LOCK_UN);
    ::close(FFd);
    FFd = -1;
    FCounters = false;
}

int TSerialDevice::GetCommState(TDCB &dcb) const
{
    termios t{};
    if (::tcgetattr(FFd, &t) != 0)
        return errno;
    dcb.DCBlength = 28;
    const speed_t code = cfgetospeed(&t);
    dcb.BaudRate = 0;
    for (const TSpeed &s : Speeds)
        if (s.code == code)
            dcb.BaudRate = s.baud;
    switch (t.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = TDCB::NoParity;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? TDCB::MarkParity : TDCB::SpaceParity;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? TDCB::OddParity : TDCB::EvenParity;
    dcb.StopBits = (t.c_cflag & CSTOPB) ? TDCB::TwoStopBits : TDCB::OneStopBit;
    dcb.fBinary = !(t.c_lflag & ICANON);
    dcb.fParity = (t.c_iflag & INPCK) != 0;
    dcb.fOutX = (t.c_iflag & IXON) != 0;
    dcb.fInX = (t.c_iflag & IXOFF) != 0;
    dcb.fOutxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
    dcb.fRtsControl = dcb.fOutxCtsFlow ? TDCB::RtsControlHandshake : TDCB::RtsControlEnable;
    dcb.fDtrControl = TDCB::DtrControlEnable;
    dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    return 0;
}

int TSerialDevice::SetCommState(const TDCB &dcb)
{
    speed_t code = 0;
    bool known = false;
    for (const TSpeed &s : Speeds)
        if (s.baud == dcb.BaudRate) {
            code = s.code;
            known = true;
        }
    if (!known || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > TDCB::SpaceParity)
        return EINVAL;
    termios t{};
    if (::tcgetattr(FFd, &t) != 0)
        return errno;
    // Binary: no line editing, no translation, no signals, no echo.
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[dcb.ByteSize - 5];
    switch (dcb.Parity) {
    case TDCB::OddParity: t.c_cflag |= PARENB | PARODD; break;
    case TDCB::EvenParity: t.c_cflag |= PARENB; break;
    case TDCB::MarkParity: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case TDCB::SpaceParity: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (dcb.StopBits != TDCB::OneStopBit)
        t.c_cflag |= CSTOPB;
    if (dcb.fParity && dcb.Parity != TDCB::NoParity)
        t.c_iflag |= INPCK;
    if (dcb.fOutX)
        t.c_iflag |= IXON;
    if (dcb.fInX)
        t.c_iflag |= IXOFF;
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == TDCB::RtsControlHandshake)
        t.c_cflag |= CRTSCTS;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    // Reads return what is there; the waits are poll's.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, code);
    cfsetospeed(&t, code);
    if (::tcsetattr(FFd, TCSANOW, &t) != 0)
        return errno;
    return 0;
}

int TSerialDevice::SetModemLine(int line, bool raise)
{
    int bits = line == RtsLine ? TIOCM_RTS : TIOCM_DTR;
    if (::ioctl(FFd, raise ? TIOCMBIS : TIOCMBIC, &bits) != 0) {
        const int err = errno;
        return NoModemLines(err) ? 0 : err;
    }
    return 0;
}

int TSerialDevice::PurgeInput()
{
    return ::tcflush(FFd, TCIFLUSH) == 0 ? 0 : errno;
}

int TSerialDevice::PurgeOutput()
{
    return ::tcflush(FFd, TCOFLUSH) == 0 ? 0 : errno;
}

int TSerialDevice::Purge()
{
    int err = PurgeInput();
    // The output is flushed only while the driver still holds bytes: on a
    // pseudo-terminal the flush would also take back what the far end has
    // not read yet, bytes a completed write has delivered.
    int queued = 0;
    if (::ioctl(FFd, TIOCOUTQ, &queued) != 0 || queued > 0) {
        const int outErr = PurgeOutput();
        if (err == 0)
            err = outErr;
    }
    return err;
}

void TSerialDevice::DrainOutput(int maxMs)
{
    // Bounded: a stalled adapter must not hold a close.
    for (int waited = 0; waited < maxMs; ++waited) {
        int queued = 0;
        if (::ioctl(FFd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            return;
        ::usleep(1000);
    }
}

int TSerialDevice::BytesWaiting(int &count) const
{
    count = 0;
    int n = 0;
    if (::ioctl(FFd, FIONREAD, &n) != 0)
        return errno;
    count = n > 0 ? n : 0;
    return 0;
}

bool TSerialDevice::ReadCounters(int counts[4]) const
{
    serial_icounter_struct ic{};
    if (FFd < 0 || ::ioctl(FFd, TIOCGICOUNT, &ic) != 0)
        return false;
    counts[0] = ic.frame;
    counts[1] = ic.overrun;
    counts[2] = ic.buf_overrun;
    counts[3] = ic.parity;
    return true;
}

TLineErrors TSerialDevice::TakeLineErrors()
{
    TLineErrors e;
    int now[4] = {};
    if (!FCounters || !ReadCounters(now))
        return e;
    e.Frame = now[0] != FCounts[0];
    e.Overrun = now[1] != FCounts[1];
    e.RxOver = now[2] != FCounts[2];
    e.Parity = now[3] != FCounts[3];
    std::memcpy(FCounts, now, sizeof now);
    return e;
}

TSerialDevice::TWait TSerialDevice::WaitFor(bool readable, int timeoutMs, int &err) const
{
    err = 0;
    if (FFd < 0) {
        err = EBADF;
        return Failed;
    }
    pollfd p{FFd, static_cast<short>(readable ? POLLIN : POLLOUT), 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return Failed;
        }
        if (r == 0)
            return Timeout;
        // Bytes still queued on a hung-up line are delivered first.
        if (p.revents & (readable ? POLLIN : POLLOUT))
            return Ready;
        err = EIO;
        return Hangup;
    }
}

ssize_t TSerialDevice::ReadSome(void *buffer, size_t length, int &err)
{
    err = 0;
    for (;;) {
        const ssize_t n = ::read(FFd, buffer, length);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        err = errno == EWOULDBLOCK ? EAGAIN : errno;
        return -1;
    }
}

ssize_t TSerialDevice::WriteSome(const void *buffer, size_t length, int &err)
{
    err = 0;
    for (;;) {
        const ssize_t n = ::write(FFd, buffer, length);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        err = errno == EWOULDBLOCK ? EAGAIN : errno;
        return -1;
    }
}

QString TSerialDevice::ErrorText(int err)
{
    char buf[256];
    // GNU strerror_r: returns the text, which may or may not be buf.
    const char *text = ::strerror_r(err, buf, sizeof buf);
    return QString::fromLocal8Bit(text);
}
