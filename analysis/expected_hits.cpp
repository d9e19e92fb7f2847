#include "analysis/expected_hits.h"

#include <array>
#include <cstdint>

#include "analysis/box_view.h"
#include "analysis/history_index.h"
#include "analysis/pattern_types.h"
#include "core/derivation.h"
#include "core/issue_number.h"

namespace zs {

namespace {

// p in whole units of 1 / (8 C(20, 8)).
constexpr int64_t kUnits = 8 * kDrawSetCount;

constexpr int64_t Choose8(int n) {
  int64_t ways = 1;
  for (int k = 0; k < 8; ++k) ways = ways * (n - k) / (k + 1);
  return n < 8 ? 0 : ways;
}

int64_t PositionUnits(bool free, int carriers) {
  if (!free) return carriers * (kUnits / kMaxNumber);
  return 8 * (kDrawSetCount - Choose8(kMaxNumber - carriers));
}

// The value every number 1..20 carries under the type in one draw.
using Attributes = std::array<int, kMaxNumber>;

// Reads draw after draw the key of its attributes: draws with equal keys
// carry equal attributes. Only zodiac values and segments vary between
// draws; the key then holds the stored base and, for zodiac values, the
// zodiac year.
class AttributeKeys {
 public:
  AttributeKeys(const HistoryIndex& index, SearchType type, bool threeDigit)
      : index_(index), type_(type), threeDigit_(threeDigit) {}

  int64_t Key(size_t draw) {
    const int first = index_.Field(draw, SearchType::kNumber, 0);
    const int code = index_.Field(draw, type_, 0);
    if (type_ == SearchType::kSegment) return code - (first - 1) / 4;
    if (type_ != SearchType::kZodiac) return 0;
    const int32_t issue = index_.Issue(draw);
    const int32_t day = threeDigit_ ? issue / 1000 : issue / 100;
    if (day != day_) {
      day_ = day;
      year_ = ZodiacYear(issue, threeDigit_);
    }
    return int64_t{year_} * 1024 + (code - ZodiacSign(first, year_));
  }

  Attributes Of(int64_t key) const {
    Attributes values{};
    for (int n = kMinNumber; n <= kMaxNumber; ++n) {
      int& value = values[static_cast<size_t>(n - 1)];
      switch (type_) {
        case SearchType::kNumber:
          value = n;
          break;
        case SearchType::kZodiac: {
          const int64_t year = (key + 512) / 1024;  // bases lie far inside ±512
          value = static_cast<int>(key - year * 1024) + ZodiacSign(n, static_cast<int>(year));
          break;
        }
        case SearchType::kTens:
          value = n / 10;
          break;
        case SearchType::kUnits:
          value = n % 10;
          break;
        case SearchType::kSum:
          value = n / 10 + n % 10;
          break;
        case SearchType::kSegment:
          value = (n - 1) / 4 + static_cast<int>(key);
          break;
      }
    }
    return values;
  }

 private:
  const HistoryIndex& index_;
  SearchType type_;
  bool threeDigit_;
  int32_t day_ = -1;
  int year_ = 0;
};

void AddPositionUnits(const BoxView& view, const Attributes& values, int64_t draws,
                      std::vector<int64_t>& units) {
  const BoxViewRequest& request = view.request();
  for (int box = 0; box < view.BoxCount(); ++box) {
    const int value = BoxValue(request.type, box + 1, request.bases);
    int carriers = 0;
    for (int carried : values) carriers += carried == value ? 1 : 0;
    units[static_cast<size_t>(box)] += draws * PositionUnits(request.freePositions, carriers);
  }
}

}  // namespace

std::vector<double> ExpectedHits(const BoxView& view, const RangeSpan& span) {
  std::vector<int64_t> units(static_cast<size_t>(view.BoxCount()), 0);
  const BoxViewRequest& request = view.request();
  const auto draws = static_cast<int64_t>(span.end - span.begin);
  if (request.pattern) {
    // Under 重号 the first stored draw has no previous draw to repeat.
    const int64_t counted = *request.pattern == PatternType::kRepeat && span.begin == 0 && draws > 0
                                ? draws - 1
                                : draws;
    for (int box = 0; box < view.BoxCount(); ++box) {
      units[static_cast<size_t>(box)] = counted * 8 * PatternSetCount(*request.pattern, box);
    }
  } else if (request.type != SearchType::kZodiac && request.type != SearchType::kSegment) {
    // The other types give every draw the same attributes.
    const AttributeKeys keys(view.index(), request.type, request.threeDigit);
    AddPositionUnits(view, keys.Of(0), draws, units);
  } else {
    // Runs of draws with one key, counted before their attributes are made.
    AttributeKeys keys(view.index(), request.type, request.threeDigit);
    size_t runStart = span.begin;
    int64_t runKey = 0;
    for (size_t draw = span.begin; draw < span.end; ++draw) {
      const int64_t key = keys.Key(draw);
      if (draw != runStart && key == runKey) continue;
      if (draw != runStart) {
        AddPositionUnits(view, keys.Of(runKey), static_cast<int64_t>(draw - runStart), units);
      }
      runStart = draw;
      runKey = key;
    }
    if (span.end > runStart) {
      AddPositionUnits(view, keys.Of(runKey), static_cast<int64_t>(span.end - runStart), units);
    }
  }
  std::vector<double> expected;
  expected.reserve(units.size());
  for (int64_t sum : units) expected.push_back(static_cast<double>(sum) / kUnits);
  return expected;
}

}  // namespace zs
