#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal whose far (master) end the test drives by hand. The
// test keeps a descriptor of the device side too, so the master never sees a
// hang-up while the code under test closes and reopens the device.
class TPtyPair
{
public:
    TPtyPair();
    ~TPtyPair();
    TPtyPair(const TPtyPair &) = delete;
    TPtyPair &operator=(const TPtyPair &) = delete;

    bool IsValid() const { return FMaster >= 0; }
    QString Path() const { return FPath; }
    int DeviceFd() const { return FKeep; }

    void Write(const QByteArray &bytes);
    // What has arrived from the device side so far (does not wait).
    QByteArray ReadAvailable();
    // Waits (bounded) until at least count bytes have arrived.
    QByteArray ReadAtLeast(int count, int timeoutMs = 10000);
    // Hangs up: the device side sees the far end vanish.
    void CloseMaster();

private:
    int FMaster = -1;
    int FKeep = -1;
    QString FPath;
};
