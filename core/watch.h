// A watch (关注): one pattern followed over the whole stored history, with
// the condition under which it calls for attention, a name and its number
// (编号). The pattern is that of a position search, a partial search or one
// combination of the group calculation; the figures it is judged by are
// worked out in analysis/watch_figures.h.
//
// Conditions, as typed: "last>=N" (the last omission is at least N),
// "ratio>=R" (the last omission over the mean omission is at least R, a
// decimal of at most four decimals) and "record" (the last omission exceeds
// the largest one).
#ifndef ZEPHYRSTAT_CORE_WATCH_H_
#define ZEPHYRSTAT_CORE_WATCH_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw.h"

namespace zs {

enum class WatchKind { kSearch = 0, kPartial = 1, kCombination = 2 };

// "search", "partial", "combination".
std::string_view WatchKindName(WatchKind kind);
std::optional<WatchKind> WatchKindNamed(std::string_view name);

struct WatchCondition {
  enum class Kind { kLastAtLeast, kRatioAtLeast, kRecord };
  static constexpr int64_t kRatioScale = 10000;

  Kind kind = Kind::kLastAtLeast;
  int64_t lastAtLeast = 0;   // N of last>=N
  int64_t ratioAtLeast = 0;  // R of ratio>=R, in units of 1 / kRatioScale

  friend bool operator==(const WatchCondition&, const WatchCondition&) = default;
};

// nullopt for any other text; N is a whole number 0..2^31−1, R is 0..100000.
std::optional<WatchCondition> ParseWatchCondition(std::string_view text);
// The condition as ParseWatchCondition reads it back ("ratio>=1.5").
std::string WatchConditionText(const WatchCondition& condition);

struct Watch {
  int64_t number = 0;  // 编号; 0 until stored
  std::string name;
  WatchKind kind = WatchKind::kSearch;
  SearchType type = SearchType::kNumber;
  bool freePositions = true;              // search and partial
  std::array<bool, kPositions> chosen{};  // search: the positions that take part
  std::array<int, kPositions> values{};   // search: the chosen positions'; partial: all eight
  int partSize = 2;                       // partial: k
  std::vector<int> boxes;                 // combination: selection boxes 1..20, ascending
  WatchCondition condition;

  friend bool operator==(const Watch&, const Watch&) = default;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_WATCH_H_
