#pragma once

#include "rack/uRadioRackV2Serial.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// The rack line: one serial port at the rack's fixed settings (38400 8N1, no
// flow control), commands ending in CR LF, replies read with a time-out.
class TRadioRackSend
{
public:
    TRadioRackSend();
    ~TRadioRackSend();

    // Closes, pauses, reopens and configures; true when no error remains.
    bool Login();
    void Logout();
    void Send(const QByteArray &value);
    // One reply line without its CR LF; empty on time-out or error.
    QByteArray RecvString();

    TBlockSerial *Sock() const { return FSock.get(); }
    QString TargetPort() const { return FTargetPort; }
    void SetTargetPort(const QString &value) { FTargetPort = value; }
    int TimeOut() const { return FTimeOut; }
    void SetTimeOut(int ms) { FTimeOut = ms; }
    void SetLoginPause(int ms) { FLoginPauseMs = ms; }
    // Cuts the login pause short, and every wait of the port (see TBlockSerial).
    void SetAbortCheck(std::function<bool()> check);

private:
    std::unique_ptr<TBlockSerial> FSock;
    int FTimeOut = 5000;
    int FLoginPauseMs = 100;
    QString FTargetPort;
    std::function<bool()> FAbortCheck;
};
