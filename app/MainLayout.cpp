// The main window's controls and their fixed layout.
#include "app/Main.h"

#include "app/AttGroupBox.h"
#include "app/MainImage.h"

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr int Margin = 8;
constexpr int ButtonWidth = 112;
constexpr int ButtonHeight = 27;
constexpr int ButtonGap = 6;

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, int index)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFocusPolicy(Qt::TabFocus);
    b->setGeometry(0, Margin + index * (ButtonHeight + ButtonGap), ButtonWidth, ButtonHeight);
    return b;
}

QAction *MakeMenuItem(QMenuBar *bar, const char *name, const QString &caption)
{
    QAction *a = bar->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace

void TMainForm::CreateControls()
{
    setObjectName(QStringLiteral("MainForm"));

    MainMenu = menuBar();
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    miExit = MakeMenuItem(MainMenu, "miExit", QStringLiteral("&Exit"));
    miConfiguration = MakeMenuItem(MainMenu, "miConfiguration", QStringLiteral("&Configuration"));
    miRefresh = MakeMenuItem(MainMenu, "miRefresh", QStringLiteral("&Refresh"));
    miHelpIndex = MakeMenuItem(MainMenu, "miHelpIndex", QStringLiteral("&Help"));
    // The window's help context: F1 anywhere in it opens the page.
    miHelpIndex->setShortcut(QKeySequence::HelpContents);
    // Not in the menu bar: reachable by its shortcut only.
    miIDS = new QAction(QStringLiteral("IDS"), this);
    miIDS->setObjectName(QStringLiteral("miIDS"));
    miIDS->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    addAction(miIDS);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCentralWidget(Panel1);

    GBRack1 = new QGroupBox(QStringLiteral("Brick 1"), Panel1);
    GBRack1->setObjectName(QStringLiteral("GBRack1"));
    AttGroupBox1 = new TAttGroupBox(GBRack1);
    AttGroupBox1->setObjectName(QStringLiteral("AttGroupBox1"));
    AttGroupBox1->SetCaption(QStringLiteral("Attenuator 1"));
    AttGroupBox2 = new TAttGroupBox(GBRack1);
    AttGroupBox2->setObjectName(QStringLiteral("AttGroupBox2"));
    AttGroupBox2->SetCaption(QStringLiteral("Attenuator 2"));
    const int attW = AttGroupBox1->width();
    const int attH = AttGroupBox1->height();
    const int groupTop = 24;
    AttGroupBox1->move(Margin, groupTop);
    AttGroupBox2->move(2 * Margin + attW, groupTop);
    AttGroupBox1->hide();
    AttGroupBox2->hide();
    const int groupW = 3 * Margin + 2 * attW;

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setScaledContents(true);
    Image1->setAttribute(Qt::WA_TranslucentBackground);
    Image1->setGeometry(Margin, Margin, groupW, 64);
    Image1->setPixmap(QPixmap::fromImage(DrawRackFront(QSize(groupW, 64))));

    LabelDescription = new QLabel(QStringLiteral("Orvex Quenta x Atts"), Panel1);
    LabelDescription->setObjectName(QStringLiteral("LabelDescription"));
    LabelDescription->setAlignment(Qt::AlignCenter);
    QFont bold(QStringLiteral("Arial"), 10, QFont::Bold);
    LabelDescription->setFont(bold);
    QPalette grey = LabelDescription->palette();
    grey.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    LabelDescription->setPalette(grey);
    LabelDescription->setGeometry(Margin, Image1->geometry().bottom() + 5, groupW, 20);

    GBRack1->setGeometry(Margin, LabelDescription->geometry().bottom() + 5, groupW, groupTop + attH + Margin);

    auto *buttons = new QWidget(Panel1);
    ButtonReadAtts = MakeButton(buttons, "ButtonReadAtts", QStringLiteral("Read Atts"), 0);
    ButtonAttsToMax = MakeButton(buttons, "ButtonAttsToMax", QStringLiteral("Set to max."), 1);
    ButtonAttsToMin = MakeButton(buttons, "ButtonAttsToMin", QStringLiteral("Set to min."), 2);
    ButtonStartAtts = MakeButton(buttons, "ButtonStartAtts", QStringLiteral("Set start pos."), 3);
    ButtonName = MakeButton(buttons, "ButtonName", QStringLiteral("Set Names"), 4);
    const int buttonsH = ButtonName->geometry().bottom() + 1;
    buttons->setGeometry(groupW + 2 * Margin, 0, ButtonWidth, buttonsH);

    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    const int panelWidths[3] = {130, 40, 0};
    for (int i = 0; i < 3; ++i) {
        StatusPanel[i] = new QLabel(StatusBar);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (panelWidths[i] > 0)
            StatusPanel[i]->setFixedWidth(panelWidths[i]);
        StatusBar->addWidget(StatusPanel[i], panelWidths[i] > 0 ? 0 : 1);
    }

    connect(miExit, &QAction::triggered, this, &TMainForm::miExitClick);
    connect(miConfiguration, &QAction::triggered, this, &TMainForm::miConfigurationClick);
    connect(miRefresh, &QAction::triggered, this, &TMainForm::miRefreshClick);
    connect(miHelpIndex, &QAction::triggered, this, &TMainForm::miHelpIndexClick);
    connect(miIDS, &QAction::triggered, this, &TMainForm::miIDSClick);
    connect(ButtonReadAtts, &QPushButton::clicked, this, &TMainForm::ButtonReadAttsClick);
    connect(ButtonAttsToMax, &QPushButton::clicked, this, &TMainForm::ButtonAttsToMaxClick);
    connect(ButtonAttsToMin, &QPushButton::clicked, this, &TMainForm::ButtonAttsToMinClick);
    connect(ButtonStartAtts, &QPushButton::clicked, this, &TMainForm::ButtonStartAttsClick);
    connect(ButtonName, &QPushButton::clicked, this, &TMainForm::miIDSClick);
    connect(AttGroupBox1, &TAttGroupBox::OnChange, this, &TMainForm::AttGroupBox1Change);
    connect(AttGroupBox2, &TAttGroupBox::OnChange, this, &TMainForm::AttGroupBox1Change);

    // Fixed size with minimise and close but no maximise, centred.
    const int clientW = groupW + 3 * Margin + ButtonWidth;
    const int clientH = std::max(GBRack1->geometry().bottom(), buttonsH) + Margin + 2;
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    Panel1->setFixedSize(clientW, clientH);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
