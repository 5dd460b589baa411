// Measures one compilation of the largest editor file in a fresh process:
// wall time and peak resident memory. Exits 1 above 1 s or 80 MB.
#include "sequencer/uSequencerCompile.h"

#include <chrono>
#include <cstdio>

#include <sys/resource.h>

int main()
{
    QByteArray text =
        "RACKS SELECTED\r\n\r\nRack 1 :  att1\r\n\r\nACTIONS\r\n#Num\tTime\tAction\tFrom\tTo\tDuration\r\n";
    for (int n = 1; n <= 400; ++n)
        text += QByteArray::number(n) + '\t' + QByteArray::number((n - 1) * 9999) + "\t0\t0\t0\t9999\r\n";
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    TSequenceCompiler compiler(935, true);
    compiler.AddSequenceText(text, "largest.sqc");
    TSequenceAnalysis run = compiler.Take();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const double peakMb = static_cast<double>(after.ru_maxrss) / 1024.0;
    std::printf("commands %d, %.3f s, peak RSS %.1f MB (%.1f MB before compiling)\n", run.Scripts[0]->Count(), seconds,
                peakMb, static_cast<double>(before.ru_maxrss) / 1024.0);
    return seconds < 1.0 && peakMb < 80.0 ? 0 : 1;
}
