// What `add` and `update` print after their own lines: one line
// "提醒<TAB>编号<TAB>名称<TAB>最后遗漏" per watch that their change of the
// history made hold, as the history's new snapshot names them (with --json,
// one more JSON grid 编号, 名称, 最后遗漏 when any did). Without watches the
// history's index is never read.
#ifndef ZEPHYRSTAT_CLI_WATCH_ALERTS_H_
#define ZEPHYRSTAT_CLI_WATCH_ALERTS_H_

#include <cstdint>

namespace zs {

class CliContext;

class WatchAlerts {
 public:
  // Before the change: when the folder has watches, takes the history's
  // snapshot, so that the change publishes one with the watches it fired.
  explicit WatchAlerts(CliContext& context);
  // After the change: prints the watches it fired.
  void PrintFired();

 private:
  CliContext& context_;
  bool watching_ = false;
  uint64_t versionBefore_ = 0;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_WATCH_ALERTS_H_
