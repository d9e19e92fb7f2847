// "加入关注…": asks for the condition (最后遗漏 ≥ N, 欲出几率 ≥ R, or 破纪录)
// and a name of a watch whose pattern the caller took from what it shows
// (a search or partial-search summary, an omission-table row).
#ifndef ZEPHYRSTAT_APP_ADD_WATCH_DIALOG_H_
#define ZEPHYRSTAT_APP_ADD_WATCH_DIALOG_H_

#include <QString>
#include <optional>

#include "core/watch.h"

class QWidget;

namespace zs {

// `pattern` with the condition and name chosen; nullopt when cancelled.
// `content` (the pattern in words) is shown above the fields.
std::optional<Watch> AskWatch(QWidget* parent, const Watch& pattern, const QString& content);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_ADD_WATCH_DIALOG_H_
