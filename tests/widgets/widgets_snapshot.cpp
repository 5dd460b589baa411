// Renders the input widgets side by side into one PNG, for a look by eye.
// Usage: widgets_snapshot out.png [zoom]
#include "app/AttGroupBox.h"
#include "widgets/GroupCheckBox.h"
#include "widgets/IntFloatEdit.h"
#include "widgets/QSlideBar.h"
#include "widgets/QSpin.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [zoom]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QWidget canvas;
    canvas.resize(430, 190);
    canvas.setAutoFillBackground(true);

    auto *spin = new TQSpinEdit(&canvas);
    spin->setGeometry(8, 8, 89, spin->height());
    spin->SetValue(42);
    auto *deci = new TQSpinEdit(&canvas);
    deci->SetModeDecimal(true);
    deci->setGeometry(8, 44, 89, deci->height());
    deci->SetValue(935);
    auto *arrows = new TQSpinButton(&canvas);
    arrows->move(110, 8);
    arrows->UpButton()->SetTimeBtnState(tbFocusRect | tbAllowTimer);
    auto *intEdit = new TIntEdit(&canvas);
    intEdit->setGeometry(8, 80, 89, 24);
    intEdit->SetValue(-17);

    const TThumbStyle styles[] = {tsBar1, tsCircle1, tsSquare1, tsDiamond1};
    int y = 8;
    for (int i = 0; i < 4; ++i) {
        auto *bar = new TQSlideBar(&canvas);
        bar->setGeometry(140, y, 120, 15);
        bar->SetThumbStyle(styles[i]);
        bar->SetTicks(i % 2 == 1);
        bar->SetStyle(i == 3 ? bsRaised : bsLowered);
        bar->SetThickness(i + 1);
        bar->SetPosition(2 + 2 * i);
        y += 22;
    }

    auto *group = new TCheckGroup(&canvas);
    group->setTitle("Attenuators");
    group->setGeometry(8, 112, 250, 70);
    group->SetColumns(3);
    group->SetItems({"Att 1", "Att 2", "Att 3", "Att 4", "Att 5", "Att 6"});
    group->SetCheckedStatus(0, true);
    group->SetCheckedStatus(3, true);

    for (int i = 0; i < 2; ++i) {
        auto *att = new TAttGroupBox(&canvas);
        att->setTitle(QStringLiteral("Attenuator %1").arg(i + 1));
        att->SetModeDecimal(true);
        att->SetMaxAttVal(935);
        att->setGeometry(270 + 0 * i, 8 + 88 * i, 113, 80);
        att->SetAttValue(i == 0 ? 125 : 700);
    }

    QImage image = canvas.grab().toImage();
    if (argc > 2) {
        const int zoom = QString::fromLocal8Bit(argv[2]).toInt();
        if (zoom > 1)
            image = image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
