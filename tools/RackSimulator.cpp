#include "tools/RackSimulator.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

QString ErrnoText(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

TRackSimulator::TRackSimulator(const TRackSimOptions &options)
    : FOptions(options)
    , FFaults(options.Faults)
    , FStartAtt(options.StartAtt)
    , FId(options.Id)
{
    FOptions.Atts = std::clamp(FOptions.Atts, 1, 2);
}

TRackSimulator::~TRackSimulator()
{
    Stop();
}

bool TRackSimulator::Start(QString *error)
{
    if (FThread.joinable())
        return true;
    QString err;
    FWakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (FWakeFd < 0) {
        if (error)
            *error = ErrnoText("eventfd");
        return false;
    }
    if (!OpenDevice(err) || !UpdateLink(err)) {
        CloseDevice();
        ::close(FWakeFd);
        FWakeFd = -1;
        if (error)
            *error = err;
        return false;
    }
    FStop = false;
    FThread = std::thread([this] { Run(); });
    return true;
}

void TRackSimulator::Stop()
{
    if (FThread.joinable()) {
        {
            std::lock_guard<std::mutex> l(FMutex);
            FStop = true;
        }
        FReceivedCond.notify_all();
        const uint64_t one = 1;
        (void)!::write(FWakeFd, &one, sizeof one);
        FThread.join();
    }
    CloseDevice();
    if (!FOptions.LinkPath.isEmpty() && QFileInfo(FOptions.LinkPath).isSymLink())
        QFile::remove(FOptions.LinkPath);
    if (FWakeFd >= 0) {
        ::close(FWakeFd);
        FWakeFd = -1;
    }
}

bool TRackSimulator::IsRunning() const
{
    return FThread.joinable();
}

QString TRackSimulator::DevicePath() const
{
    std::lock_guard<std::mutex> l(FMutex);
    return FDevicePath;
}

QString TRackSimulator::PortPath() const
{
    return FOptions.LinkPath.isEmpty() ? DevicePath() : FOptions.LinkPath;
}

TRackSimFaults TRackSimulator::Faults() const
{
    std::lock_guard<std::mutex> l(FMutex);
    return FFaults;
}

void TRackSimulator::SetFaults(const TRackSimFaults &faults)
{
    std::lock_guard<std::mutex> l(FMutex);
    FFaults = faults;
}

bool TRackSimulator::OnSimThread(std::function<bool()> fn)
{
    if (!FThread.joinable() || std::this_thread::get_id() == FThread.get_id())
        return fn();
    struct TDone
    {
        bool Finished = false;
        bool Result = false;
    };
    auto done = std::make_shared<TDone>();
    std::unique_lock<std::mutex> l(FMutex);
    if (FStop)
        return false;
    FRequests.push_back([this, fn, done] {
        const bool result = fn();
        std::lock_guard<std::mutex> g(FMutex);
        done->Result = result;
        done->Finished = true;
        FReceivedCond.notify_all();
    });
    const uint64_t one = 1;
    (void)!::write(FWakeFd, &one, sizeof one);
    FReceivedCond.wait(l, [&] { return done->Finished || FStop; });
    return done->Finished && done->Result;
}

bool TRackSimulator::SendUnsolicited(const QByteArray &line)
{
    return OnSimThread([this, line] {
        if (FMaster < 0)
            return false;
        QueueBytes(line + "\r\n", false);
        return true;
    });
}

bool TRackSimulator::Unplug()
{
    return OnSimThread([this] {
        if (FMaster < 0)
            return false;
        CloseDevice();
        QString err;
        return UpdateLink(err);
    });
}

bool TRackSimulator::Replug(QString *error)
{
    QString err;
    const bool ok = OnSimThread([this, &err] {
        CloseDevice();
        return OpenDevice(err) && UpdateLink(err);
    });
    if (!ok && error)
        *error = err.isEmpty() ? QStringLiteral("simulator not running") : err;
    return ok;
}

bool TRackSimulator::IsPlugged() const
{
    return !DevicePath().isEmpty();
}

std::vector<TRackSimulator::TLine> TRackSimulator::ReceivedLines() const
{
    std::lock_guard<std::mutex> l(FMutex);
    return FReceived;
}

QStringList TRackSimulator::ReceivedTexts() const
{
    QStringList texts;
    std::lock_guard<std::mutex> l(FMutex);
    for (const TLine &line : FReceived)
        texts << QString::fromLatin1(line.Text);
    return texts;
}

int TRackSimulator::CountReceived(const QByteArray &text) const
{
    std::lock_guard<std::mutex> l(FMutex);
    return static_cast<int>(std::count_if(FReceived.begin(), FReceived.end(),
                                          [&text](const TLine &line) { return line.Text == text; }));
}

void TRackSimulator::ClearReceived()
{
    std::lock_guard<std::mutex> l(FMutex);
    FReceived.clear();
}

bool TRackSimulator::WaitForReceived(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> l(FMutex);
    return FReceivedCond.wait_for(l, std::chrono::milliseconds(timeoutMs),
                                  [&] { return static_cast<int>(FReceived.size()) >= count; });
}

int TRackSimulator::Att(int channel) const
{
    std::lock_guard<std::mutex> l(FMutex);
    return channel >= 0 && channel < 2 ? FAtt[channel] : 0;
}

TStartAtt TRackSimulator::StartAtt() const
{
    std::lock_guard<std::mutex> l(FMutex);
    return FStartAtt;
}

QString TRackSimulator::Id() const
{
    std::lock_guard<std::mutex> l(FMutex);
    return FId;
}

bool TRackSimulator::OpenDevice(QString &error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0) {
        error = ErrnoText("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        error = ErrnoText("pseudo-terminal");
        ::close(master);
        return false;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error = ErrnoText(name);
        ::close(master);
        return false;
    }
    // Raw from the start: a cooked terminal would echo our replies back.
    termios t{};
    if (::tcgetattr(slave, &t) == 0) {
        cfmakeraw(&t);
        cfsetispeed(&t, B38400);
        cfsetospeed(&t, B38400);
        ::tcsetattr(slave, TCSANOW, &t);
    }
    FMaster = master;
    FSlaveKeep = slave;
    FInput.clear();
    FOutput.clear();
    std::lock_guard<std::mutex> l(FMutex);
    FDevicePath = QString::fromLocal8Bit(name);
    return true;
}

void TRackSimulator::CloseDevice()
{
    if (FMaster >= 0)
        ::close(FMaster);
    if (FSlaveKeep >= 0)
        ::close(FSlaveKeep);
    FMaster = -1;
    FSlaveKeep = -1;
    FInput.clear();
    FOutput.clear();
    std::lock_guard<std::mutex> l(FMutex);
    FDevicePath.clear();
}

bool TRackSimulator::UpdateLink(QString &error)
{
    const QString link = FOptions.LinkPath;
    if (link.isEmpty())
        return true;
    const QFileInfo info(link);
    if (info.exists() && !info.isSymLink()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(link);
        return false;
    }
    // Replace the link in one step, so it never points nowhere mid-way.
    // Unplugged, it points at a name that does not exist: the freed
    // pseudo-terminal number is soon given to another program's terminal,
    // which a stale link would let the rack's user open instead.
    const QString device = DevicePath();
    const QByteArray target = (device.isEmpty() ? link + QStringLiteral(".unplugged") : device).toLocal8Bit();
    const QByteArray tmp = (link + QStringLiteral(".tmp%1").arg(::getpid())).toLocal8Bit();
    ::unlink(tmp.constData());
    if (::symlink(target.constData(), tmp.constData()) != 0
        || ::rename(tmp.constData(), link.toLocal8Bit().constData()) != 0) {
        error = ErrnoText(link.toLocal8Bit().constData());
        ::unlink(tmp.constData());
        return false;
    }
    return true;
}

void TRackSimulator::Run()
{
    for (;;) {
        std::deque<std::function<void()>> requests;
        {
            std::lock_guard<std::mutex> l(FMutex);
            if (FStop)
                break;
            requests.swap(FRequests);
        }
        for (auto &request : requests)
            request();
        FlushOutput();

        pollfd fds[2] = {{FWakeFd, POLLIN, 0}, {FMaster, POLLIN, 0}};
        int timeoutMs = -1;
        if (!FOutput.empty()) {
            const auto now = Clock::now();
            if (FOutput.front().Due <= now)
                fds[1].events |= POLLOUT;
            else
                timeoutMs = static_cast<int>(
                    std::chrono::ceil<std::chrono::milliseconds>(FOutput.front().Due - now).count());
        }
        const int nfds = FMaster >= 0 ? 2 : 1;
        const int r = ::poll(fds, nfds, timeoutMs);
        if (r < 0 && errno != EINTR)
            break;
        if (r <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            uint64_t v = 0;
            (void)!::read(FWakeFd, &v, sizeof v);
        }
        if (nfds == 2 && FMaster >= 0) {
            if (fds[1].revents & POLLIN)
                ReadInput();
            else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))
                // Our own slave descriptor prevents this; never spin on it.
                ::poll(nullptr, 0, 50);
        }
    }
    std::lock_guard<std::mutex> l(FMutex);
    FRequests.clear();
}

