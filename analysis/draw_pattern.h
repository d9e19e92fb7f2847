// The pattern taken from a stored draw, as the tab "历史指定期" takes it:
// for every position the draw's attribute of the search type (for digit
// sums the tens plus the units digit) and the text its value box shows (the
// zodiac name for zodiac values, else the plain number).
#ifndef ZEPHYRSTAT_ANALYSIS_DRAW_PATTERN_H_
#define ZEPHYRSTAT_ANALYSIS_DRAW_PATTERN_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "analysis/search_pattern.h"

namespace zs {

class HistoryIndex;

// The chosen issue, or the nearest stored issue before it; nullopt when no
// stored issue is at or before `issue`.
std::optional<size_t> DrawAtOrBefore(const HistoryIndex& index, int32_t issue);

// The draw whose pattern a chosen issue names, as the box "历史指定期" and
// the tool's --pattern-of read it: the stored issue that the text's rightmost
// nine characters form (blanks around it disregarded, as a range box reads
// it), or the nearest stored issue before it. Throws InputError, in Chinese
// and naming the text, for an empty history, a text that is no issue, and an
// issue before every stored one.
size_t ChosenIssueDraw(const HistoryIndex& index, std::string_view chosenText);

// Fills values and boxTexts of `pattern` (its type already set) from `draw`.
void TakePatternFromDraw(const HistoryIndex& index, size_t draw, int zodiacBase,
                         SearchPattern& pattern);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_DRAW_PATTERN_H_
