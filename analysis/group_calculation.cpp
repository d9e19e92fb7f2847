#include "analysis/group_calculation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <thread>

#include "analysis/history_index.h"
#include "analysis/omission.h"
#include "analysis/search_range.h"

namespace zs {

namespace {

// The participating boxes of a request: which item each stored attribute
// value stands for (bit i for item i, 0 for no item), and the items' labels.
struct Items {
  SearchType type = SearchType::kNumber;
  std::array<uint32_t, 256> bitOfValue{};  // indexed by the stored byte
  std::vector<std::string> labels;

  size_t Count() const { return labels.size(); }
  // The items draw `draw` carries: an item asks that at least one drawn
  // number carry its value.
  uint32_t CarriedBy(const PackedHistory& draws, size_t draw) const {
    const int8_t* fields =
        draws.fields.data() + draw * kFieldsPerDraw + static_cast<size_t>(type) * kPositions;
    uint32_t carried = 0;
    for (int p = 0; p < kPositions; ++p) carried |= bitOfValue[static_cast<uint8_t>(fields[p])];
    return carried;
  }
};

// The combinations of k items are counted draw by draw: a draw carrying p of
// the items hits exactly the C(p, k) combinations of those p, so each hit
// costs one counter update, found through tables rather than by a walk whose
// branches the processor cannot predict. A draw carries at most one item per
// drawn attribute, so p stays small; the tables still cover every p.
class Combinations {
 public:
  Combinations(size_t itemCount, int groupSize)
      : n_(itemCount), k_(static_cast<size_t>(groupSize)), subsets_(n_ + 1) {
    for (size_t c = 0; c <= n_; ++c) {
      for (size_t i = 0; i < k_; ++i) colex_[c][i] = static_cast<uint32_t>(Choose(c, i + 1));
    }
    // subsets_[p]: every k-subset of {0 … p-1}, k indexes each, ascending.
    std::vector<uint8_t> subset(k_);
    for (size_t p = k_; p <= n_; ++p) {
      for (size_t i = 0; i < k_; ++i) subset[i] = static_cast<uint8_t>(i);
      do {
        subsets_[p].insert(subsets_[p].end(), subset.begin(), subset.end());
      } while (Advance(subset, p));
    }
  }

  size_t Count() const { return static_cast<size_t>(Choose(n_, k_)); }

  // The counter slot of the combination of ascending items `items`.
  template <typename Index>
  uint32_t Slot(const Index* items) const {
    uint32_t slot = 0;
    for (size_t i = 0; i < k_; ++i) slot += colex_[items[i]][i];
    return slot;
  }

  // Adds draw `idx`, which carries the p ascending `carried` items, to every
  // combination of them.
  void AddDraw(const uint8_t* carried, size_t p, int32_t idx, OmissionRun* runs) const {
    const std::vector<uint8_t>& subsets = subsets_[p];
    for (size_t s = 0; s < subsets.size(); s += k_) {
      uint32_t slot = 0;
      for (size_t i = 0; i < k_; ++i) slot += colex_[carried[subsets[s + i]]][i];
      runs[slot].AddHit(idx);
    }
  }

  // Moves `items` (k ascending indexes below `limit`) to the next
  // combination in lexicographic order; false after the last one.
  template <typename Index>
  bool Advance(std::vector<Index>& items, size_t limit) const {
    size_t d = k_;
    while (d > 0 && items[d - 1] == limit - k_ + d - 1) --d;
    if (d == 0) return false;
    ++items[d - 1];
    for (size_t e = d; e < k_; ++e) items[e] = static_cast<Index>(items[e - 1] + 1);
    return true;
  }

 private:
  static uint64_t Choose(size_t n, size_t k) {
    if (k > n) return 0;
    uint64_t count = 1;
    for (size_t i = 1; i <= k; ++i) count = count * (n - k + i) / i;
    return count;
  }

