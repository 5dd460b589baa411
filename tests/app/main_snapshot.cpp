// Pictures of the main window (one and two attenuators) and its dialogs on
// a simulated rack, for a look by eye: main_snapshot OUTDIR
#include "app/Main.h"
#include "app/AttGroupBox.h"
#include "platform/Thread.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/TestEnv.h"
#include "tools/RackSimulator.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

QString outDir;

void Save(QWidget *w, const QString &name)
{
    const QString file = QDir(outDir).filePath(name);
    if (!w->grab().save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
}

bool Shoot(int atts, const QString &name, bool dialogs, const QString &linkDir)
{
    TRackSimOptions o;
    o.Atts = atts;
    o.Id = QStringLiteral("ABC123");
    o.LinkPath = QDir(linkDir).filePath(QStringLiteral("rack%1").arg(atts));
    TRackSimulator sim(o);
    if (!sim.Start())
        return false;
    TMainOptions options;
    options.PortOverrides.Set(1, sim.PortPath());
    auto config = OnNextModal([&](QWidget *w) {
        if (dialogs)
            Save(w, QStringLiteral("dialog-config.png"));
        qobject_cast<QDialog *>(w)->accept();
    });
    auto form = std::make_unique<TMainForm>(options);
    form->show();
    if (!QTest::qWaitFor([&] { return form->GetAttEnabled(1); }, 15000))
        return false;
    // After the first status read, whose values would replace these.
    QTest::qWait(1000);
    form->RadioRackSetSTA(form->RadioRack(), QStringLiteral("STA 0 300;1 125"));
    QTest::qWait(1000);
    Save(form.get(), name);
    if (dialogs) {
        auto shoot = [&](const char *file) {
            return OnNextModal([file](QWidget *w) {
                Save(w, QLatin1String(file));
                qobject_cast<QDialog *>(w)->reject();
            });
        };
        auto ident = shoot("dialog-ident.png");
        form->ButtonName->click();
        auto start = shoot("dialog-startatts.png");
        form->ButtonStartAtts->click();
        if (!*config || !*ident || !*start)
            return false;
    }
    form.reset();
    TThread::ShutdownAll(2000);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QuentaPrepareTestEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex Quenta Driver 1 Ways"));
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir links;
    const bool ok = Shoot(2, QStringLiteral("main-2atts.png"), true, links.path()) &&
                    Shoot(1, QStringLiteral("main-1att.png"), false, links.path());
    return ok ? 0 : 1;
}
