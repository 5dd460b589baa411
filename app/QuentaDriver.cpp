// Program entry of the Quenta Driver.
#include "config/misc.h"
#include "platform/Thread.h"

#include <QApplication>
#include <QMainWindow>

#include <cstdio>
#include <cstring>

namespace {

const char *const HelpText =
    "Usage: quenta-driver [options]\n"
    "Controls one Quenta attenuator rack over its serial line.\n"
    "\n"
    "Options:\n"
    "  --version        print the program's title and version, then exit\n"
    "  --help           print this help, then exit\n";

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            QCoreApplication core(argc, argv);
            std::printf("%s\n", GetVersionTitle().toUtf8().constData());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(HelpText, stdout);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex Quenta Driver 1 Ways"));
    QMainWindow window;
    window.setWindowTitle(GetVersionTitle());
    window.resize(485, 300);
    window.show();
    const int rc = app.exec();
    TThread::ShutdownAll();
    return rc;
}
