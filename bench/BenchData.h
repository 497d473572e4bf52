#pragma once

#include <QString>

// The large data set the benchmarks run on: 5,000 contributors (or as many as
// --contributors says) and ten years
// of weekly collection sets. It is generated once into the build folder and
// copied for each run, so that a run's writes never change the next run.
namespace BenchData {
// Takes qv-bench's own options out of the arguments: --contributors N (the
// size of the generated books, 5,000 unless given) and --data-folder DIR
// (where they are generated and copied). False on a bad value.
bool Read_Options(int* argc, char** argv);
// Generates the data set when missing and opens a fresh copy of it as the
// program's data file, with every table made ready.
void OpenLargeDataSet();
int Contributors();
int LastYear();
// The process's peak resident memory so far, in MB (the kernel's VmHWM).
double Peak_MB();
} // namespace BenchData
