// The pattern of the position and partial searches, as the window poses it:
// the search type, fixed or free positions, the value of every position and
// the texts of the eight value boxes, which only label the result. From it
// come the criteria, each answered by a set of the index.
#ifndef ZEPHYRSTAT_ANALYSIS_SEARCH_PATTERN_H_
#define ZEPHYRSTAT_ANALYSIS_SEARCH_PATTERN_H_

#include <array>
#include <string>
#include <vector>

#include "core/draw.h"

namespace zs {

class DrawSet;
class HistoryIndex;

using PositionChoice = std::array<bool, kPositions>;

struct SearchPattern {
  SearchType type = SearchType::kNumber;
  bool freePositions = true;
  std::array<int, kPositions> values{};
  std::array<std::string, kPositions> boxTexts;
};

// One criterion: fixed, the attribute at `position` equals `value`; free,
// at least `count` of the draw's attributes equal `value` (for numbers the
// number is drawn at all).
struct Criterion {
  bool free = true;
  int position = 0;  // 0-based
  int value = 0;
  int count = 1;
};

// The criteria of the chosen positions in ascending order. Free positions of
// types other than numbers count the occurrences of each value so far, so two
// chosen positions with the same value ask for it twice.
std::vector<Criterion> PatternCriteria(const SearchPattern& pattern, const PositionChoice& chosen);

// The draws that satisfy `criterion`; nullptr when no draw does (a value no
// draw can carry, for instance).
const DrawSet* CriterionDraws(const HistoryIndex& index, SearchType type,
                              const Criterion& criterion);

// A pattern value as the outcome of a search names it: a zodiac value by its
// sign's name under the zodiac base `zodiacBase` of the history searched (a
// value no sign has keeps its digits), any other value in TwoDigits().
std::string PatternValueName(SearchType type, int value, int zodiacBase);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_SEARCH_PATTERN_H_
