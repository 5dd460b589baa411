#pragma once

#include <QString>

#include <stdexcept>

// The program's error: shown to the user by the general error display.
class EQuentaError : public std::runtime_error
{
public:
    explicit EQuentaError(const QString &message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {
    }
    const QString &Message() const { return FMessage; }

private:
    QString FMessage;
};

class EIniFileException : public EQuentaError
{
public:
    using EQuentaError::EQuentaError;
};
