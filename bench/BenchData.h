#pragma once

#include <QString>

// The large data set the benchmarks run on: 5,000 contributors and ten years
// of weekly collection sets. It is generated once into the build folder and
// copied for each run, so that a run's writes never change the next run.
namespace BenchData {
// Generates the data set when missing and opens a fresh copy of it as the
// program's data file, with every table made ready.
void OpenLargeDataSet();
int Contributors();
int LastYear();
} // namespace BenchData
