// What `add` and `update` print after their own lines: one line
// "提醒<TAB>编号<TAB>名称<TAB>最后遗漏" per watch that their change of the
// history made hold (with --json, one more JSON grid 编号, 名称, 最后遗漏 when
// any did). Without watches it reads nothing.
#ifndef ZEPHYRSTAT_CLI_WATCH_ALERTS_H_
#define ZEPHYRSTAT_CLI_WATCH_ALERTS_H_

#include <memory>

#include "analysis/history_index.h"
#include "analysis/watch_book.h"

namespace zs {

class CliContext;

class WatchAlerts {
 public:
  // Takes the watches and their figures before the change.
  explicit WatchAlerts(CliContext& context);
  // Works out the figures after the change and prints the watches that fired.
  void PrintFired();

 private:
  CliContext& context_;
  std::unique_ptr<HistoryIndex> before_;  // none without watches
  WatchBook book_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_WATCH_ALERTS_H_
