// The analysis commands of zephyrstat-cli: search, partial, group and table.
// Each reads its arguments as the window's boxes would hold them, runs the
// engine once on an index of the stored history and prints the grids the
// window shows (hits and summary, or the omission table YL). With --export
// the grids also go to Jiansuo.xls and Jieguo.xls in the data folder and the
// written paths go to standard error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/group_calculation.h"
#include "analysis/history_index.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/result_grids.h"
#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/commands.h"
#include "cli/pattern_arguments.h"
#include "core/errors.h"
#include "export/spreadsheet_export.h"
#include "store/omission_table.h"

namespace zs {
namespace {

// Arguments shared by the commands; filled by CLI11, read by the callbacks.
struct AnalysisArgs : PatternArgs {
  std::string groupSize;
  std::vector<std::string> selected;
  std::string from;
  std::string to;
  std::string sortKey;
  bool exportSheets = false;
};

// Prints the grids; with --export first writes them to Jiansuo.xls (hits)
// and Jieguo.xls (result) in the data folder and names the written files on
// standard error, so the printed grids stay the same with or without it.
void ShowGrids(const CliContext& context, bool exportSheets, const GridSource* hits,
               const Grid& result, const char* resultName) {
  if (exportSheets) {
    std::vector<std::filesystem::path> written;
    if (hits) written.push_back(context.dataFolder / kHitsSheetName);
    written.push_back(context.dataFolder / kResultSheetName);
    if (hits) WriteSpreadsheet(*hits, written.front());
    WriteSpreadsheet(result, written.back());
    for (const std::filesystem::path& file : written) {
      std::fprintf(stderr, "%s\n", file.string().c_str());
    }
  }
  if (hits) {
    context.PrintGrids({{"hits", hits}, {resultName, &result}});
  } else {
    context.PrintGrid(result);
  }
}

// Completes a position or partial search request with the range and the
// display rules, runs it and shows (and exports) its hits and summary.
template <typename Request>
void RunSearch(const CliContext& context, const HistoryIndex& index, const AnalysisArgs& args,
               Request& request, SearchResult (*run)(const HistoryIndex&, const Request&)) {
  FillRangeBoxes(context, index, args.from, args.to, request.startBox, request.endBox);
  request.show = ShowRules{context.settings.zodiacBase, context.ThreeDigit()};
  const SearchResult result = run(index, request);
  ShowGrids(context, args.exportSheets, result.hitGrid.get(), result.summaryGrid, "summary");
}

// The export flag of a command whose grids go to `sheets`. Only the files
// named on standard error are this run's: a workbook of another command
// (a search's Jiansuo.xls beside a group's Jieguo.xls) is the user's and stays.
void AddExportFlag(CLI::App* command, AnalysisArgs& args, const std::string& sheets) {
  command->add_flag("--export", args.exportSheets,
                    "also write " + sheets +
                        " in the data folder; the path of every file written goes to standard "
                        "error");
}

void AddRange(CLI::App* command, AnalysisArgs& args) {
  command->add_option("--from", args.from,
                      "range start box: its rightmost nine characters are the stored issue "
                      "(2014011601 and 14011601 both work); default the first stored issue");
  command->add_option("--to", args.to, "range end box; default the newest stored issue");
}

void AddSearchRangeAndExport(CLI::App* command, AnalysisArgs& args) {
  AddRange(command, args);
  AddExportFlag(
      command, args,
      std::string("the hits to ") + kHitsSheetName + " and the summary to " + kResultSheetName);
}

// A search command: its pattern's options, the range and --export; it
// fills the request from the arguments and the stored history, runs it and
// shows the grids.
template <typename Request>
void AddSearchCommand(CLI::App& app, CliContext& context, const char* name,
                      void (*addPatternOptions)(CLI::App*, PatternArgs&),
                      void (*fill)(const CliContext&, const AnalysisArgs&, const Snapshot&,
                                   Request&),
                      SearchResult (*run)(const HistoryIndex&, const Request&)) {
  auto args = std::make_shared<AnalysisArgs>();
  CLI::App* command = app.add_subcommand(name, CommandHelp(name));
  addPatternOptions(command, *args);
  AddSearchRangeAndExport(command, *args);
  command->callback([&context, args, fill, run] {
    const Snapshot history = context.LoadHistory();
    Request request;
    fill(context, *args, history, request);
    RunSearch(context, *history->index, *args, request, run);
  });
}

void FillPositionSearch(const CliContext& context, const AnalysisArgs& args,
                        const Snapshot& history, PositionSearchRequest& request) {
  request.pattern = PositionPattern(
      context, args, [&] { return history; }, request.chosen);
}

void FillPartialSearch(const CliContext& context, const AnalysisArgs& args, const Snapshot& history,
                       PartialSearchRequest& request) {
  request.partSize = WholeArgument<int>(args.partSize, "--k");
  request.partSizeText = args.partSize;
  request.pattern = PartialPattern(context, args, [&] { return history; });
}

void AddGroup(CLI::App& app, CliContext& context) {
  auto args = std::make_shared<AnalysisArgs>();
  CLI::App* command = app.add_subcommand("group", CommandHelp("group"));
  AddTypeOption(command, args->type);
  command->add_option("--size", args->groupSize, "the group size K")->required();
  command
      ->add_option("--select", args->selected,
                   "checked boxes J1,J2,… (1..20; boxes above the type's box count are ignored)")
      ->delimiter(',')
      ->required();
  AddRange(command, *args);
  AddExportFlag(command, *args, std::string("the omission table to ") + kResultSheetName);
  command->callback([&context, args] {
    GroupRequest request;
    request.type = ParseSearchType(args->type);
    request.groupSize = WholeArgument<int>(args->groupSize, "--size");
    for (const std::string& box : args->selected) {
      const int number = WholeArgument<int>(box, "--select box");
      if (number < 1 || number > kSelectionBoxes) {
        throw UsageError("--select boxes must be 1..20, not \"" + box + "\"");
      }
      request.checkedBoxes.push_back(number);
    }
    // The calculation reads the draws' fields alone: no index to build.
    const PackedHistory draws = context.LoadDraws();
    request.bases = PanelBases{context.settings.zodiacBase, context.settings.segmentBase};
    FillRangeBoxes(context, draws.issues, args->from, args->to, request.startBox, request.endBox);
    ShowGrids(
        context, args->exportSheets, nullptr,
        OmissionTableGrid(RunGroupTable(draws, request, context.Store(), OmissionSortKey::kLast)),
        "table");
  });
}

void AddTable(CLI::App& app, CliContext& context) {
  auto args = std::make_shared<AnalysisArgs>();
  CLI::App* command = app.add_subcommand("table", CommandHelp("table"));
  command->add_option("--sort", args->sortKey, "intMinYL, intMaxYL, intLstYl (default) or sglLlr");
  AddExportFlag(command, *args, std::string("the table to ") + kResultSheetName);
  command->callback([&context, args] {
    OmissionSortKey key = OmissionSortKey::kLast;
    if (!args->sortKey.empty()) {
      const std::optional<OmissionSortKey> named = SortKeyOfColumnName(args->sortKey);
      if (!named) {
        throw UsageError("--sort must be intMinYL, intMaxYL, intLstYl or sglLlr, not \"" +
                         args->sortKey + "\"");
      }
      key = *named;
    }
    ShowGrids(context, args->exportSheets, nullptr,
              OmissionTableGrid(LoadOmissionRecords(context.Store(), key)), "table");
  });
}

}  // namespace

void AddAnalysisCommands(CLI::App& app, CliContext& context) {
  AddSearchCommand(app, context, "search", AddPositionPatternOptions, FillPositionSearch,
                   RunPositionSearch);
  AddSearchCommand(app, context, "partial", AddPartialPatternOptions, FillPartialSearch,
                   RunPartialSearch);
  AddGroup(app, context);
  AddTable(app, context);
}

}  // namespace zs
