#include "tests/rack/PtyPair.h"

#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

TPtyPair::TPtyPair()
{
    FMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char name[128] = {};
    if (FMaster < 0 || ::grantpt(FMaster) != 0 || ::unlockpt(FMaster) != 0
        || ::ptsname_r(FMaster, name, sizeof name) != 0) {
        CloseMaster();
        return;
    }
    FPath = QString::fromLocal8Bit(name);
    FKeep = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    if (FKeep >= 0 && ::tcgetattr(FKeep, &t) == 0) {
        cfmakeraw(&t);
        ::tcsetattr(FKeep, TCSANOW, &t);
    }
}

TPtyPair::~TPtyPair()
{
    CloseMaster();
    if (FKeep >= 0)
        ::close(FKeep);
}

void TPtyPair::Write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (FMaster >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(FMaster, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        pollfd p{FMaster, POLLOUT, 0};
        if (::poll(&p, 1, 10000) <= 0)
            return;
    }
}

QByteArray TPtyPair::ReadAvailable()
{
    QByteArray out;
    char buf[4096];
    for (;;) {
        const ssize_t n = FMaster >= 0 ? ::read(FMaster, buf, sizeof buf) : -1;
        if (n <= 0)
            return out;
        out.append(buf, n);
    }
}

QByteArray TPtyPair::ReadAtLeast(int count, int timeoutMs)
{
    QByteArray out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{FMaster, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0)
            out += ReadAvailable();
    }
    return out;
}

void TPtyPair::CloseMaster()
{
    if (FMaster >= 0)
        ::close(FMaster);
    FMaster = -1;
}
