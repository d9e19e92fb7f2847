#include "analysis/watch_book.h"

#include <algorithm>

#include "analysis/history_index.h"

namespace zs {

namespace {

// Whether `after` starts with every draw of `before`, issues and fields.
bool Extends(const HistoryIndex& before, const HistoryIndex& after) {
  const PackedHistory& old = *before.Draws();
  const PackedHistory& now = *after.Draws();
  return &old == &now || (old.issues.size() <= now.issues.size() &&
                          std::equal(old.issues.begin(), old.issues.end(), now.issues.begin()) &&
                          std::equal(old.fields.begin(), old.fields.end(), now.fields.begin()));
}

}  // namespace

WatchBook::WatchBook(std::vector<Watch> watches, const HistoryIndex& index, const PanelBases& bases)
    : bases_(bases), drawCount_(index.DrawCount()) {
  entries_.reserve(watches.size());
  for (Watch& watch : watches) {
    WatchEntry& entry = entries_.emplace_back();
    entry.figures = ComputeWatch(index, watch, bases);
    entry.holds = Holds(watch.condition, entry.figures);
    entry.watch = std::move(watch);
  }
}

WatchBook WatchBook::Advanced(const HistoryIndex& after) const {
  WatchBook book = *this;
  book.drawCount_ = after.DrawCount();
  for (WatchEntry& entry : book.entries_) {
    while (entry.figures.drawCount < book.drawCount_) {
      entry.figures = AdvanceWatch(entry.figures, entry.watch, after, bases_);
    }
    entry.holds = Holds(entry.watch.condition, entry.figures);
  }
  return book;
}

WatchBook WatchBook::Followed(const HistoryIndex& before, const HistoryIndex& after,
                              const PanelBases& bases) const {
  if (bases.zodiacBase == bases_.zodiacBase && bases.segmentBase == bases_.segmentBase &&
      before.DrawCount() == drawCount_ && Extends(before, after)) {
    return Advanced(after);
  }
  std::vector<Watch> watches;
  watches.reserve(entries_.size());
  for (const WatchEntry& entry : entries_) watches.push_back(entry.watch);
  return WatchBook(std::move(watches), after, bases);
}

WatchBook WatchBook::Rewatched(std::vector<Watch> watches, const HistoryIndex& index) const {
  WatchBook book;
  book.bases_ = bases_;
  book.drawCount_ = index.DrawCount();
  book.entries_.reserve(watches.size());
  for (Watch& watch : watches) {
    const auto kept = std::find_if(entries_.begin(), entries_.end(),
                                   [&](const WatchEntry& entry) { return entry.watch == watch; });
    WatchEntry& entry = book.entries_.emplace_back();
    entry.figures = kept != entries_.end() ? kept->figures : ComputeWatch(index, watch, bases_);
    entry.holds = Holds(watch.condition, entry.figures);
    entry.watch = std::move(watch);
  }
  return book;
}

std::vector<WatchEntry> FiredBetween(const WatchBook& before, const WatchBook& after) {
  std::vector<WatchEntry> fired;
  for (const WatchEntry& entry : after.entries()) {
    if (!entry.holds) continue;
    const auto& old = before.entries();
    const auto previous = std::find_if(old.begin(), old.end(), [&](const WatchEntry& candidate) {
      return candidate.watch.number == entry.watch.number;
    });
    if (previous != old.end() && !previous->holds) fired.push_back(entry);
  }
  return fired;
}

Grid WatchGrid(const WatchBook& book, bool holdingOnly) {
  Grid grid({"编号", "名称", "内容", "条件", "出现次数", "最大遗漏", "最后遗漏", "平均遗漏",
             "欲出几率", "状态"});
  for (const WatchEntry& entry : book.entries()) {
    if (holdingOnly && !entry.holds) continue;
    const WatchFigures& figures = entry.figures;
    const OmissionFigures omissions = figures.Omissions();
    grid.AddRow({std::to_string(entry.watch.number), entry.watch.name,
                 WatchContent(entry.watch, book.bases()), WatchConditionText(entry.watch.condition),
                 std::to_string(figures.HitCount()), std::to_string(omissions.largest),
                 std::to_string(omissions.last), figures.AverageText(), figures.ChanceText(),
                 entry.holds ? "提醒" : ""});
  }
  return grid;
}

}  // namespace zs
