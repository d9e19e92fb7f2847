#include "analysis/history_index.h"

#include <algorithm>

namespace zs {

namespace {

bool Indexed(int value) { return value >= 0 && value <= kMaxIndexedValue; }

}  // namespace

size_t HistoryIndex::PositionSlot(SearchType type, int position, int value) {
  return (static_cast<size_t>(type) * kPositions + position) * kValues + value;
}

size_t HistoryIndex::CountSlot(SearchType type, int value, int count) {
  return (static_cast<size_t>(type) * kValues + value) * kPositions + (count - 1);
}

HistoryIndex::HistoryIndex()
    : atPosition_(kSearchTypeCount * kPositions * kValues),
      atLeast_(kSearchTypeCount * kValues * kPositions) {}

HistoryIndex::HistoryIndex(const std::vector<HistoryRow>& rows) : HistoryIndex() {
  Reserve(rows.size());
  for (const HistoryRow& row : rows) Append(row);
  ShrinkSets();
}

HistoryIndex::HistoryIndex(HistoryStore& store) : HistoryIndex() {
  Reserve(static_cast<size_t>(store.Count()));
  store.ForEachRow([this](const HistoryRow& row) { Append(row); });
  ShrinkSets();
}

void HistoryIndex::Reserve(size_t draws) {
  issues_.reserve(draws);
  fields_.reserve(draws * kFieldsPerDraw);
}

// A set grows by doubling while draws are added; a finished index keeps
// only what it holds.
void HistoryIndex::ShrinkSets() {
  for (DrawSet& set : atPosition_) set.ShrinkToFit();
  for (DrawSet& set : atLeast_) set.ShrinkToFit();
}

template <typename Mark>
void HistoryIndex::ForEachSetOf(size_t draw, Mark&& mark) {
  for (int t = 0; t < kSearchTypeCount; ++t) {
    const auto type = static_cast<SearchType>(t);
    std::array<int, kValues> seen{};
    for (int p = 0; p < kPositions; ++p) {
      // The fixed digit-sum criterion adds the tens and units fields; the
      // free one reads the stored sum, as the list text does.
      const int fixedValue = type == SearchType::kSum ? Field(draw, SearchType::kTens, p) +
                                                            Field(draw, SearchType::kUnits, p)
                                                      : Field(draw, type, p);
      if (Indexed(fixedValue)) mark(atPosition_[PositionSlot(type, p, fixedValue)]);
      const int value = Field(draw, type, p);
      if (Indexed(value)) {
        const int count = ++seen[value];
        mark(atLeast_[CountSlot(type, value, count)]);
      }
    }
  }
}

void HistoryIndex::Append(const HistoryRow& row) {
  const size_t draw = issues_.size();
  issues_.push_back(row.issue);
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (int p = 0; p < kPositions; ++p) fields_.push_back(static_cast<int8_t>(row.fields[t][p]));
  }
  ForEachSetOf(draw, [draw](DrawSet& set) { set.Add(draw); });
}

void HistoryIndex::RemoveLast() {
  if (issues_.empty()) return;
  const size_t draw = issues_.size() - 1;
  ForEachSetOf(draw, [draw](DrawSet& set) { set.Remove(draw); });
  issues_.pop_back();
  fields_.resize(fields_.size() - kFieldsPerDraw);
}

const DrawSet* HistoryIndex::AtPosition(SearchType type, int position, int value) const {
  if (!Indexed(value) || position < 0 || position >= kPositions) return nullptr;
  const DrawSet& set = atPosition_[PositionSlot(type, position, value)];
  return set.Empty() ? nullptr : &set;
}

const DrawSet* HistoryIndex::AtLeast(SearchType type, int value, int count) const {
  if (!Indexed(value) || count < 1 || count > kPositions) return nullptr;
  const DrawSet& set = atLeast_[CountSlot(type, value, count)];
  return set.Empty() ? nullptr : &set;
}

size_t HistoryIndex::CountBelow(int32_t issue) const {
  return static_cast<size_t>(std::lower_bound(issues_.begin(), issues_.end(), issue) -
                             issues_.begin());
}

size_t HistoryIndex::CountUpTo(int32_t issue) const {
  return static_cast<size_t>(std::upper_bound(issues_.begin(), issues_.end(), issue) -
                             issues_.begin());
}

size_t HistoryIndex::MemoryBytes() const {
  size_t bytes = issues_.capacity() * sizeof(int32_t) + fields_.capacity() * sizeof(int8_t);
  for (const SetTable* table : {&atPosition_, &atLeast_}) {
    bytes += table->capacity() * sizeof(DrawSet);
    for (const DrawSet& set : *table) bytes += set.MemoryBytes();
  }
  return bytes;
}

}  // namespace zs
