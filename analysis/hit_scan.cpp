#include "analysis/hit_scan.h"

#include <algorithm>
#include <bit>

#include "analysis/draw_set.h"

namespace zs {

namespace {

// Walks the words of the range, asking `wordOf(word)` for the hit bits of a
// word and counting the omissions of the hits in order.
template <typename WordOf>
HitList Collect(const RangeSpan& span, WordOf&& wordOf) {
  HitList list;
  OmissionCounter counter(span.previousHitIdx);
  if (span.begin < span.end) {
    const size_t firstWord = span.begin / DrawSet::kWordBits;
    const size_t lastWord = (span.end - 1) / DrawSet::kWordBits;
    // Counting first costs a fraction of the list and spares a search that
    // hits most of a long history the regrowing and copying of the list.
    size_t count = 0;
    for (size_t w = firstWord; w <= lastWord; ++w) {
      count += static_cast<size_t>(std::popcount(wordOf(w) & RangeMask(w, span.begin, span.end)));
    }
    list.hits.reserve(count);
    for (size_t w = firstWord; w <= lastWord; ++w) {
      const uint64_t bits = wordOf(w) & RangeMask(w, span.begin, span.end);
      ForEachBit(bits, w, [&](size_t draw) {
        const auto idx = static_cast<int64_t>(draw) + 1;
        list.hits.push_back(Hit{static_cast<int32_t>(idx), counter.AddHit(idx)});
      });
    }
  }
  list.figures = counter.Finish(span.newestIdx);
  return list;
}

// The bits of a word whose 4-bit count (planes[3] highest) is at least k.
uint64_t AtLeastMask(const std::array<uint64_t, 4>& planes, int k) {
  uint64_t greater = 0;
  uint64_t equal = ~uint64_t{0};
  for (int bit = 3; bit >= 0; --bit) {
    if ((k >> bit) & 1) {
      equal &= planes[bit];
    } else {
      greater |= equal & planes[bit];
      equal &= ~planes[bit];
    }
  }
  return greater | equal;
}

}  // namespace

HitList HitsOfAll(const std::vector<const DrawSet*>& criteria, const RangeSpan& span) {
  if (std::find(criteria.begin(), criteria.end(), nullptr) != criteria.end()) {
    return Collect(span, [](size_t) { return uint64_t{0}; });
  }
  return Collect(span, [&](size_t w) {
    uint64_t bits = ~uint64_t{0};
    for (const DrawSet* set : criteria) bits &= set->Word(w);
    return bits;
  });
}

HitList HitsOfAtLeast(const std::array<const DrawSet*, kPositions>& criteria, int atLeast,
                      const RangeSpan& span) {
  return Collect(span, [&](size_t w) {
    // A bit-sliced counter: planes[j] holds bit j of every draw's count.
    std::array<uint64_t, 4> planes{};
    for (const DrawSet* set : criteria) {
      uint64_t carry = set ? set->Word(w) : 0;
      for (uint64_t& plane : planes) {
        const uint64_t next = plane & carry;
        plane ^= carry;
        carry = next;
      }
    }
    return AtLeastMask(planes, atLeast);
  });
}

}  // namespace zs
