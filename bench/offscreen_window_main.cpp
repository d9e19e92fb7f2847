// The main() of the benchmarks that run the window itself: offscreen, with
// freed memory kept for reuse as the window keeps it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>

#include "frontend/memory_reuse.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  zs::RetainFreedMemoryForReuse();
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
