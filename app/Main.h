#pragma once

#include "config/Config.h"
#include "config/UserSettings.h"
#include "rack/uRadioRackV2.h"

#include <QMainWindow>
#include <QString>

#include <atomic>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QStatusBar;
class TAttGroupBox;
class THelpViewer;

// What differs between a production start and a test or simulation run.
struct TMainOptions
{
    // Names the settings file and the help page; empty: this executable.
    QString ExecutablePath;
    TRadioRackTimings Timings;
    // Applied over the settings file's "Ports" section (--simulate).
    TPortMap PortOverrides;
    int IdsPauseMs = 1000;
    int ExitPauseMs = 100;
};

// The program's only top-level window: shows the rack and drives it by hand.
// It owns the settings and creates the rack worker, which frees itself.
class TMainForm : public QMainWindow, public IRadioRackHost, public IConfigHost
{
    Q_OBJECT
public:
    // Runs the whole start-up, the modal configuration dialog included.
    explicit TMainForm(const TMainOptions &options = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The window's private refresh message.
    static constexpr int RefreshMessage = 1025;

    QString UserHome() const { return FSettings.UserHome(); }
    QString SequenceFileDir() const { return FSettings.SequenceFileDir; }
    const QString &HelpFile() const { return FHelpFile; }
    int MaxAttValue() const;
    int GetMaxAttForRack(int rack) const;
    // Safe from any thread (the sequencer's run thread reads it).
    bool GetAttEnabled(int att) const;
    bool AttEnabled(int att) const { return GetAttEnabled(att); }
    TRadioRackThread *RadioRack() const { return RadioRack1; }

    // IRadioRackHost
    void RadioRackSetMOD(TRadioRackThread *Sender, TMode aMode) override;
    void RadioRackSetSTA(TRadioRackThread *Sender, const QString &text) override;

    // IConfigHost
    QString CurConfigFile() const override { return FCurConfigFile; }
    void SetCurConfigFile(const QString &fileName) override;
    QString ConfigFileDir() const override { return FSettings.ConfigFileDir; }
    QString AttCaption(int att) const override;
    void SetAttCaption(int att, const QString &caption) override;
    QString TargetPort() const override;
    void SetTargetPort(const QString &port) override;
    QString RackName() const override;
    void SetRackName(const QString &name) override;
    QString PortDevice(const QString &port) const override;

    void SendAttValue(int rack, const QString &channel, int value);

    void ButtonReadAttsClick();
    void ButtonAttsToMaxClick();
    void ButtonAttsToMinClick();
    void ButtonStartAttsClick();
    void miIDSClick();
    void miRefreshClick();
    void miConfigurationClick();
    void miHelpIndexClick();
    void miExitClick();
    void AttGroupBox1Change(QObject *Sender);

    bool FinSequencer = false;
    bool FBlockChange1 = false;
    bool FBlockChange2 = false;

    QMenuBar *MainMenu;
    QAction *miExit;
    QAction *miConfiguration;
    QAction *miRefresh;
    QAction *miHelpIndex;
    QAction *miIDS;
    QFrame *Panel1;
    QGroupBox *GBRack1;
    TAttGroupBox *AttGroupBox1;
    TAttGroupBox *AttGroupBox2;
    QLabel *Image1;
    QLabel *LabelDescription;
    QPushButton *ButtonReadAtts;
    QPushButton *ButtonAttsToMax;
    QPushButton *ButtonAttsToMin;
    QPushButton *ButtonStartAtts;
    QPushButton *ButtonName;
    QStatusBar *StatusBar;
    QLabel *StatusPanel[3];

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormDestroy();
    void ReadPortMap();
    void SetAttsTo(int value);
    void PlaceControls(bool shown, int nbreAtts);
    void SetStatusPanel(int index, const QString &text);

    TMainOptions FOptions;
    QString FHelpFile;
    QString FCurConfigFile;
    TUserSettings FSettings;
    TRadioRackThread *RadioRack1 = nullptr;
    TPortMap FPortMap;
    std::atomic<bool> FAttShown[2] = {false, false};
    THelpViewer *FHelpViewer = nullptr;
};
