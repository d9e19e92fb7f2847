#include "analysis/pattern_draws.h"

#include <algorithm>

#include "analysis/history_index.h"

namespace zs {

namespace {

NumberMask MaskOf(const int8_t* numbers) {
  NumberMask mask = 0;
  for (int p = 0; p < kPositions; ++p) {
    const int n = numbers[p];
    if (n >= kMinNumber && n <= kMaxNumber) mask |= NumberMask{1} << (n - 1);
  }
  return mask;
}

}  // namespace

NumberMask DrawNumbers(const HistoryIndex& index, size_t draw) {
  return MaskOf(&index.Draws()->fields[draw * kFieldsPerDraw]);
}

std::vector<DrawSet> PatternDraws(const HistoryIndex& index, PatternType type) {
  const auto packed = index.Draws();
  const size_t draws = packed->DrawCount();
  std::vector<DrawSet> sets(static_cast<size_t>(PatternBoxCount(type)));
  std::vector<uint64_t> word(sets.size(), 0);
  NumberMask previous = 0;
  // Bits gather a word at a time per box; a box's set takes only its words.
  for (size_t w = 0; w * DrawSet::kWordBits < draws; ++w) {
    const size_t end = std::min(draws, (w + 1) * DrawSet::kWordBits);
    for (size_t draw = w * DrawSet::kWordBits; draw < end; ++draw) {
      const NumberMask numbers = MaskOf(&packed->fields[draw * kFieldsPerDraw]);
      const int box = PatternBox(type, numbers, previous);
      if (box >= 0) word[static_cast<size_t>(box)] |= uint64_t{1} << (draw % DrawSet::kWordBits);
      previous = numbers;
    }
    for (size_t box = 0; box < sets.size(); ++box) {
      if (word[box] == 0) continue;
      sets[box].PutWord(w, word[box]);
      word[box] = 0;
    }
  }
  return sets;
}

}  // namespace zs
