#include "analysis/watch_figures.h"

#include <algorithm>

#include "analysis/box_statistics.h"
#include "analysis/history_index.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/search_pattern.h"
#include "analysis/search_type_caption.h"
#include "core/errors.h"
#include "core/text.h"

namespace zs {

namespace {

// The figures in the form the box statistics print them.
BoxFigures AsBoxFigures(const WatchFigures& figures) {
  BoxFigures box;
  box.hitCount = figures.HitCount();
  box.omissionSum = figures.omissionSum;
  box.omissions = figures.Omissions();
  return box;
}

SearchPattern PatternOf(const Watch& watch) {
  SearchPattern pattern;
  pattern.type = watch.type;
  pattern.freePositions = watch.freePositions;
  pattern.values = watch.values;
  return pattern;
}

// A combination asks, for each item, that a drawn attribute carry its value:
// the free criterion of that value, counted once.
HitList CombinationHits(const HistoryIndex& index, const Watch& watch, const PanelBases& bases,
                        const RangeSpan& span) {
  std::vector<const DrawSet*> sets;
  for (int box : watch.boxes) {
    Criterion criterion;
    criterion.value = BoxValue(watch.type, box, bases);
    sets.push_back(CriterionDraws(index, watch.type, criterion));
  }
  return HitsOfAll(sets, span);
}

}  // namespace

std::string WatchFigures::AverageText() const { return AsBoxFigures(*this).AverageText(); }

std::string WatchFigures::ChanceText() const { return AsBoxFigures(*this).ChanceText(); }

HitList WatchHits(const HistoryIndex& index, const Watch& watch, const PanelBases& bases,
                  const RangeSpan& span) {
  switch (watch.kind) {
    case WatchKind::kSearch:
      return PositionSearchHits(index, PatternOf(watch), watch.chosen, span);
    case WatchKind::kPartial:
      return PartialSearchHits(index, PatternOf(watch), watch.partSize, span);
    case WatchKind::kCombination:
      break;
  }
  return CombinationHits(index, watch, bases, span);
}

WatchFigures ComputeWatch(const HistoryIndex& index, const Watch& watch, const PanelBases& bases) {
  WatchFigures figures;
  figures.drawCount = index.DrawCount();
  RangeSpan whole;
  whole.end = index.DrawCount();
  whole.newestIdx = static_cast<int64_t>(index.DrawCount());
  for (const Hit& hit : WatchHits(index, watch, bases, whole).hits) {
    figures.omissionSum += figures.counter.AddHit(hit.idx);
  }
  return figures;
}

WatchFigures AdvanceWatch(const WatchFigures& figures, const Watch& watch,
                          const HistoryIndex& after, const PanelBases& bases) {
  WatchFigures advanced = figures;
  const size_t draw = figures.drawCount;
  advanced.drawCount = draw + 1;
  // The search over the appended draw alone says whether it hits.
  RangeSpan appended;
  appended.begin = draw;
  appended.end = draw + 1;
  appended.previousHitIdx = static_cast<int64_t>(draw);
  appended.newestIdx = static_cast<int64_t>(draw + 1);
  if (!WatchHits(after, watch, bases, appended).hits.empty()) {
    advanced.omissionSum += advanced.counter.AddHit(static_cast<int64_t>(draw + 1));
  }
  return advanced;
}

bool Holds(const WatchCondition& condition, const WatchFigures& figures) {
  const OmissionFigures omissions = figures.Omissions();
  switch (condition.kind) {
    case WatchCondition::Kind::kLastAtLeast:
      return omissions.last >= condition.lastAtLeast;
    case WatchCondition::Kind::kRatioAtLeast:
      // last / (sum / hits) >= R / scale, without division or rounding.
      return figures.HitCount() > 0 &&
             int64_t{omissions.last} * figures.HitCount() * WatchCondition::kRatioScale >=
                 condition.ratioAtLeast * figures.omissionSum;
    case WatchCondition::Kind::kRecord:
      break;
  }
  return figures.HitCount() > 0 && omissions.last > omissions.largest;
}

std::string WatchContent(const Watch& watch, const PanelBases& bases) {
  std::string content(SearchTypeCaption(watch.type));
  if (watch.kind == WatchKind::kCombination) {
    content += " 组合";
    for (int box : watch.boxes) content.append(" ").append(BoxLabel(watch.type, box, bases));
    return content;
  }
  content += watch.freePositions ? " 自由位" : " 固定位";
  const bool partial = watch.kind == WatchKind::kPartial;
  if (partial) content.append(" 分部位数").append(std::to_string(watch.partSize));
  for (int p = 0; p < kPositions; ++p) {
    if (!partial && !watch.chosen[p]) continue;
    content.append(" 第")
        .append(std::to_string(p + 1))
        .append("位")
        .append(TwoDigits(watch.values[p]));
  }
  return content;
}

std::vector<int> CombinationBoxes(SearchType type, const std::vector<std::string>& labels,
                                  const PanelBases& bases) {
  std::vector<int> boxes;
  for (const std::string& label : labels) {
    int found = 0;
    for (int box = 1; box <= BoxCount(type) && found == 0; ++box) {
      if (BoxLabel(type, box, bases) == label) found = box;
    }
    if (found == 0) {
      throw InputError("组合项 \"" + label + "\" 不是" + std::string(SearchTypeCaption(type)) +
                       "的标签");
    }
    if (std::find(boxes.begin(), boxes.end(), found) != boxes.end()) {
      throw InputError("组合项 \"" + label + "\" 重复");
    }
    boxes.push_back(found);
  }
  std::sort(boxes.begin(), boxes.end());
  return boxes;
}

}  // namespace zs