void TRackSimulator::ReadInput()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(FMaster, buf, sizeof buf);
        if (n <= 0)
            break;
        FInput.append(buf, n);
    }
    const auto now = Clock::now();
    qsizetype nl;
    while ((nl = FInput.indexOf('\n')) >= 0) {
        QByteArray line = FInput.left(nl);
        FInput.remove(0, nl + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        TLine received{line, now};
        {
            std::lock_guard<std::mutex> l(FMutex);
            FReceived.push_back(received);
        }
        FReceivedCond.notify_all();
        if (OnLine)
            OnLine(received);
        HandleLine(line);
    }
    // A program writing endless bytes without a line end must not grow us.
    if (FInput.size() > 65536)
        FInput.clear();
}

void TRackSimulator::FlushOutput()
{
    while (FMaster >= 0 && !FOutput.empty() && FOutput.front().Due <= Clock::now()) {
        TChunk &chunk = FOutput.front();
        const ssize_t n = ::write(FMaster, chunk.Bytes.constData(), static_cast<size_t>(chunk.Bytes.size()));
        if (n < 0)
            return; // full (or gone): poll says when to go on
        chunk.Bytes.remove(0, n);
        if (!chunk.Bytes.isEmpty())
            return;
        FOutput.pop_front();
    }
}

