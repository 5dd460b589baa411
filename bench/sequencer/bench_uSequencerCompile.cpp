// Compilation of the largest sequence the editor can write: 400 rows that
// each pause 9999 ticks, about four million commands. Target: under 1 s and
// 80 MB peak.
#include "sequencer/uSequencerCompile.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace
{

QByteArray LargestEditorFile(int action, int from, int to)
{
    QByteArray text =
        "RACKS SELECTED\r\n\r\nRack 1 :  att1\r\n\r\nACTIONS\r\n#Num\tTime\tAction\tFrom\tTo\tDuration\r\n";
    for (int n = 1; n <= 400; ++n)
        text += QByteArray::number(n) + '\t' + QByteArray::number((n - 1) * 9999) + '\t' + QByteArray::number(action) +
                '\t' + QByteArray::number(from) + '\t' + QByteArray::number(to) + "\t9999\r\n";
    return text;
}

double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Compile(benchmark::State &state, int action, int from, int to)
{
    const QByteArray text = LargestEditorFile(action, from, to);
    int count = 0;
    for (auto _ : state) {
        TSequenceCompiler compiler(935, true);
        compiler.AddSequenceText(text, "largest.sqc");
        TSequenceAnalysis run = compiler.Take();
        count = run.Scripts[0]->Count();
        benchmark::DoNotOptimize(run);
    }
    state.counters["commands"] = count;
    state.counters["script_MB"] = count * static_cast<double>(sizeof(TSeqCmde)) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = PeakRssMb();
}

void BM_CompilePauses(benchmark::State &state)
{
    Compile(state, 0, 0, 0);
}
BENCHMARK(BM_CompilePauses)->Unit(benchmark::kMillisecond);

void BM_CompileRamps(benchmark::State &state)
{
    Compile(state, 2, 0, 935);
}
BENCHMARK(BM_CompileRamps)->Unit(benchmark::kMillisecond);

// One tick of a long script, through a repeat that re-enters its block.
void BM_TickThroughRepeat(benchmark::State &state)
{
    QByteArray text = LargestEditorFile(0, 0, 0);
    text += "401\t0\t5\t0\t1\t9999\r\n";
    TSequenceCompiler compiler(935, true);
    compiler.AddSequenceText(text, "largest.sqc");
    TSequenceAnalysis run = compiler.Take();
    for (auto _ : state) {
        run.Scripts[0]->NextAttValue();
        benchmark::DoNotOptimize(run.Scripts[0]->AttValue());
    }
}
BENCHMARK(BM_TickThroughRepeat);

} // namespace

BENCHMARK_MAIN();
