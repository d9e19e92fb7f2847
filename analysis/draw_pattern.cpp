#include "analysis/draw_pattern.h"

#include "analysis/history_index.h"
#include "analysis/zodiac_names.h"

namespace zs {

std::optional<size_t> DrawAtOrBefore(const HistoryIndex& index, int32_t issue) {
  const size_t upTo = index.CountUpTo(issue);
  if (upTo == 0) return std::nullopt;
  return upTo - 1;
}

void TakePatternFromDraw(const HistoryIndex& index, size_t draw, int sxIni,
                         SearchPattern& pattern) {
  for (int p = 0; p < kPositions; ++p) {
    const int value =
        pattern.type == SearchType::kSum
            ? index.Field(draw, SearchType::kTens, p) + index.Field(draw, SearchType::kUnits, p)
            : index.Field(draw, pattern.type, p);
    pattern.values[p] = value;
    pattern.boxTexts[p] =
        pattern.type == SearchType::kZodiac ? ZodiacName(value - sxIni) : std::to_string(value);
  }
}

}  // namespace zs
