// Renders the sequencer graph's look to a PNG file, for the documentation.

#include "GraphScene.h"

#include <QApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: graph_snapshot file.png\n");
        return 2;
    }
    TQxyGraph g;
    g.resize(485, 243);
    SetupSequencerLook(g);
    FillTraces(g, 1001);
    QImage img(g.size(), QImage::Format_RGB32);
    g.FillBitmap(img);
    if (!img.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
