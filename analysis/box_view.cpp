#include "analysis/box_view.h"

#include "analysis/history_index.h"
#include "analysis/pattern_draws.h"
#include "analysis/search_pattern.h"

namespace zs {

BoxView::BoxView(std::shared_ptr<const HistoryIndex> index, const BoxViewRequest& request)
    : index_(std::move(index)),
      request_(request),
      span_(LocateRangeBoxes(*index_, request.startBox, request.endBox)) {
  if (request.pattern) {
    const PatternType pattern = *request.pattern;
    patternDraws_ = std::make_shared<const std::vector<DrawSet>>(PatternDraws(*index_, pattern));
    for (int box = 0; box < PatternBoxCount(pattern); ++box) {
      const DrawSet& draws = (*patternDraws_)[static_cast<size_t>(box)];
      labels_.push_back(PatternBoxLabel(pattern, box));
      draws_.push_back(draws.Empty() ? nullptr : &draws);
    }
    return;
  }
  for (int box = 1; box <= ShownBoxCount(request.type); ++box) {
    Criterion criterion;
    criterion.free = request.freePositions;
    criterion.position = request.position;
    criterion.value = BoxValue(request.type, box, request.bases);
    labels_.push_back(BoxLabel(request.type, box, request.bases));
    draws_.push_back(CriterionDraws(*index_, request.type, criterion));
  }
}

}  // namespace zs
