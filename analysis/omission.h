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

// The hits of one stretch of draws, kept so that stretches counted apart
// (on different threads) join into the figures of the whole range: the
// first and last hit and the smallest and largest omission between hits of
// the stretch. idx values are positive and fit 32 bits.
struct OmissionRun {
  int32_t first = 0;  // 0: no hit yet
  int32_t last = 0;
  int32_t smallest = INT32_MAX;
  int32_t largest = INT32_MIN;

  // Precondition: hits come in ascending idx order.
  void AddHit(int32_t idx) {
    // Taken once per run, so the branch costs next to nothing.
    if (first == 0) {
      first = idx;
    } else {
      const int32_t gap = idx - last;
      smallest = std::min(smallest, gap);
      largest = std::max(largest, gap);
    }
    last = idx;
  }

  // The run of this stretch followed by `later`.
  OmissionRun FollowedBy(const OmissionRun& later) const {
    if (first == 0) return later;
    if (later.first == 0) return *this;
    const int32_t gap = later.first - last;
    return OmissionRun{first, later.last, std::min({smallest, later.smallest, gap}),
                       std::max({largest, later.largest, gap})};
  }

  // The figures of the run as OmissionCounter gives them for the same hits.
  OmissionFigures Finish(int64_t previousHitIdx, int64_t newestIdx) const {
    OmissionFigures figures;
    if (first == 0) {
      figures.last = static_cast<int32_t>(newestIdx + 1 - previousHitIdx);
      return figures;
    }
    const auto firstGap = static_cast<int32_t>(first - previousHitIdx);
    figures.smallest = std::min(smallest, firstGap);
    figures.largest = std::max(largest, firstGap);
    figures.last = static_cast<int32_t>(newestIdx + 1 - last);
    return figures;
  }
};

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_OMISSION_H_
