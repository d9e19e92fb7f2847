// The values every part of the engine shares: a draw (issue and eight numbers
// in drawn order), the six search types, and one stored history row with the
// per-position attributes and tagged list texts derived from its draw.
#ifndef ZEPHYRSTAT_CORE_DRAW_H_
#define ZEPHYRSTAT_CORE_DRAW_H_

#include <array>
#include <cstdint>
#include <string>

namespace zs {

constexpr int kPositions = 8;
constexpr int kMinNumber = 1;
constexpr int kMaxNumber = 20;

// Positions 1..8 are indices 0..7.
using Numbers = std::array<int, kPositions>;

struct Draw {
  int32_t issue = 0;  // stored form: yymmddNN, or yymmddNNN under the three-digit rule
  Numbers numbers{};
  friend bool operator==(const Draw&, const Draw&) = default;
};

// The attribute an analysis compares. The index is also the index of the
// per-position field in HistoryRow::fields (letters A, B, E, F, G, H).
enum class SearchType : int {
  kNumber = 0,
  kZodiac = 1,
  kTens = 2,
  kUnits = 3,
  kSum = 4,
  kSegment = 5
};
constexpr int kSearchTypeCount = 6;

// Field letter of a search type in the Lishi column names (L1A … L8H).
constexpr std::array<char, kSearchTypeCount> kFieldLetters = {'A', 'B', 'E', 'F', 'G', 'H'};

// The seven tagged list texts, in the order the columns are written.
enum class ListText : int {
  kNumbers = 0,    // txtHisLst
  kTaggedNumbers,  // txtHisLstHm
  kZodiac,         // txtHisLstSx
  kSegment,        // txtHisLstDs
  kTens,           // txtHisLstTou
  kUnits,          // txtHisLstWei
  kSum,            // txtHisLstHe
};
constexpr int kListTextCount = 7;
constexpr std::array<const char*, kListTextCount> kListTextColumns = {
    "txtHisLst",    "txtHisLstHm",  "txtHisLstSx", "txtHisLstDs",
    "txtHisLstTou", "txtHisLstWei", "txtHisLstHe"};

// One row of the history table Lishi.
struct HistoryRow {
  int32_t idx = 0;        // 1..N in issue order; set by the store
  int32_t issue = 0;      // SQQH
  int32_t nextIssue = 0;  // QQH
  // fields[type][position]: L<i>A, L<i>B, L<i>E, L<i>F, L<i>G, L<i>H.
  std::array<Numbers, kSearchTypeCount> fields{};
  std::array<std::string, kListTextCount> texts;  // empty when not loaded

  const Numbers& numbers() const { return fields[0]; }
  friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_DRAW_H_
