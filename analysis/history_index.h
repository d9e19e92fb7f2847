// The in-memory index of the history that every analysis runs on: for every
// draw its issue and its 48 per-position attributes, and the sets of draws
// that answer one criterion for the whole history at once:
//   - the attribute of a search type at one position equals a value (the
//     fixed-position criterion; for digit sums the tens plus the units digit,
//     as the stored query adds them);
//   - at least c of the eight attributes of a type equal a value (the free
//     position tokens "cXv" of the tagged list texts; for numbers c = 1).
//
// Positions are 0-based in issue order, so draw position i has idx i + 1.
//
// The draws and the sets are shared, never changed in place: a copy of the
// index costs a few pointers, and Append and RemoveLast on a copy copy only
// the draws and the sets they change. So a published index stays as it was
// while its successor is made from it, and a grid that shows the draws keeps
// reading the draws it was made from.
// Preconditions: draws come in ascending issue order, every stored attribute
// lies in 0..kMaxIndexedValue (the derivation guarantees 0..20). A value
// outside that range belongs to no draw, so its set is absent.
#ifndef ZEPHYRSTAT_ANALYSIS_HISTORY_INDEX_H_
#define ZEPHYRSTAT_ANALYSIS_HISTORY_INDEX_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/draw_set.h"
#include "core/draw.h"
#include "store/history_store.h"

namespace zs {

constexpr int kMaxIndexedValue = 20;

class HistoryIndex {
 public:
  HistoryIndex();
  explicit HistoryIndex(const std::vector<HistoryRow>& rows);
  explicit HistoryIndex(PackedHistory draws);
  // The index of every row of `store`, read from its compact copy.
  explicit HistoryIndex(HistoryStore& store);

  // Precondition: row.issue is above every issue in the index.
  void Append(const HistoryRow& row);
  // Drops the newest draw; no-op on an empty index.
  void RemoveLast();

  size_t DrawCount() const { return draws_->DrawCount(); }
  int32_t Issue(size_t draw) const { return draws_->issues[draw]; }
  // The stored field L<position+1><letter of type>.
  int Field(size_t draw, SearchType type, int position) const {
    return draws_->Field(draw, static_cast<int>(type), position);
  }
  // The draws as they are now, for grids that format them on demand.
  std::shared_ptr<const PackedHistory> Draws() const { return draws_; }

  // Draws whose criterion value at `position` (0-based) is `value`; nullptr
  // when no draw has it.
  const DrawSet* AtPosition(SearchType type, int position, int value) const;
  // Draws in which at least `count` of the eight attributes equal `value`;
  // nullptr when none. count >= 1.
  const DrawSet* AtLeast(SearchType type, int value, int count) const;

  // Number of draws whose issue is below `issue`, i.e. the position of the
  // first draw at or above it.
  size_t CountBelow(int32_t issue) const;
  // Number of draws whose issue is at most `issue`.
  size_t CountUpTo(int32_t issue) const;

  size_t MemoryBytes() const;

 private:
  static constexpr int kValues = kMaxIndexedValue + 1;
  static constexpr size_t kSetCount = size_t{kSearchTypeCount} * kPositions * kValues;

  // The draws to change, copied first (with room for `drawsToAdd` more)
  // when anything else still shares them.
  PackedHistory& OwnDraws(size_t drawsToAdd);
  // The set at `slot` to change, made or copied first when absent or shared.
  DrawSet& OwnSet(size_t slot);
  // Builds every set of the draws at once, a word at a time.
  void BuildSets();
  // Calls mark(set) for every set that holds the draw at `draw`.
  template <typename Mark>
  void ForEachSetOf(size_t draw, Mark&& mark);
  // Places in sets_.
  static size_t PositionSlot(SearchType type, int position, int value);
  static size_t CountSlot(SearchType type, int value, int count);

  std::shared_ptr<PackedHistory> draws_;
  // The sets of AtPosition, then those of AtLeast; null for a set no draw
  // is in.
  std::vector<std::shared_ptr<DrawSet>> sets_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_HISTORY_INDEX_H_