void TRackSimulator::QueueBytes(const QByteArray &bytes, bool inPieces)
{
    auto due = FOutput.empty() ? Clock::now() : std::max(Clock::now(), FOutput.back().Due);
    if (!inPieces) {
        FOutput.push_back({bytes, due});
        return;
    }
    const int size = std::max(1, FOptions.PieceSize);
    for (qsizetype i = 0; i < bytes.size(); i += size) {
        FOutput.push_back({bytes.mid(i, size), due});
        due += std::chrono::milliseconds(FOptions.PieceDelayMs);
    }
}

void TRackSimulator::Reply(const QByteArray &line)
{
    const TRackSimFaults faults = Faults();
    QueueBytes(line + "\r\n", faults.Pieces);
}

QByteArray TRackSimulator::IdentityReply() const
{
    std::lock_guard<std::mutex> l(FMutex);
    const QByteArray id = FId.toLatin1().leftJustified(6, '0', true);
    char buf[160];
    std::snprintf(buf, sizeof buf, "IDN %s,%.3d,%s,%d,%d", id.constData(), FOptions.Max,
                  FOptions.Version.toLatin1().left(64).constData(), FStartAtt == StartAttMax ? 1 : 0,
                  FOptions.Atts);
    return QByteArray(buf);
}

QByteArray TRackSimulator::StatusReply() const
{
    std::lock_guard<std::mutex> l(FMutex);
    char buf[64];
    if (FOptions.Atts >= 2)
        std::snprintf(buf, sizeof buf, "STA 0 %.3d;1 %.3d", FAtt[0], FAtt[1]);
    else
        std::snprintf(buf, sizeof buf, "STA 0 %.3d", FAtt[0]);
    return QByteArray(buf);
}

void TRackSimulator::ApplyAtt(const QByteArray &line)
{
    // "ATT c vvv[;c vvv]": a malformed item changes nothing.
    const QList<QByteArray> items = line.mid(4).split(';');
    std::lock_guard<std::mutex> l(FMutex);
    for (const QByteArray &item : items) {
        const QList<QByteArray> parts = item.trimmed().split(' ');
        if (parts.size() != 2)
            continue;
        bool okChannel = false, okValue = false;
        const int channel = parts[0].toInt(&okChannel);
        const int value = parts[1].toInt(&okValue);
        if (okChannel && okValue && channel >= 0 && channel < FOptions.Atts)
            FAtt[channel] = std::clamp(value, 0, FOptions.Max);
    }
}

void TRackSimulator::HandleLine(const QByteArray &line)
{
    const TRackSimFaults faults = Faults();
    const bool query = line == "IDN?" || line == "STA?";
    if (query && faults.Silent)
        return;
    if (query && faults.Noise) {
        QByteArray noise(FOptions.NoiseBytes, '\0');
        for (char &c : noise)
            c = static_cast<char>('!' + std::rand() % 90);
        QueueBytes(noise, false);
        return;
    }
    if (line == "IDN?") {
        Reply(faults.WrongIdentity ? QByteArray("ERR 01") : IdentityReply());
    } else if (line == "STA?") {
        Reply(faults.WrongStatus ? QByteArray("ERR 02") : StatusReply());
    } else if (line.startsWith("ATT ")) {
        ApplyAtt(line);
    } else if (line == "ZERO" || line == "LARGE") {
        std::lock_guard<std::mutex> l(FMutex);
        FStartAtt = line == "ZERO" ? StartAttMin : StartAttMax;
    } else if (line.startsWith("IDS ") && line.size() >= 10) {
        std::lock_guard<std::mutex> l(FMutex);
        FId = QString::fromLatin1(line.mid(4, 6));
    } else if (line == "MAX" || line == "MIN") {
        std::lock_guard<std::mutex> l(FMutex);
        for (int i = 0; i < FOptions.Atts; ++i)
            FAtt[i] = line == "MAX" ? FOptions.Max : 0;
    }
    // Anything else: the rack ignores it.
}
