#include "rack/uRadioRackV2Send.h"

#include "platform/Clock.h"

#include <algorithm>

TRadioRackSend::TRadioRackSend()
    : FSock(std::make_unique<TBlockSerial>())
{
}

TRadioRackSend::~TRadioRackSend() = default;

void TRadioRackSend::SetAbortCheck(std::function<bool()> check)
{
    FAbortCheck = check;
    FSock->SetAbortCheck(std::move(check));
}

bool TRadioRackSend::Login()
{
    FSock->CloseSocket();
    // CloseSocket has emptied the line buffer already.
    for (int left = FLoginPauseMs; left > 0 && !(FAbortCheck && FAbortCheck()); left -= 10)
        SleepMs(std::min(left, 10));
    FSock->Connect(FTargetPort);
    if (FSock->LastError() == 0)
        FSock->Config(38400, 8, 'N', 0, false, false);
    return FSock->LastError() == 0;
}

void TRadioRackSend::Logout()
{
    FSock->CloseSocket();
}

void TRadioRackSend::Send(const QByteArray &value)
{
    FSock->SendString(value + QByteArrayLiteral("\r\n"));
}

QByteArray TRadioRackSend::RecvString()
{
    return FSock->RecvTerminated(FTimeOut, QByteArrayLiteral("\r\n"));
}
