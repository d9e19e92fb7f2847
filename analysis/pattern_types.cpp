#include "analysis/pattern_types.h"

#include <bit>
#include <vector>

namespace zs {

namespace {

constexpr NumberMask kOdd = 0x55555;       // 01 03 … 19
constexpr NumberMask kBig = 0xFFC00;       // 11–20
constexpr NumberMask kPrimeish = 0x51457;  // 01 02 03 05 07 11 13 17 19
constexpr std::array<NumberMask, 4> kZones = {0x1F, 0x3E0, 0x7C00, 0xF8000};
constexpr std::array<NumberMask, 3> kRemainders = {0x24924, 0x49249, 0x92492};  // n mod 3 = 0, 1, 2
constexpr NumberMask kAllNumbers = 0xFFFFF;

struct TypeInfo {
  const char* name;
  const char* caption;
};

constexpr std::array<TypeInfo, kPatternTypeCount> kTypes = {{
    {"total", "和值"},
    {"total-tail", "和尾"},
    {"span", "跨度"},
    {"odd-even", "奇偶比"},
    {"big-small", "大小比"},
    {"prime", "质合比"},
    {"zones", "区间比"},
    {"mod3", "012路比"},
    {"consecutive", "连号"},
    {"repeat", "重号"},
}};

// A split of the eight numbers over groups read as one key: each count a
// digit of base 8, so every split of up to four groups has its own key.
template <size_t Groups>
int SplitKey(NumberMask numbers, const std::array<NumberMask, Groups>& groups) {
  int key = 0;
  for (NumberMask group : groups) key = key * 8 + std::popcount(numbers & group);
  return key;
}

// Every possible split of eight numbers over `groups`, in ascending
// lexicographic order: the labels "a:b:…" and the box of every key.
template <size_t Groups>
void AddSplits(const std::array<NumberMask, Groups>& groups, std::vector<std::string>& labels,
               std::vector<int>& boxOfKey) {
  boxOfKey.assign(1 << (3 * Groups), -1);
  std::array<int, Groups> counts{};
  // Counting through every tuple in lexicographic order keeps the boxes in order.
  for (int key = 0; key < (1 << (3 * Groups)); ++key) {
    int rest = key, sum = 0;
    bool fits = true;
    for (size_t g = Groups; g-- > 0;) {
      counts[g] = rest % 8;
      rest /= 8;
      sum += counts[g];
      fits = fits && counts[g] <= std::popcount(groups[g]);
    }
    if (!fits || sum != 8) continue;
    std::string label;
    for (size_t g = 0; g < Groups; ++g) {
      if (g > 0) label += ':';
      label += std::to_string(counts[g]);
    }
    boxOfKey[static_cast<size_t>(key)] = static_cast<int>(labels.size());
    labels.push_back(label);
  }
}

int Sum(NumberMask numbers) {
  int sum = 0;
  for (; numbers != 0; numbers &= numbers - 1) sum += std::countr_zero(numbers) + 1;
  return sum;
}

// The labels, split boxes and set counts of every type, made on first use
// by going through every set of eight numbers once.
struct Tables {
  std::array<std::vector<std::string>, kPatternTypeCount> labels;
  std::vector<int> zoneBox;
  std::vector<int> remainderBox;
  std::array<std::vector<int64_t>, kPatternTypeCount> setCounts;

  Tables() {
    auto& all = labels;
    for (int band = 3; band <= 13; ++band) {
      std::string label = std::to_string(band * 10);
      label += '-';
      label += std::to_string(band * 10 + 9);
      all[0].push_back(label);
    }
    for (int digit = 0; digit <= 9; ++digit) all[1].push_back(std::to_string(digit));
    for (int span = 7; span <= 19; ++span) all[2].push_back(std::to_string(span));
    for (int type : {3, 4, 5}) {
      for (int k = 0; k <= 8; ++k)
        all[type].push_back(std::to_string(k) + ":" + std::to_string(8 - k));
    }
    AddSplits(kZones, all[6], zoneBox);
    AddSplits(kRemainders, all[7], remainderBox);
    for (int k = 0; k <= 7; ++k) all[8].push_back(std::to_string(k));
    for (int k = 0; k <= 8; ++k) all[9].push_back(std::to_string(k));

    for (int t = 0; t < kPatternTypeCount; ++t) setCounts[t].assign(labels[t].size(), 0);
    // Every 20-bit mask of eight bits, in ascending order (the next larger
    // number with as many bits set).
    for (NumberMask set = 0xFF; set <= kAllNumbers;) {
      for (int t = 0; t < kPatternTypeCount; ++t) {
        ++setCounts[t][static_cast<size_t>(Box(static_cast<PatternType>(t), set, 0xFF))];
      }
      const NumberMask lowest = set & (~set + 1);
      const NumberMask ripple = set + lowest;
      set = ripple | (((set ^ ripple) >> 2) / lowest);
    }
  }

  int Box(PatternType type, NumberMask numbers, NumberMask previous) const {
    if (std::popcount(numbers) != 8) return -1;
    switch (type) {
      case PatternType::kTotal:
        return Sum(numbers) / 10 - 3;
      case PatternType::kTotalTail:
        return Sum(numbers) % 10;
      case PatternType::kSpan:
        return (31 - std::countl_zero(numbers)) - std::countr_zero(numbers) - 7;
      case PatternType::kOddEven:
        return std::popcount(numbers & kOdd);
      case PatternType::kBigSmall:
        return std::popcount(numbers & kBig);
      case PatternType::kPrime:
        return std::popcount(numbers & kPrimeish);
      case PatternType::kZones:
        return zoneBox[static_cast<size_t>(SplitKey(numbers, kZones))];
      case PatternType::kMod3:
        return remainderBox[static_cast<size_t>(SplitKey(numbers, kRemainders))];
      case PatternType::kConsecutive:
        return std::popcount(numbers & (numbers >> 1));
      case PatternType::kRepeat:
        return previous == 0 ? -1 : std::popcount(numbers & previous);
    }
    return -1;
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

int PatternBoxCount(PatternType type) {
  return static_cast<int>(TheTables().labels[static_cast<size_t>(type)].size());
}

const std::string& PatternBoxLabel(PatternType type, int box) {
  return TheTables().labels[static_cast<size_t>(type)][static_cast<size_t>(box)];
}

int PatternBox(PatternType type, NumberMask numbers, NumberMask previous) {
  return TheTables().Box(type, numbers, previous);
}

int64_t PatternSetCount(PatternType type, int box) {
  return TheTables().setCounts[static_cast<size_t>(type)][static_cast<size_t>(box)];
}

const char* PatternTypeName(PatternType type) { return kTypes[static_cast<size_t>(type)].name; }

const char* PatternTypeCaption(PatternType type) {
  return kTypes[static_cast<size_t>(type)].caption;
}

std::optional<PatternType> PatternTypeNamed(std::string_view name) {
  for (int t = 0; t < kPatternTypeCount; ++t) {
    if (name == kTypes[static_cast<size_t>(t)].name) return static_cast<PatternType>(t);
  }
  return std::nullopt;
}

}  // namespace zs
