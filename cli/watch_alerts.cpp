#include "cli/watch_alerts.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "core/grid.h"
#include "store/watch_table.h"

namespace zs {

WatchAlerts::WatchAlerts(CliContext& context) : context_(context) {
  std::vector<Watch> watches = LoadWatches(context.Store().db());
  if (watches.empty()) return;
  before_ = std::make_unique<HistoryIndex>(context.Store());
  book_ = WatchBook(std::move(watches), *before_, PanelBases::Of(context.settings));
}

void WatchAlerts::PrintFired() {
  if (!before_) return;
  const HistoryIndex after(context_.Store());
  const WatchBook now = book_.Followed(*before_, after, PanelBases::Of(context_.settings));
  const std::vector<WatchEntry> fired = FiredBetween(book_, now);
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
