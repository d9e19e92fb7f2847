// A seeded generator of realistic draw histories: any edition, a date span,
// the edition's draws per day, a break of several days around each Spring
// Festival, and an occasional missing issue. The same options and seed always
// give the same history.
#ifndef ZEPHYRSTAT_TOOLS_HISTORY_GENERATOR_H_
#define ZEPHYRSTAT_TOOLS_HISTORY_GENERATOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/draw.h"
#include "core/issue_number.h"

namespace zs {

struct GeneratorOptions {
  Date first{2014, 1, 1};
  Date last{2014, 12, 31};
  int drawsPerDay = 84;
  bool threeDigit = false;
  uint64_t seed = 1;
  double missingRate = 0.002;  // share of issues left out at random
  bool springFestivalBreak = true;
};

// Draws in ascending issue order; each has eight distinct numbers 1..20.
std::vector<Draw> GenerateHistory(const GeneratorOptions& options);

// The most recent `count` draws up to and including `lastDay`'s last draw,
// stepping back over whole days (for a history of a given size).
GeneratorOptions OptionsForDrawCount(int64_t count, const Date& lastDay, int drawsPerDay,
                                     uint64_t seed);

// A history text file in the import layout: the issue, two blanks for an
// eight-digit issue (one for nine digits), then the eight numbers as two
// digits separated by blanks; CR LF line ends.
std::string HistoryFileText(const std::vector<Draw>& draws, bool threeDigit);

}  // namespace zs

#endif  // ZEPHYRSTAT_TOOLS_HISTORY_GENERATOR_H_
