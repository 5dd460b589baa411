// Fuzz entry point for both sequence file readers. Built for libFuzzer in a
// clang build, and run over the checked-in corpus by the normal tests.
#include "tests/sequencer/SequenceReadersExercise.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ExerciseSequenceReaders(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    return 0;
}
