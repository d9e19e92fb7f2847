// The watch list with every watch's figures over one state of the history,
// a value carried from one state to the next: after draws are appended it
// advances draw by draw, after any other change (a delete, an import, new
// bases) it is worked out anew. Which watches fired between two states, and
// the list as the grid the tools show.
#ifndef ZEPHYRSTAT_ANALYSIS_WATCH_BOOK_H_
#define ZEPHYRSTAT_ANALYSIS_WATCH_BOOK_H_

#include <cstddef>
#include <vector>

#include "analysis/selection_panel.h"
#include "analysis/watch_figures.h"
#include "core/grid.h"
#include "core/watch.h"

namespace zs {

class HistoryIndex;

struct WatchEntry {
  Watch watch;
  WatchFigures figures;
  bool holds = false;
};

class WatchBook {
 public:
  WatchBook() = default;
  // The figures of `watches` over every draw of `index`.
  WatchBook(std::vector<Watch> watches, const HistoryIndex& index, const PanelBases& bases);

  // The book of the same watches over `after`, which holds the draws this
  // book was computed over followed by zero or more new ones.
  WatchBook Advanced(const HistoryIndex& after) const;
  // The book of the same watches over `after`, the history that `before`
  // (the one this book was computed over) became by one change: advanced
  // when the change only appended draws under the same bases, else
  // worked out anew.
  WatchBook Followed(const HistoryIndex& before, const HistoryIndex& after,
                     const PanelBases& bases) const;

  // The book of `watches` (the list as stored now, after watches were
  // added or removed) over the same history `index`: the figures of a
  // watch this book holds unchanged are kept, only the others are worked
  // out.
  WatchBook Rewatched(std::vector<Watch> watches, const HistoryIndex& index) const;

  // Ascending by number when the watches came so.
  const std::vector<WatchEntry>& entries() const { return entries_; }
  const PanelBases& bases() const { return bases_; }
  size_t DrawCount() const { return drawCount_; }

 private:
  std::vector<WatchEntry> entries_;
  PanelBases bases_;
  size_t drawCount_ = 0;
};

// The watches of `after` that hold there and were in `before` without
// holding: those a change of the history made hold. A watch only one of the
// books has never fired.
std::vector<WatchEntry> FiredBetween(const WatchBook& before, const WatchBook& after);

// The grid 编号, 名称, 内容, 条件, 出现次数, 最大遗漏, 最后遗漏, 平均遗漏,
// 欲出几率, 状态 ("提醒" when the watch holds), a row per watch in the book's
// order; with `holdingOnly` only the watches that hold.
Grid WatchGrid(const WatchBook& book, bool holdingOnly);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_WATCH_BOOK_H_
