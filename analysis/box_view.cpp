#include "analysis/box_view.h"

#include "analysis/history_index.h"
#include "analysis/search_pattern.h"

namespace zs {

BoxView::BoxView(std::shared_ptr<const HistoryIndex> index, const BoxViewRequest& request)
    : index_(std::move(index)),
      span_(Locate(*index_, ReadRangeBoxes(request.startBox, request.endBox))),
      threeDigit_(request.threeDigit) {
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
