// main() of the benchmarks that need a QApplication: Qt's offscreen platform unless another
// one is asked for (QT_QPA_PLATFORM), then every benchmark the command line selects.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunQtBenchmarks(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
