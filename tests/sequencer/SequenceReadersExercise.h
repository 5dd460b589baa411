#pragma once

#include <QByteArray>

// Feeds one file's bytes to both sequence readers and plays what compiles
// for a few ticks; aborts on any broken invariant. Shared by the malformed
// input tests and the fuzz target.
void ExerciseSequenceReaders(const QByteArray &text);