  const size_t n_;
  const size_t k_;
  std::array<std::array<uint32_t, kMaxGroupSize>, kSelectionBoxes + 1> colex_{};
  std::vector<std::vector<uint8_t>> subsets_;
};

// Counts draws [from, to) into `runs`, one per combination slot.
void CountDraws(const PackedHistory& draws, const Items& items, const Combinations& combinations,
                size_t from, size_t to, std::vector<OmissionRun>& runs) {
  runs.assign(combinations.Count(), OmissionRun{});
  std::array<uint8_t, kSelectionBoxes> carried{};
  for (size_t draw = from; draw < to; ++draw) {
    size_t p = 0;
    for (uint32_t mask = items.CarriedBy(draws, draw); mask != 0; mask &= mask - 1) {
      carried[p++] = static_cast<uint8_t>(std::countr_zero(mask));
    }
    combinations.AddDraw(carried.data(), p, static_cast<int32_t>(draw) + 1, runs.data());
  }
}

// Counts the range on two threads when the machine has two cores, each
// taking half of its draws, and joins the halves' runs; then makes the rows
// in lexicographic order of the items.
std::vector<OmissionRecord> Enumerate(const PackedHistory& draws, const Items& items, int groupSize,
                                      const RangeSpan& span) {
  const Combinations combinations(items.Count(), groupSize);
  std::vector<OmissionRun> runs;
  const size_t middle = span.begin + (span.end - span.begin) / 2;
  std::vector<OmissionRun> later;
  std::exception_ptr helperFailure;
  std::thread helper;
  const bool split = std::thread::hardware_concurrency() > 1 && middle > span.begin;
  if (split) {
    helper = std::thread([&] {
      try {
        CountDraws(draws, items, combinations, middle, span.end, later);
      } catch (...) {
        helperFailure = std::current_exception();
      }
    });
  }
  // The helper must be joined before an exception leaves this frame.
  std::exception_ptr ownFailure;
  try {
    CountDraws(draws, items, combinations, span.begin, split ? middle : span.end, runs);
  } catch (...) {
    ownFailure = std::current_exception();
  }
  if (helper.joinable()) helper.join();
  if (ownFailure) std::rethrow_exception(ownFailure);
  if (helperFailure) std::rethrow_exception(helperFailure);
  if (split) {
    for (size_t slot = 0; slot < runs.size(); ++slot)
      runs[slot] = runs[slot].FollowedBy(later[slot]);
  }

  std::vector<OmissionRecord> rows;
  rows.reserve(runs.size());
  std::vector<size_t> combination(static_cast<size_t>(groupSize));
  for (size_t d = 0; d < combination.size(); ++d) combination[d] = d;
  do {
    std::string content = items.labels[combination[0]];
    for (size_t d = 1; d < combination.size(); ++d) {
      content += ' ';
      content += items.labels[combination[d]];
    }
    const OmissionFigures figures =
        runs[combinations.Slot(combination.data())].Finish(span.previousHitIdx, span.newestIdx);
    rows.push_back(OmissionRecord{std::move(content), figures.smallest, figures.largest,
                                  figures.last, figures.SingleRatio()});
  } while (combinations.Advance(combination, items.Count()));
  return rows;
}

// Refuses `groupSize` over `selectedCount` boxes when the combinations would
// be too many.
void CheckGroupSize(int groupSize, int selectedCount) {
  if (groupSize == 5 && selectedCount > 18) {
    throw GroupSizeRefusal("5个分组请选择18个（含）以内的个数的号码");
  }
  if (groupSize == 6 && selectedCount > 16) {
    throw GroupSizeRefusal("6个分组请选择16个（含）以内的个数的号码");
  }
}

}  // namespace

std::vector<int> ParticipatingBoxes(SearchType type, const std::vector<int>& checkedBoxes) {
  std::vector<int> boxes;
  for (int box : checkedBoxes) {
    if (box >= 1 && box <= BoxCount(type)) boxes.push_back(box);
  }
  std::sort(boxes.begin(), boxes.end());
  boxes.erase(std::unique(boxes.begin(), boxes.end()), boxes.end());
  return boxes;
}

std::vector<OmissionRecord> ComputeGroupRows(const PackedHistory& draws,
                                             const GroupRequest& request) {
  const std::vector<int> boxes = ParticipatingBoxes(request.type, request.checkedBoxes);
  CheckGroupSize(request.groupSize, static_cast<int>(boxes.size()));
  const RangeSpan span = LocateRangeBoxes(draws.issues, request.startBox, request.endBox);
  if (request.groupSize < 1 || request.groupSize > kMaxGroupSize ||
      boxes.size() < static_cast<size_t>(request.groupSize)) {
    return {};
  }
  Items items;
  items.type = request.type;
  for (int box : boxes) {
    const int value = BoxValue(request.type, box, request.bases);
    // A value no stored attribute can hold is carried by no draw.
    if (value >= 0 && value <= kMaxIndexedValue) {
      items.bitOfValue[static_cast<size_t>(value)] |= uint32_t{1} << items.Count();
    }
    items.labels.push_back(BoxLabel(request.type, box, request.bases));
  }
  return Enumerate(draws, items, request.groupSize, span);
}

std::vector<OmissionRecord> ComputeGroupRows(const HistoryIndex& index,
                                             const GroupRequest& request) {
  return ComputeGroupRows(*index.Draws(), request);
}

std::vector<OmissionRecord> RunGroupCalculation(const PackedHistory& draws,
                                                const GroupRequest& request, HistoryStore& store) {
  std::vector<OmissionRecord> rows = ComputeGroupRows(draws, request);
  ReplaceOmissionRecords(store, rows);
  return rows;
}

std::vector<OmissionRecord> RunGroupCalculation(const HistoryIndex& index,
                                                const GroupRequest& request, HistoryStore& store) {
  return RunGroupCalculation(*index.Draws(), request, store);
}

std::vector<OmissionRecord> RunGroupTable(const PackedHistory& draws, const GroupRequest& request,
                                          HistoryStore& store, OmissionSortKey key) {
  // From memory: once the change has released the writer lock, YL may
  // already hold another program's table.
  return SortOmissionRecords(RunGroupCalculation(draws, request, store), key);
}

}  // namespace zs
