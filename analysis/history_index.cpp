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
  return kSetCount + (static_cast<size_t>(type) * kValues + value) * kPositions + (count - 1);
}

HistoryIndex::HistoryIndex() : draws_(std::make_shared<PackedHistory>()), sets_(2 * kSetCount) {}

HistoryIndex::HistoryIndex(const std::vector<HistoryRow>& rows) : HistoryIndex() {
  draws_->Reserve(rows.size());
  for (const HistoryRow& row : rows) draws_->Add(row.issue, row.fields);
  BuildSets();
}

HistoryIndex::HistoryIndex(PackedHistory draws) : HistoryIndex() {
  *draws_ = std::move(draws);
  BuildSets();
}

HistoryIndex::HistoryIndex(HistoryStore& store) : HistoryIndex(store.LoadPacked()) {}

template <typename Mark>
void HistoryIndex::ForEachSetOf(size_t draw, Mark&& mark) {
  for (int t = 0; t < kSearchTypeCount; ++t) {
    const auto type = static_cast<SearchType>(t);
    std::array<uint8_t, kValues> seen{};
    for (int p = 0; p < kPositions; ++p) {
      // The fixed digit-sum criterion adds the tens and units fields; the
      // free one reads the stored sum, as the list text does.
      const int fixedValue = type == SearchType::kSum ? Field(draw, SearchType::kTens, p) +
                                                            Field(draw, SearchType::kUnits, p)
                                                      : Field(draw, type, p);
      if (Indexed(fixedValue)) mark(PositionSlot(type, p, fixedValue));
      const int value = Field(draw, type, p);
      if (Indexed(value)) {
        const int count = ++seen[value];
        mark(CountSlot(type, value, count));
      }
    }
  }
}

// Marking a draw in each of its sets one by one touches a hundred scattered
// words per draw; instead the bits of 64 draws gather in a small table of
// one word per set, which then gives each set its word. A set gets room for
// all the words of the history at its first draw, and is cut back at the end
// when it stopped early: most sets run to the newest draws, so that is one
// allocation each, each word written once and no copying.
void HistoryIndex::BuildSets() {
  const size_t draws = DrawCount();
  const size_t wordCount = (draws + DrawSet::kWordBits - 1) / DrawSet::kWordBits;
  std::vector<uint64_t> gathered(sets_.size());
  for (size_t word = 0; word < wordCount; ++word) {
    const size_t first = word * DrawSet::kWordBits;
    const size_t end = std::min(draws, first + DrawSet::kWordBits);
    for (size_t draw = first; draw < end; ++draw) {
      const uint64_t bit = uint64_t{1} << (draw - first);
      ForEachSetOf(draw, [&](size_t slot) { gathered[slot] |= bit; });
    }
    for (size_t slot = 0; slot < gathered.size(); ++slot) {
      if (gathered[slot] == 0 && sets_[slot] == nullptr) continue;
      if (sets_[slot] == nullptr) {
        sets_[slot] = std::make_shared<DrawSet>();
        sets_[slot]->ReserveWords(wordCount);
      }
      sets_[slot]->PutWord(word, gathered[slot]);
      gathered[slot] = 0;
    }
  }
  for (const std::shared_ptr<DrawSet>& set : sets_) {
    if (set != nullptr) set->DropEmptyTail();
  }
}

PackedHistory& HistoryIndex::OwnDraws(size_t drawsToAdd) {
  // Only this index hands out shares, so a count of one cannot grow
  // meanwhile; a share dropped on another thread at worst costs a copy.
  if (draws_.use_count() > 1) {
    auto copy = std::make_shared<PackedHistory>();
    copy->Reserve(DrawCount() + drawsToAdd);
    copy->issues.assign(draws_->issues.begin(), draws_->issues.end());
    copy->fields.assign(draws_->fields.begin(), draws_->fields.end());
    draws_ = std::move(copy);
  }
  return *draws_;
}

DrawSet& HistoryIndex::OwnSet(size_t slot) {
  std::shared_ptr<DrawSet>& set = sets_[slot];
  if (set == nullptr) {
    set = std::make_shared<DrawSet>();
  } else if (set.use_count() > 1) {
    set = std::make_shared<DrawSet>(*set);
  }
  return *set;
}

void HistoryIndex::Append(const HistoryRow& row) {
  const size_t draw = DrawCount();
  OwnDraws(1).Add(row.issue, row.fields);
  ForEachSetOf(draw, [&](size_t slot) { OwnSet(slot).Add(draw); });
}

void HistoryIndex::RemoveLast() {
  if (DrawCount() == 0) return;
  const size_t draw = DrawCount() - 1;
  ForEachSetOf(draw, [&](size_t slot) { OwnSet(slot).Remove(draw); });
  PackedHistory& draws = OwnDraws(0);
  draws.issues.pop_back();
  draws.fields.resize(draws.fields.size() - kFieldsPerDraw);
}

const DrawSet* HistoryIndex::AtPosition(SearchType type, int position, int value) const {
  if (!Indexed(value) || position < 0 || position >= kPositions) return nullptr;
  const DrawSet* set = sets_[PositionSlot(type, position, value)].get();
  return set == nullptr || set->Empty() ? nullptr : set;
}

const DrawSet* HistoryIndex::AtLeast(SearchType type, int value, int count) const {
  if (!Indexed(value) || count < 1 || count > kPositions) return nullptr;
  const DrawSet* set = sets_[CountSlot(type, value, count)].get();
  return set == nullptr || set->Empty() ? nullptr : set;
}

size_t HistoryIndex::CountBelow(int32_t issue) const {
  const std::vector<int32_t>& issues = draws_->issues;
  return static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), issue) -
                             issues.begin());
}

size_t HistoryIndex::CountUpTo(int32_t issue) const {
  const std::vector<int32_t>& issues = draws_->issues;
  return static_cast<size_t>(std::upper_bound(issues.begin(), issues.end(), issue) -
                             issues.begin());
}

size_t HistoryIndex::MemoryBytes() const {
  size_t bytes = draws_->issues.capacity() * sizeof(int32_t) + draws_->fields.capacity();
  bytes += sets_.capacity() * sizeof(std::shared_ptr<DrawSet>);
  for (const std::shared_ptr<DrawSet>& set : sets_) {
    if (set != nullptr) bytes += sizeof(DrawSet) + set->MemoryBytes();
  }
  return bytes;
}

}  // namespace zs
