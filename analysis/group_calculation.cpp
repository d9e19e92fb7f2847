#include "analysis/group_calculation.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <iterator>
#include <thread>

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
// chosen items' sets per depth; the last item of a combination is ANDed in
// while its hits are counted, so each combination costs one pass over the
// range's words and nothing is stored for it but its row.
class Enumeration {
 public:
  Enumeration(const std::vector<Item>& items, int groupSize, const RangeSpan& span)
      : items_(items), groupSize_(groupSize), span_(span) {
    if (span.begin < span.end) {
      firstWord_ = span.begin / DrawSet::kWordBits;
      wordCount_ = (span.end - 1) / DrawSet::kWordBits + 1 - firstWord_;
    }
    levels_.assign(groupSize, std::vector<uint64_t>(wordCount_));
    for (size_t w = 0; w < wordCount_; ++w) {
      levels_[0][w] = RangeMask(firstWord_ + w, span.begin, span.end);
    }
    chosen_.resize(groupSize);
  }

  // Appends the rows of every combination that starts with item `first`, in
  // enumeration order.
  void RunFrom(size_t first, std::vector<OmissionRecord>& rows) {
    rows_ = &rows;
    Choose(0, first, true);
  }

 private:
  void Choose(int depth, size_t item, bool anyHit) {
    chosen_[depth] = item;
    const DrawSet* draws = items_[item].draws;
    const bool hit = anyHit && draws != nullptr;
    if (depth + 1 == groupSize_) {
      Emit(hit ? Count(levels_[depth], *draws) : OmissionCounter(span_.previousHitIdx));
      return;
    }
    if (hit) {
      const std::vector<uint64_t>& from = levels_[depth];
      std::vector<uint64_t>& to = levels_[depth + 1];
      for (size_t w = 0; w < wordCount_; ++w) to[w] = from[w] & draws->Word(firstWord_ + w);
    }
    const size_t lastItem = items_.size() - static_cast<size_t>(groupSize_ - depth - 1);
    for (size_t next = item + 1; next <= lastItem; ++next) Choose(depth + 1, next, hit);
  }

  OmissionCounter Count(const std::vector<uint64_t>& from, const DrawSet& draws) const {
    OmissionCounter counter(span_.previousHitIdx);
    // Words past the end of the set are empty.
    const size_t setWords = draws.WordCount() > firstWord_ ? draws.WordCount() - firstWord_ : 0;
    const uint64_t* words = draws.Words() + firstWord_;
    const size_t end = std::min(wordCount_, setWords);
    for (size_t w = 0; w < end; ++w) {
      counter.AddWord(from[w] & words[w],
                      static_cast<int64_t>((firstWord_ + w) * DrawSet::kWordBits) + 1);
    }
    return counter;
  }

  void Emit(const OmissionCounter& counter) {
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
    rows_->push_back(std::move(row));
  }

  const std::vector<Item>& items_;
  const int groupSize_;
  const RangeSpan span_;
  size_t firstWord_ = 0;
  size_t wordCount_ = 0;
  std::vector<std::vector<uint64_t>> levels_;
  std::vector<size_t> chosen_;
  std::vector<OmissionRecord>* rows_ = nullptr;
};

// Runs the enumeration on two threads when the machine has two cores: each
// takes the next first item in turn (the early ones carry the most
// combinations), and the rows are joined in enumeration order.
std::vector<OmissionRecord> Enumerate(const std::vector<Item>& items, int groupSize,
                                      const RangeSpan& span) {
  const size_t firstItems = items.size() - static_cast<size_t>(groupSize) + 1;
  std::vector<std::vector<OmissionRecord>> rowsByFirst(firstItems);
  std::atomic<size_t> next{0};
  const auto work = [&] {
    Enumeration enumeration(items, groupSize, span);
    for (size_t first = next++; first < firstItems; first = next++) {
      enumeration.RunFrom(first, rowsByFirst[first]);
    }
  };
  std::exception_ptr helperFailure;
  std::thread helper;
  if (std::thread::hardware_concurrency() > 1 && firstItems > 1) {
    helper = std::thread([&] {
      try {
        work();
      } catch (...) {
        helperFailure = std::current_exception();
      }
    });
  }
  // The helper must be joined before an exception leaves this frame.
  std::exception_ptr ownFailure;
  try {
    work();
  } catch (...) {
    ownFailure = std::current_exception();
  }
  if (helper.joinable()) helper.join();
  if (ownFailure) std::rethrow_exception(ownFailure);
  if (helperFailure) std::rethrow_exception(helperFailure);

  std::vector<OmissionRecord> rows;
  size_t total = 0;
  for (const std::vector<OmissionRecord>& part : rowsByFirst) total += part.size();
  rows.reserve(total);
  for (std::vector<OmissionRecord>& part : rowsByFirst) {
    std::move(part.begin(), part.end(), std::back_inserter(rows));
  }
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
  return Enumerate(items, request.groupSize, span);
}

std::vector<OmissionRecord> RunGroupCalculation(const HistoryIndex& index,
                                                const GroupRequest& request, HistoryStore& store) {
  std::vector<OmissionRecord> rows = ComputeGroupRows(index, request);
  ReplaceOmissionRecords(store, rows);
  return rows;
}

}  // namespace zs
