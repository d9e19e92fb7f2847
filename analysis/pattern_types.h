// The draw's own patterns (和值, 和尾, 跨度, 奇偶比, 大小比, 质合比, 区间比,
// 012路比, 连号, 重号): each a property of the whole draw with one box per
// value it can take, for the per-box views beside the per-position types.
//
// A draw hits the one box its pattern value falls in; 重号 compares the draw
// with the previous stored draw, so the first stored draw hits no box. The
// chance of a box is the share of the C(20, 8) equally likely sets of eight
// numbers that fall in it (for 重号 given any previous draw, all of which
// hold eight distinct numbers). A stored draw that repeats a number (the
// import lets such draws through) hits no box.
#ifndef ZEPHYRSTAT_ANALYSIS_PATTERN_TYPES_H_
#define ZEPHYRSTAT_ANALYSIS_PATTERN_TYPES_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zs {

enum class PatternType : int {
  kTotal = 0,    // 和值 in bands of ten, "30-39" … "130-139"
  kTotalTail,    // 和尾, the sum's last digit
  kSpan,         // 跨度, largest − smallest, "7" … "19"
  kOddEven,      // 奇偶比 "odd:even"
  kBigSmall,     // 大小比, 大 = 11–20
  kPrime,        // 质合比, 质 = 01 02 03 05 07 11 13 17 19
  kZones,        // 区间比 over 01–05, 06–10, 11–15, 16–20
  kMod3,         // 012路比 over n mod 3 = 0, 1, 2
  kConsecutive,  // 连号, numbers n with n + 1 drawn too
  kRepeat,       // 重号, numbers of the previous stored draw
};
constexpr int kPatternTypeCount = 10;

// The draw as a bit mask: bit n − 1 for number n.
using NumberMask = uint32_t;

// How many boxes the type has, and the label of box `box` (0-based).
int PatternBoxCount(PatternType type);
const std::string& PatternBoxLabel(PatternType type, int box);

// The box the draw `numbers` hits, -1 for none: when the draw does not
// hold eight numbers, or under kRepeat when there is no previous stored
// draw (`previous` 0; read by kRepeat only).
int PatternBox(PatternType type, NumberMask numbers, NumberMask previous);

// How many of the C(20, 8) sets of eight numbers hit box `box` (for kRepeat
// given a previous draw).
int64_t PatternSetCount(PatternType type, int box);
constexpr int64_t kDrawSetCount = 125970;  // C(20, 8)

// The command-line name ("total", "odd-even", …) and the caption (和值, …).
const char* PatternTypeName(PatternType type);
const char* PatternTypeCaption(PatternType type);
// nullopt when `name` is no pattern type's name.
std::optional<PatternType> PatternTypeNamed(std::string_view name);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_PATTERN_TYPES_H_
