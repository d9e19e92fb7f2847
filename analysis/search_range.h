// The search range of an analysis: the two range boxes ("起" and "止") read
// as stored issues, and where that range lies in the index.
//
// A box whose rightmost nine characters are not a number stops the analysis
// before it touches anything, with InputError naming the box; so does an
// empty history, whose boxes name nothing, with a message of its own.
#ifndef ZEPHYRSTAT_ANALYSIS_SEARCH_RANGE_H_
#define ZEPHYRSTAT_ANALYSIS_SEARCH_RANGE_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zs {

class HistoryIndex;

struct SearchRange {
  int32_t start = 0;
  int32_t end = 0;
};

// Throws InputError when either box does not end in a number.
SearchRange ReadRangeBoxes(std::string_view startBox, std::string_view endBox);

// The draws of a range: positions [begin, end) of the index (empty when the
// start lies after the end), the idx of the virtual previous hit (draws below
// the start issue) and the idx of the newest stored draw.
struct RangeSpan {
  size_t begin = 0;
  size_t end = 0;
  int64_t previousHitIdx = 0;
  int64_t newestIdx = 0;
};

RangeSpan Locate(const HistoryIndex& index, const SearchRange& range);
// The same over the ascending issues of the stored draws.
RangeSpan Locate(const std::vector<int32_t>& issues, const SearchRange& range);

// What every analysis does with its range boxes: refuses an empty history
// (InputError saying so, whatever the boxes hold), then reads the boxes and
// locates their range.
RangeSpan LocateRangeBoxes(const HistoryIndex& index, std::string_view startBox,
                           std::string_view endBox);
RangeSpan LocateRangeBoxes(const std::vector<int32_t>& issues, std::string_view startBox,
                           std::string_view endBox);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_SEARCH_RANGE_H_
