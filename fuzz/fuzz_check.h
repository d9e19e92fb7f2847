// What the fuzz targets share: a check that stops the run, so that libFuzzer
// keeps the input that broke it. Release builds drop assert().
#ifndef ZEPHYRSTAT_FUZZ_FUZZ_CHECK_H_
#define ZEPHYRSTAT_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define ZS_FUZZ_CHECK(condition)                                                         \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

#endif  // ZEPHYRSTAT_FUZZ_FUZZ_CHECK_H_
