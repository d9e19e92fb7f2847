// The peak resident set of this process so far, which the benchmarks report
// beside their times.
#ifndef ZEPHYRSTAT_BENCH_PEAK_MEMORY_H_
#define ZEPHYRSTAT_BENCH_PEAK_MEMORY_H_

#include <sys/resource.h>

namespace zs {

inline double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace zs

#endif  // ZEPHYRSTAT_BENCH_PEAK_MEMORY_H_
