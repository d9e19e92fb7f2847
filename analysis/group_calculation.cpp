#include "analysis/group_calculation.h"

#include <algorithm>

#include "analysis/draw_set.h"
#include "analysis/history_index.h"
#include "analysis/omission.h"
#include "analysis/search_range.h"

namespace zs {

namespace {

struct Item {
  const DrawSet* draws;  // nullptr: no draw carries the value
  std::string label;
};

// Walks the combinations depth-first, keeping the intersection of the
// chosen items' sets per depth so each combination costs one intersection.
class Enumeration {
 public:
  Enumeration(const std::vector<Item>& items, int groupSize, const RangeSpan& span)
      : items_(items), groupSize_(groupSize), span_(span) {
    if (span.begin < span.end) {
      firstWord_ = span.begin / DrawSet::kWordBits;
      wordCount_ = (span.end - 1) / DrawSet::kWordBits + 1 - firstWord_;
    }
    levels_.assign(groupSize + 1, std::vector<uint64_t>(wordCount_));
    for (size_t w = 0; w < wordCount_; ++w) {
      levels_[0][w] = RangeMask(firstWord_ + w, span.begin, span.end);
    }
    chosen_.resize(groupSize);
  }

  std::vector<OmissionRecord> Run() {
    Descend(0, 0, true);
    return std::move(rows_);
  }

 private:
  void Descend(int depth, size_t firstItem, bool anyHit) {
    if (depth == groupSize_) {
      Emit(anyHit);
      return;
    }
    const size_t lastItem = items_.size() - static_cast<size_t>(groupSize_ - depth);
    for (size_t i = firstItem; i <= lastItem; ++i) {
      chosen_[depth] = i;
      const DrawSet* draws = items_[i].draws;
      const bool hit = anyHit && draws != nullptr;
      if (hit) {
        const std::vector<uint64_t>& from = levels_[depth];
        std::vector<uint64_t>& to = levels_[depth + 1];
        for (size_t w = 0; w < wordCount_; ++w) to[w] = from[w] & draws->Word(firstWord_ + w);
      }
      Descend(depth + 1, i + 1, hit);
    }
  }

  void Emit(bool anyHit) {
    OmissionCounter counter(span_.previousHitIdx);
    if (anyHit) {
      const std::vector<uint64_t>& hits = levels_[groupSize_];
      for (size_t w = 0; w < wordCount_; ++w) {
        ForEachBit(hits[w], firstWord_ + w,
                   [&](size_t draw) { counter.AddHit(static_cast<int64_t>(draw) + 1); });
      }
    }
    const OmissionFigures figures = counter.Finish(span_.newestIdx);
    OmissionRecord row;
    for (int d = 0; d < groupSize_; ++d) {
      if (d > 0) row.content += ' ';
      row.content += items_[chosen_[d]].label;
    }
    row.smallest = figures.smallest;
    row.largest = figures.largest;
    row.last = figures.last;
    row.ratio = figures.SingleRatio();
    rows_.push_back(std::move(row));
  }

  const std::vector<Item>& items_;
  const int groupSize_;
  const RangeSpan span_;
  size_t firstWord_ = 0;
  size_t wordCount_ = 0;
  std::vector<std::vector<uint64_t>> levels_;
  std::vector<size_t> chosen_;
  std::vector<OmissionRecord> rows_;
};

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

std::vector<OmissionRecord> ComputeGroupRows(const HistoryIndex& index,
                                             const GroupRequest& request) {
  const std::vector<int> boxes = ParticipatingBoxes(request.type, request.checkedBoxes);
  CheckGroupSize(request.groupSize, static_cast<int>(boxes.size()));
  const RangeSpan span = Locate(index, ReadRangeBoxes(request.startBox, request.endBox));
  if (request.groupSize < 1 || request.groupSize > kMaxGroupSize ||
      boxes.size() < static_cast<size_t>(request.groupSize)) {
    return {};
  }
  std::vector<Item> items;
  for (int box : boxes) {
    // Each item asks that at least one drawn number carry the box's value.
    items.push_back(Item{index.AtLeast(request.type, BoxValue(request.type, box, request.bases), 1),
                         BoxLabel(request.type, box, request.bases)});
  }
  return Enumeration(items, request.groupSize, span).Run();
}

std::vector<OmissionRecord> RunGroupCalculation(const HistoryIndex& index,
                                                const GroupRequest& request, HistoryStore& store) {
  std::vector<OmissionRecord> rows = ComputeGroupRows(index, request);
  ReplaceOmissionRecords(store, rows);
  return rows;
}

}  // namespace zs
