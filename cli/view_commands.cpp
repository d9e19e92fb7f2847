// The per-box views of zephyrstat-cli: stats (the statistics of every shown
// selection box of a search type) and trend (the trend grid, or its newest
// rows). Both take the type, the position mode and the range as the window's
// boxes hold them, or instead of a type one of the draw's own patterns. With --export the grid also
// goes to Tongji.xls / Zoushi.xls in the data folder, whose path is named on stderr.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "analysis/history_index.h"
#include "analysis/pattern_types.h"
#include "analysis/trend_grid.h"
#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/commands.h"
#include "export/spreadsheet_export.h"

namespace zs {
namespace {

struct ViewArgs {
  std::string type;
  std::string mode = "free";
  std::string position;
  std::string from;
  std::string to;
  std::string last;
  bool exportSheet = false;
};

BoxViewRequest ReadRequest(const CliContext& context, const ViewArgs& args) {
  BoxViewRequest request;
  request.pattern = PatternTypeNamed(args.type);
  if (!request.pattern) request.type = ParseSearchType(args.type);
  if (args.mode == "fixed" && request.pattern) {
    throw UsageError("--mode fixed does not apply to the draw pattern \"" + args.type + "\"");
  }
  if (args.mode == "fixed") {
    if (args.position.empty()) throw UsageError("--mode fixed needs --position 1..8");
    const int position = WholeArgument<int>(args.position, "--position");
    if (position < 1 || position > kPositions) {
      throw UsageError("--position must be 1..8, not \"" + args.position + "\"");
    }
    request.freePositions = false;
    request.position = position - 1;
  } else if (args.mode != "free") {
    throw UsageError("--mode must be fixed or free, not \"" + args.mode + "\"");
  } else if (!args.position.empty()) {
    throw UsageError("--position applies to --mode fixed only");
  }
  request.bases = PanelBases{context.settings.zodiacBase, context.settings.segmentBase};
  request.threeDigit = context.ThreeDigit();
  return request;
}

// Prints the grid; with --export first writes it to its workbook in the
// data folder and names the file on standard error, as the other commands do.
void ShowGrid(const CliContext& context, const ViewArgs& args, const Grid& grid,
              const char* sheetName) {
  if (args.exportSheet) {
    const std::filesystem::path file = context.dataFolder / sheetName;
    WriteSpreadsheet(grid, file);
    std::fprintf(stderr, "%s\n", file.string().c_str());
  }
  context.PrintGrid(grid);
}

std::shared_ptr<ViewArgs> AddViewOptions(CLI::App* command, const char* sheetName) {
  auto args = std::make_shared<ViewArgs>();
  command
      ->add_option("--type", args->type,
                   "number, zodiac, tens, units, sum, segment or 0..5 (per position); "
                   "or a draw pattern: total (和值), total-tail (和尾), span (跨度), "
                   "odd-even (奇偶比), big-small (大小比), prime (质合比), zones (区间比), "
                   "mod3 (012路比), consecutive (连号), repeat (重号)")
      ->required();
  command->add_option("--mode", args->mode,
                      "free (default): a draw hits a box when any position carries its value; "
                      "fixed: when position --position does");
  command->add_option("--position", args->position, "the position 1..8 of --mode fixed");
  command->add_option("--from", args->from,
                      "range start box: its rightmost nine characters are the stored issue; "
                      "default the first stored issue");
  command->add_option("--to", args->to, "range end box; default the newest stored issue");
  command->add_flag("--export", args->exportSheet,
                    std::string("also write the grid to ") + sheetName +
                        " in the data folder and name the file on stderr");
  return args;
}

void AddStats(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand("stats", CommandHelp("stats"));
  auto args = AddViewOptions(command, kStatisticsSheetName);
  command->callback([&context, args] {
    const Snapshot history = context.LoadHistory();
    BoxViewRequest request = ReadRequest(context, *args);
    FillRangeBoxes(context, *history->index, args->from, args->to, request.startBox,
                   request.endBox);
    ShowGrid(context, *args, BoxStatisticsGrid(BoxView(history->index, request)),
             kStatisticsSheetName);
  });
}

void AddTrend(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand("trend", CommandHelp("trend"));
  auto args = AddViewOptions(command, kTrendSheetName);
  command->add_option("--last", args->last, "only the newest N rows of the range");
  command->callback([&context, args] {
    const Snapshot history = context.LoadHistory();
    BoxViewRequest request = ReadRequest(context, *args);
    const size_t last = args->last.empty() ? 0 : WholeArgument<size_t>(args->last, "--last");
    FillRangeBoxes(context, *history->index, args->from, args->to, request.startBox,
                   request.endBox);
    const BoxView view(history->index, request);
    const size_t rows = view.RowCount();
    const size_t first = args->last.empty() || last >= rows ? 0 : rows - last;
    ShowGrid(context, *args, TrendGrid(view, first, rows - first), kTrendSheetName);
  });
}

}  // namespace

void AddViewCommands(CLI::App& app, CliContext& context) {
  AddStats(app, context);
  AddTrend(app, context);
}

}  // namespace zs
