// The watch commands of zephyrstat-cli: watch add search|partial|combination,
// watch list, watch check and watch remove. A watch's pattern is read as the
// searches read theirs; the figures are those of the history's snapshot.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/partial_search.h"
#include "analysis/watch_book.h"
#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/commands.h"
#include "cli/pattern_arguments.h"
#include "core/errors.h"
#include "store/watch_table.h"

namespace zs {
namespace {

constexpr size_t kMostItems = 6;

struct WatchArgs : PatternArgs {
  std::vector<std::string> items;
  std::string when;
  std::string name;
};

// Fills the condition and name, stores the watch and prints its number.
void StoreWatch(CliContext& context, const WatchArgs& args, Watch& watch) {
  const std::optional<WatchCondition> condition = ParseWatchCondition(args.when);
  if (!condition) {
    throw UsageError("--when must be last>=N, ratio>=R or record, not \"" + args.when + "\"");
  }
  watch.condition = *condition;
  watch.name = args.name;
  context.PrintValues({{"number", std::to_string(context.OpenHistory().AddWatch(watch))}});
}

CLI::App* AddKind(CLI::App* add, const char* kind, const char* help, WatchArgs& args) {
  CLI::App* command = add->add_subcommand(kind, help);
  command->add_option("--when", args.when, "last>=N, ratio>=R or record")->required();
  command->add_option("--name", args.name, "the watch's name");
  return command;
}

// A watch of a search: its pattern's options and a callback that fills the
// watch from the pattern (the history read only when the pattern comes from
// a stored draw) and stores it.
void AddSearchWatch(CLI::App* add, CliContext& context, const char* kind, const char* help,
                    void (*addPatternOptions)(CLI::App*, PatternArgs&),
                    void (*fill)(CliContext&, const WatchArgs&, const HistoryWhenNeeded&, Watch&)) {
  auto args = std::make_shared<WatchArgs>();
  CLI::App* command = AddKind(add, kind, help, *args);
  addPatternOptions(command, *args);
  command->callback([&context, args, fill] {
    Watch watch;
    fill(
        context, *args, [&context] { return context.OpenHistory().snapshot(); }, watch);
    StoreWatch(context, *args, watch);
  });
}

void FillPositionWatch(CliContext& context, const WatchArgs& args, const HistoryWhenNeeded& history,
                       Watch& watch) {
  watch.kind = WatchKind::kSearch;
  const SearchPattern pattern = PositionPattern(context, args, history, watch.chosen);
  watch.type = pattern.type;
  watch.freePositions = pattern.freePositions;
  for (int p = 0; p < kPositions; ++p) watch.values[p] = watch.chosen[p] ? pattern.values[p] : 0;
}

void FillPartialWatch(CliContext& context, const WatchArgs& args, const HistoryWhenNeeded& history,
                      Watch& watch) {
  watch.kind = WatchKind::kPartial;
  watch.partSize = WholeArgument<int>(args.partSize, "--k");
  const SearchPattern pattern = PartialPattern(context, args, history);
  watch.type = pattern.type;
  watch.freePositions = pattern.freePositions;
  watch.values = pattern.values;
}

void AddCombinationWatch(CLI::App* add, CliContext& context) {
  auto args = std::make_shared<WatchArgs>();
  CLI::App* command =
      AddKind(add, "combination", "Watch one combination of the group calculation.", *args);
  command
      ->add_option("--items", args->items,
                   "the combination's items A,B,… as the group calculation labels them")
      ->delimiter(',')
      ->required();
  AddTypeOption(command, args->type);
  command->callback([&context, args] {
    Watch watch;
    watch.kind = WatchKind::kCombination;
    watch.type = ParseSearchType(args->type);
    if (args->items.empty() || args->items.size() > kMostItems) {
      throw UsageError("--items takes 1 to 6 items");
    }
    watch.boxes = CombinationBoxes(watch.type, args->items, PanelBases::Of(context.settings));
    StoreWatch(context, *args, watch);
  });
}

// The watch list with its figures over the stored history; without watches
// the history is not read.
WatchBook CurrentBook(CliContext& context) {
  if (LoadWatches(context.Store()).empty()) return WatchBook();
  return *context.OpenHistory().snapshot()->watches;
}

}  // namespace

void AddWatchCommands(CLI::App& app, CliContext& context) {
  CLI::App* watch = app.add_subcommand("watch", CommandHelp("watch"));
  watch->require_subcommand(1);
  CLI::App* add = watch->add_subcommand("add", "Add a watch; prints its number.");
  add->require_subcommand(1);
  AddSearchWatch(add, context, "search", "Watch a position search over the whole history.",
                 AddPositionPatternOptions, FillPositionWatch);
  AddSearchWatch(add, context, "partial", "Watch a partial search over the whole history.",
                 AddPartialPatternOptions, FillPartialWatch);
  AddCombinationWatch(add, context);

  watch->add_subcommand("list", "Print every watch with its figures.")->callback([&context] {
    context.PrintGrid(WatchGrid(CurrentBook(context), false));
  });
  watch->add_subcommand("check", "Print the watches whose condition holds.")->callback([&context] {
    context.PrintGrid(WatchGrid(CurrentBook(context), true));
  });
  auto number = std::make_shared<std::string>();
  CLI::App* remove = watch->add_subcommand("remove", "Remove the watch numbered N.");
  remove->add_option("N", *number, "the watch's number")->required();
  remove->callback([&context, number] {
    const auto removed = WholeArgument<int64_t>(*number, "N");
    if (!context.OpenHistory().RemoveWatch(removed)) {
      throw InputError("没有编号为 " + *number + " 的关注");
    }
    context.PrintValues({{"removed", *number}});
  });
}

}  // namespace zs
