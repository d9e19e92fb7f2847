// The main() of the benchmarks that run with the heap set up as the window
// and the command-line tool set theirs up at start: freed memory is kept for
// reuse (frontend/memory_reuse.h).
#include <benchmark/benchmark.h>

#include "frontend/memory_reuse.h"

int main(int argc, char** argv) {
  zs::RetainFreedMemoryForReuse();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
