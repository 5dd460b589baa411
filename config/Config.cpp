#include "config/Config.h"

#include "config/misc.h"
#include "config/miscGui.h"
#include "platform/Errors.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <class T, class... Args> T *Named(const char *name, Args &&...args)
{
    T *w = new T(std::forward<Args>(args)...);
    w->setObjectName(QLatin1String(name));
    return w;
}

QString ExecFileDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

TFileDialogRunner fileDialogRunner = &ExecFileDialog;

} // namespace

TFileDialogRunner SetFileDialogRunner(TFileDialogRunner runner)
{
    const TFileDialogRunner old = fileDialogRunner;
    fileDialogRunner = runner ? runner : &ExecFileDialog;
    return old;
}

TConfigForm::TConfigForm(IConfigHost &host, QWidget *parent) : QDialog(parent), FHost(host)
{
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowTitle(QStringLiteral("Quenta Configuration"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);

    auto *panel = Named<QFrame>("Panel1", this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *load = Named<QPushButton>("LoadCfgBtn", QStringLiteral("&Load Config"), panel);
    auto *store = Named<QPushButton>("StoreCfgBtn", QStringLiteral("&Store Config"), panel);
    ConfigName = Named<QLabel>("ConfigName", panel);
    ConfigName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ConfigName->setMinimumWidth(140);
    auto *label1 = Named<QLabel>("Label1", panel);
    label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CB_COMx = Named<QComboBox>("CB_COMx", panel);
    for (int i = 1; i <= 8; ++i)
        CB_COMx->addItem(QStringLiteral("COM %1").arg(i));
    CB_COMx->addItem(QString()); // the ninth entry: COM9
    FPortDevice = Named<QLabel>("LabelPortDevice", panel);
    FPortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *grid = new QGridLayout(panel);
    grid->addWidget(load, 0, 0);
    grid->addWidget(ConfigName, 0, 1, 1, 2);
    grid->addWidget(store, 1, 0);
    grid->addWidget(label1, 2, 0);
    grid->addWidget(CB_COMx, 2, 1);
    grid->addWidget(FPortDevice, 2, 2);

    auto *ok = Named<QPushButton>("OkBtn", QStringLiteral("&Ok"), this);
    auto *cancel = Named<QPushButton>("CancelBtn", QStringLiteral("&Cancel"), this);
    ok->setDefault(true);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *group = Named<QGroupBox>("GroupBox1", QStringLiteral(" Rack 1 attenuator "), this);
    auto *label3 = Named<QLabel>("Label3", QStringLiteral("Name : "), group);
    Rack1NameEdit = Named<QLineEdit>("Rack1NameEdit", group);
    auto *labelAtt0 = Named<QLabel>("LabelAtt0Name", QStringLiteral("Att 1 name :"), group);
    auto *labelAtt1 = Named<QLabel>("LabelAtt1Name", QStringLiteral("Att 2 name :"), group);
    Att0Name = Named<QLineEdit>("Att0Name", group);
    Att1Name = Named<QLineEdit>("Att1Name", group);
    auto *groupLayout = new QGridLayout(group);
    groupLayout->addWidget(label3, 0, 0);
    groupLayout->addWidget(Rack1NameEdit, 0, 1);
    groupLayout->addWidget(labelAtt0, 1, 0);
    groupLayout->addWidget(Att0Name, 1, 1);
    groupLayout->addWidget(labelAtt1, 2, 0);
    groupLayout->addWidget(Att1Name, 2, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(panel, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Creation step: the port list shows; the names travel unseen.
    label1->setText(QStringLiteral("Serial port :"));
    CB_COMx->setVisible(true);
    for (QWidget *w : {static_cast<QWidget *>(Att0Name), static_cast<QWidget *>(Att1Name),
                       static_cast<QWidget *>(labelAtt0), static_cast<QWidget *>(labelAtt1)})
        w->setVisible(false);

    connect(load, &QPushButton::clicked, this, [this] { LoadCfgBtnClick(); });
    connect(store, &QPushButton::clicked, this, [this] { StoreCfgBtnClick(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(CB_COMx, &QComboBox::currentIndexChanged, this, [this] { ShowPortDevice(); });
    ShowPortDevice();
}

void TConfigForm::SetConfigFileName(const QString &fileName)
{
    FConfigFileName = fileName;
    ConfigName->setText(FileNameWithoutExt(fileName));
}

void TConfigForm::ReadConfigFile(const QString &fileName)
{
    const TRackConfig c = ReadRackConfig(fileName);
    // An index outside the list leaves nothing selected.
    CB_COMx->setCurrentIndex(c.PortIndex >= 0 && c.PortIndex < CB_COMx->count() ? c.PortIndex : -1);
    Rack1NameEdit->setText(c.RackName);
    Att0Name->setText(c.Att0Name);
    Att1Name->setText(c.Att1Name);
}

void TConfigForm::WriteConfigFile(const QString &fileName)
{
    TRackConfig c;
    c.PortIndex = CB_COMx->currentIndex();
    c.RackName = Rack1NameEdit->text();
    c.Att0Name = Att0Name->text();
    c.Att1Name = Att1Name->text();
    WriteRackConfig(fileName, c);
}

void TConfigForm::LoadFromRack()
{
    const int index = PortIndexOfName(FHost.TargetPort());
    CB_COMx->setCurrentIndex(index >= 0 && index < CB_COMx->count() ? index : -1);
    Rack1NameEdit->setText(FHost.RackName());
    Att0Name->setText(FHost.AttCaption(1));
    Att1Name->setText(FHost.AttCaption(2));
}

void TConfigForm::ApplyToRack()
{
    FHost.SetTargetPort(PortNameOfIndex(CB_COMx->currentIndex()));
    FHost.SetRackName(Rack1NameEdit->text());
    FHost.SetAttCaption(1, Att0Name->text());
    FHost.SetAttCaption(2, Att1Name->text());
}

QString TConfigForm::ChooseFile(bool save)
{
    QFileDialog dialog(this);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setWindowTitle(save ? QStringLiteral("Save configuration file") : QStringLiteral("Open configuration file"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QStringLiteral("Configuration files (*.cfg)"));
    dialog.setDefaultSuffix(QStringLiteral("cfg"));
    dialog.setDirectory(FConfigFileName.isEmpty() ? FHost.ConfigFileDir() : QFileInfo(FConfigFileName).absolutePath());
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    return fileDialogRunner(dialog);
}

void TConfigForm::LoadCfgBtnClick()
{
    const QString file = ChooseFile(false);
    if (file.isEmpty())
        return;
    ReadConfigFile(file);
    SetConfigFileName(file);
}

void TConfigForm::StoreCfgBtnClick()
{
    const QString file = ChooseFile(true);
    if (file.isEmpty())
        return;
    try {
        WriteConfigFile(file);
    } catch (const EQuentaError &e) {
        ShowErrorMessage(e.Message());
        return;
    }
    SetConfigFileName(file);
}

void TConfigForm::ShowPortDevice()
{
    const int index = CB_COMx->currentIndex();
    FPortDevice->setText(index < 0 ? QString() : FHost.PortDevice(PortNameOfIndex(index)));
}

bool ExecuteConfigDialog(IConfigHost &host, QWidget *parent)
{
    TConfigForm form(host, parent);
    const QString current = host.CurConfigFile();
    if (!current.isEmpty()) {
        form.SetConfigFileName(current);
        form.ReadConfigFile(current);
    } else {
        form.LoadFromRack();
    }
    const bool ok = form.exec() == QDialog::Accepted;
    if (ok) {
        form.ApplyToRack();
        host.SetCurConfigFile(form.ConfigFileName());
    }
    return ok;
}
