#pragma once

#include "config/Config.h"

// The running program as the configuration and identification dialogs see
// it, kept in plain fields the tests set and check.
struct FakeConfigHost : IConfigHost
{
    QString cur, dir, caption1 = "cap 1", caption2 = "cap 2", port = "COM1", rack = "Brick 1";
    bool curSet = false;
    QString CurConfigFile() const override { return cur; }
    void SetCurConfigFile(const QString &f) override
    {
        cur = f;
        curSet = true;
    }
    QString ConfigFileDir() const override { return dir; }
    QString AttCaption(int att) const override { return att == 1 ? caption1 : caption2; }
    void SetAttCaption(int att, const QString &c) override { (att == 1 ? caption1 : caption2) = c; }
    QString TargetPort() const override { return port; }
    void SetTargetPort(const QString &p) override { port = p; }
    QString RackName() const override { return rack; }
    void SetRackName(const QString &n) override { rack = n; }
    QString PortDevice(const QString &p) const override { return "/dev/x-" + p; }
};
