// The history commands of zephyrstat-cli: settings, import, list, next, add,
// delete-last, delete-after and clear. Each reads its arguments, calls the
// engine once and prints what happened.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/history_grid.h"
#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/commands.h"
#include "cli/watch_alerts.h"
#include "core/derivation.h"
#include "core/errors.h"
#include "core/grid.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "frontend/settings_store.h"
#include "history/deletion.h"
#include "history/import.h"
#include "history/setting_change.h"
#include "history/typed_entry.h"

namespace zs {
namespace {

// The largest stored issue has nine digits (yymmddNNN).
constexpr size_t kMaxStoredIssueDigits = 9;

std::string LastShown(CliContext& context) {
  const std::optional<HistoryRow> last = context.Store().Last();
  return last ? ShownIssue(last->issue, context.ThreeDigit()) : std::string();
}

// The issue that follows `issue`, as shown: what the entry boxes store next.
std::string ShownNext(const CliContext& context, int32_t issue) {
  const IssueRule rule = IssueRule::From(context.settings);
  return ShownIssue(FollowingIssue(issue, rule), rule.threeDigit);
}

// A committed delete is done (exit 0) even when the compaction or lsbf.txt
// after it failed; the warnings go to stderr, beside the result.
void PrintDeleted(CliContext& context, const DeleteOutcome& outcome) {
  for (const std::optional<std::string>& warning :
       {outcome.compactionWarning, outcome.backupWarning}) {
    if (warning) std::fprintf(stderr, "zephyrstat-cli: %s\n", warning->c_str());
  }
  context.PrintValues({{"deleted", std::to_string(outcome.deleted)}, {"last", LastShown(context)}});
}

Grid SettingsGrid(const Settings& settings, const std::vector<SettingKey>& keys) {
  Grid grid({"键", "值"});
  for (SettingKey key : keys) grid.AddRow({SettingName(key), SettingText(settings, key)});
  return grid;
}

void AddSettings(CLI::App& app, CliContext& context) {
  auto key = std::make_shared<std::string>();
  auto value = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("settings", CommandHelp("settings"));
  std::string keys;
  for (SettingKey name : SettingKeys())
    keys += (keys.empty() ? "" : ", ") + std::string(SettingName(name));
  CLI::Option* keyOption = command->add_option("KEY", *key, keys);
  CLI::Option* valueOption = command->add_option("VALUE", *value, "the new value");
  command->callback([&context, key, value, keyOption, valueOption] {
    if (keyOption->count() == 0) {
      context.PrintGrid(SettingsGrid(context.settings, SettingKeys()));
      return;
    }
    if (valueOption->count() == 0) throw UsageError("settings " + *key + " needs a VALUE");
    const SettingKey named = SettingKeyNamed(*key);
    context.settings =
        IsDerivationBase(named)
            ? context.OpenHistory().ChangeSetting(named, *value, SaveSetting).settings
            : ChangeSetting(nullptr, context.settings, named, *value, SaveSetting).settings;
    context.PrintGrid(SettingsGrid(context.settings, {named}));
  });
}

void AddImport(CLI::App& app, CliContext& context) {
  auto file = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand("import", CommandHelp("import"));
  command->add_option("FILE", *file, "history text file (any name)")->required();
  command->add_flag("--force", *force,
                    "import even when fewer than half of the file's non-blank lines are draws");
  command->callback([&context, file, force] {
    History& history = context.OpenHistory();
    const HistoryFileInspection inspection = history.Inspect(std::filesystem::path(*file));
    if (inspection.MostlyUnreadable() && !*force) {
      throw InputError(DescribeInspection(inspection, history.store().Count()) +
                       "不到一半的非空行是历史号码，未读入，历史号码未改变；确要读入请加 --force");
    }
    const ImportReport report = history.Import(inspection);
    context.PrintValues({{"stored", std::to_string(report.stored)},
                         {"inherited", std::to_string(report.inherited)},
                         {"skipped", std::to_string(report.skipped)}});
  });
}

void AddList(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand("list", CommandHelp("list"));
  command->callback([&context] {
    context.PrintGrid(HistoryGrid(
        std::make_shared<const PackedHistory>(context.Store().LoadPacked()), context.ThreeDigit()));
  });
}

void AddNext(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand("next", CommandHelp("next"));
  command->callback([&context] {
    std::string next;
    std::string last;
    if (const std::optional<HistoryRow> row = context.Store().Last()) {
      next = ShownNext(context, row->issue);
      last = ShownIssue(row->issue, context.ThreeDigit());
    }
    context.PrintValues({{"next", next}, {"last", last}});
  });
}

void AddAdd(CLI::App& app, CliContext& context) {
  auto texts = std::make_shared<std::vector<std::string>>();
  CLI::App* command = app.add_subcommand("add", CommandHelp("add"));
  command->add_option("N", *texts, "the eight numbers in drawn order")
      ->expected(kPositions)
      ->required();
  command->callback([&context, texts] {
    Numbers numbers{};
    for (int i = 0; i < kPositions; ++i) {
      const int64_t value = WholeArgument<int64_t>((*texts)[i], "number " + std::to_string(i + 1));
      // The engine refuses every number outside 1..20 with its message;
      // clamping only keeps a huge value from wrapping into that range.
      numbers[i] = static_cast<int>(std::clamp<int64_t>(value, kMinNumber - 1, kMaxNumber + 1));
    }
    WatchAlerts alerts(context);
    const int32_t stored = context.OpenHistory().AddTypedDraw(numbers);
    context.PrintValues({{"stored", ShownIssue(stored, context.ThreeDigit())},
                         {"next", ShownNext(context, stored)}});
    alerts.PrintFired();
  });
}

void AddDeleteLast(CLI::App& app, CliContext& context) {
  auto count = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("delete-last", CommandHelp("delete-last"));
  command->add_option("N", *count, "how many of the newest draws to delete");
  command->callback([&context, count] {
    if (count->empty()) {
      PrintDeleted(context, context.OpenHistory().DeleteLast());
      return;
    }
    const int64_t n = WholeArgument<int64_t>(*count, "N");
    PrintDeleted(context, context.OpenHistory().DeleteLastDraws(n));
  });
}

void AddDeleteAfter(CLI::App& app, CliContext& context) {
  auto issue = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("delete-after", CommandHelp("delete-after"));
  command->add_option("ISSUE", *issue, "stored form, without the leading \"20\" (e.g. 14011690)")
      ->required();
  command->callback([&context, issue] {
    // A shown issue (2014011690) would still fit the number type and quietly
    // delete nothing, so only the stored form's width is accepted.
    const int64_t lastKept = WholeArgument<int64_t>(*issue, "ISSUE");
    if (issue->size() > kMaxStoredIssueDigits) {
      throw UsageError(
          "ISSUE is the stored form without the leading \"20\" (at most 9 digits), "
          "not \"" +
          *issue + "\"");
    }
    const DeleteOutcome outcome =
        context.OpenHistory().DeleteDrawsAfter(static_cast<int32_t>(lastKept));
    if (!outcome.lastKeptStored && lastKept > 0) {
      std::fprintf(
          stderr,
          "zephyrstat-cli: 历史号码中没有第 %s 期；删除了其后的 %lld 期，其前的历史号码全部保留\n",
          ShownIssue(static_cast<int32_t>(lastKept), context.ThreeDigit()).c_str(),
          static_cast<long long>(outcome.deleted));
    }
    PrintDeleted(context, outcome);
  });
}

void AddClear(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand("clear", CommandHelp("clear"));
  command->callback([&context] {
    DeleteOutcome cleared;
    cleared.deleted = context.OpenHistory().Clear();
    PrintDeleted(context, cleared);
  });
}

}  // namespace

void AddHistoryCommands(CLI::App& app, CliContext& context) {
  AddSettings(app, context);
  AddImport(app, context);
  AddList(app, context);
  AddNext(app, context);
  AddAdd(app, context);
  AddDeleteLast(app, context);
  AddDeleteAfter(app, context);
  AddClear(app, context);
}

}  // namespace zs
