// The omission figures of a pattern over a search range: the omission of
// every hit (its distance in idx from the previous hit), the smallest,
// largest and last omission, and the ratio of largest to last.
//
// The draws below the range start count as if the one right before it were
// a hit, so the virtual previous hit is the number of stored draws below the
// start issue, whether or not the start issue itself is stored. The last
// omission runs from the last hit to one past the newest stored draw, also
// when the range ends earlier. Counters are 32-bit; 32767 stands for the
// smallest and largest omission only when nothing hit.
#ifndef ZEPHYRSTAT_ANALYSIS_OMISSION_H_
#define ZEPHYRSTAT_ANALYSIS_OMISSION_H_

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

namespace zs {

constexpr int32_t kNoHitOmission = 32767;

struct OmissionFigures {
  int32_t smallest = kNoHitOmission;
  int32_t largest = kNoHitOmission;
  int32_t last = 1;

  // largest / last in double precision, as the summary grid shows it.
  double Ratio() const { return static_cast<double>(largest) / last; }
  // The same ratio kept as a single, as the omission table stores it.
  float SingleRatio() const { return static_cast<float>(Ratio()); }

  friend bool operator==(const OmissionFigures&, const OmissionFigures&) = default;
};

class OmissionCounter {
 public:
  // `previousHitIdx`: idx of the virtual previous hit (draws below the start).
  explicit OmissionCounter(int64_t previousHitIdx) : previous_(previousHitIdx) {}

  // Precondition: hits come in ascending idx order, above previousHitIdx.
  // Returns the omission of this hit.
  int32_t AddHit(int64_t idx) {
    const auto gap = static_cast<int32_t>(idx - previous_);
    if (hits_ == 0 || gap < smallest_) smallest_ = gap;
    if (hits_ == 0 || gap > largest_) largest_ = gap;
    previous_ = idx;
    ++hits_;
    return gap;
  }

  // Adds the hits of one bitset word, bit b being idx firstIdx + b; the same
  // as AddHit for each, in a loop tight enough for millions of hits.
  void AddWord(uint64_t bits, int64_t firstIdx) {
    if (bits == 0) return;
    int32_t smallest = hits_ == 0 ? INT32_MAX : smallest_;
    int32_t largest = hits_ == 0 ? INT32_MIN : largest_;
    int64_t previous = previous_;
    // Counted in the loop: std::popcount is a library call unless the build
    // targets processors with POPCNT.
    do {
      ++hits_;
      const int64_t idx = firstIdx + std::countr_zero(bits);
      const auto gap = static_cast<int32_t>(idx - previous);
      smallest = std::min(smallest, gap);
      largest = std::max(largest, gap);
      previous = idx;
      bits &= bits - 1;
    } while (bits != 0);
    smallest_ = smallest;
    largest_ = largest;
    previous_ = previous;
  }

  int64_t HitCount() const { return hits_; }

  // `newestIdx`: idx of the newest stored draw (the draw count).
  OmissionFigures Finish(int64_t newestIdx) const {
    OmissionFigures figures;
    if (hits_ > 0) {
      figures.smallest = smallest_;
      figures.largest = largest_;
    }
    figures.last = static_cast<int32_t>(newestIdx + 1 - previous_);
    return figures;
  }

 private:
  int64_t previous_;
  int64_t hits_ = 0;
  int32_t smallest_ = 0;
  int32_t largest_ = 0;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_OMISSION_H_
