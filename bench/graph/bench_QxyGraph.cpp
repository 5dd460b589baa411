#include "GraphScene.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace
{

void BM_DrawGraph(benchmark::State &state)
{
    TQxyGraph g;
    g.resize(485, 262);
    SetupSequencerLook(g);
    FillTraces(g, 3000);
    QImage img(g.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        g.DrawGraph(p, true);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_DrawGraph)->Unit(benchmark::kMicrosecond);

// One sequencer tick on a shown graph: Plotting off (a repaint), a shift,
// one value per trace at the present, Plotting on (a repaint).
void BM_SequencerTick(benchmark::State &state)
{
    TQxyGraph g;
    g.resize(485, 262);
    SetupSequencerLook(g);
    FillTraces(g, 3000);
    g.SetPlotting(true);
    g.show();
    if (!QTest::qWaitForWindowExposed(&g)) {
        state.SkipWithError("graph not exposed");
        return;
    }
    int tick = 0;
    for (auto _ : state) {
        g.SetPlotting(false);
        g.ShiftSeries(-1);
        g.GetSeriesInt(1)->Add(0, -100 - 130 * ((tick / 150) % 6));
        g.GetSeriesInt(2)->Add(0, -(tick * 7 % 900));
        g.SetPlotting(true);
        ++tick;
    }
}
BENCHMARK(BM_SequencerTick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
