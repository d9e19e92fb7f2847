// How the views name what they show, in the window's caption and in the
// titles (and so the picture names) of the distribution charts.
#ifndef ZEPHYRSTAT_APP_VIEWS_VIEW_TITLES_H_
#define ZEPHYRSTAT_APP_VIEWS_VIEW_TITLES_H_

#include <QString>
#include <string>

#include "analysis/box_view.h"

namespace zs {

// "号码", "生肖", …
QString SearchTypeCaption(SearchType type);
// "号码 自由位", "生肖 固定位 第3位", or the pattern's caption ("奇偶比").
QString ViewKindText(const BoxViewRequest& request);
// "<start> 至 <end>", the range boxes as typed.
QString RangeText(const std::string& startBox, const std::string& endBox);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_VIEW_TITLES_H_
