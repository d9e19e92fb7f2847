#include "cli/watch_alerts.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "core/grid.h"
#include "history/history.h"
#include "store/watch_table.h"

namespace zs {

WatchAlerts::WatchAlerts(CliContext& context) : context_(context) {
  if (LoadWatches(context.Store()).empty()) return;
  watching_ = true;
  versionBefore_ = context.OpenHistory().snapshot()->version;
}

void WatchAlerts::PrintFired() {
  if (!watching_) return;
  const Snapshot after = context_.OpenHistory().snapshot();
  // The same snapshot: the change published none (nothing stored).
  if (after->version == versionBefore_) return;
  const std::vector<WatchEntry>& fired = after->fired;
  if (fired.empty()) return;
  Grid grid({"编号", "名称", "最后遗漏"});
  for (const WatchEntry& entry : fired) {
    grid.AddRow({std::to_string(entry.watch.number), entry.watch.name,
                 std::to_string(entry.figures.Omissions().last)});
  }
  if (context_.json) {
    context_.PrintGrid(grid);
    return;
  }
  std::string text;
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    text += "提醒";
    for (size_t column = 0; column < grid.ColumnCount(); ++column) {
      text.append("\t").append(grid.Cell(row, column));
    }
    text += '\n';
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace zs
