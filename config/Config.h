#pragma once

#include "config/ConfigFile.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;

// What the configuration dialog reads from and applies to the running
// program: the main window's settings and its rack worker.
class IConfigHost
{
public:
    virtual ~IConfigHost() = default;
    virtual QString CurConfigFile() const = 0;
    virtual void SetCurConfigFile(const QString &fileName) = 0;
    virtual QString ConfigFileDir() const = 0;
    virtual QString AttCaption(int att) const = 0; // att 1 or 2
    virtual void SetAttCaption(int att, const QString &caption) = 0;
    virtual QString TargetPort() const = 0;
    virtual void SetTargetPort(const QString &port) = 0;
    virtual QString RackName() const = 0;
    virtual void SetRackName(const QString &name) = 0;
    // The device a port name opens, shown beside the port list.
    virtual QString PortDevice(const QString &port) const = 0;
};

class QFileDialog;

// Shows a prepared file dialog and returns the chosen file, or "" when
// cancelled. Tests replace it to check the dialog without showing it.
using TFileDialogRunner = QString (*)(QFileDialog &dialog);
TFileDialogRunner SetFileDialogRunner(TFileDialogRunner runner);

class TConfigForm : public QDialog
{
    Q_OBJECT
public:
    explicit TConfigForm(IConfigHost &host, QWidget *parent = nullptr);

    const QString &ConfigFileName() const { return FConfigFileName; }
    void SetConfigFileName(const QString &fileName);

    void ReadConfigFile(const QString &fileName);
    void WriteConfigFile(const QString &fileName);
    void LoadFromRack();
    void ApplyToRack();

    void LoadCfgBtnClick();
    void StoreCfgBtnClick();

    QComboBox *CB_COMx;
    QLineEdit *Rack1NameEdit;
    QLineEdit *Att0Name;
    QLineEdit *Att1Name;
    QLabel *ConfigName;

private:
    QString ChooseFile(bool save);
    void ShowPortDevice();

    IConfigHost &FHost;
    QString FConfigFileName;
    QLabel *FPortDevice;
};

// Runs the whole configuration flow; true when confirmed with OK.
bool ExecuteConfigDialog(IConfigHost &host, QWidget *parent = nullptr);
