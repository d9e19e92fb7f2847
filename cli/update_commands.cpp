// The update command of zephyrstat-cli: the online update from the results
// page of the chosen edition. The fetch runs in a local event loop of the
// tool's QCoreApplication; a failure leaves the history as it was.
#include <CLI/CLI.hpp>
#include <QEventLoop>
#include <QString>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/commands.h"
#include "cli/watch_alerts.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "frontend/online_updater.h"

namespace zs {
namespace {

struct UpdateOptions {
  std::string url;
  std::string today;
  std::string timeout;
};

// YYYY-MM-DD, a real calendar date.
Date ParseDate(const std::string& text) {
  constexpr std::string_view kShape = "dddd-dd-dd";
  bool shaped = text.size() == kShape.size();
  for (size_t i = 0; shaped && i < text.size(); ++i) {
    shaped = kShape[i] == 'd' ? text[i] >= '0' && text[i] <= '9' : text[i] == kShape[i];
  }
  const auto field = [&text](size_t pos, size_t count) {
    return ParseWhole<int>(std::string_view(text).substr(pos, count)).value_or(0);
  };
  const Date date = shaped ? Date{field(0, 4), field(5, 2), field(8, 2)} : Date{};
  if (!shaped || !IsValidDate(date)) {
    throw UsageError("--today must be a date YYYY-MM-DD, not \"" + text + "\"");
  }
  if (std::optional<std::string> refusal = IssueYearRefusal(date)) throw UsageError(*refusal);
  return date;
}

// The saved settings with this run's --url and --timeout, checked like the
// saved values; nothing is saved.
Settings RunSettings(const CliContext& context, const UpdateOptions& options) {
  Settings settings = context.settings;
  const auto apply = [&settings](SettingKey key, const std::string& value) {
    if (value.empty()) return;
    try {
      ApplySetting(settings, key, value);
    } catch (const InputError& refusal) {
      throw UsageError(refusal.what());
    }
  };
  apply(SettingKey::kResultsUrl, options.url);
  apply(SettingKey::kFetchTimeout, options.timeout);
  return settings;
}

UpdateReport RunUpdate(History& history, const Settings& settings, const Date& today) {
  OnlineUpdater updater;
  QEventLoop loop;
  std::optional<UpdateReport> report;
  QString failure;
  QObject::connect(&updater, &OnlineUpdater::finished, &loop, [&](const UpdateReport& done) {
    report = done;
    loop.quit();
  });
  QObject::connect(&updater, &OnlineUpdater::failed, &loop, [&](const QString& message) {
    failure = message;
    loop.quit();
  });
  updater.start(history, settings, today);
  loop.exec();
  if (report) return *report;
  // The engine's own exception keeps its kind; a page that could not be
  // fetched is neither bad input nor a store fault.
  if (updater.engineFailure()) std::rethrow_exception(updater.engineFailure());
  throw std::runtime_error(failure.toStdString());
}

}  // namespace

void AddUpdateCommands(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<UpdateOptions>();
  CLI::App* command = app.add_subcommand("update", CommandHelp("update"));
  command->add_option("--url", options->url, "results page address template for this run");
  command->add_option("--today", options->today, "today's date YYYY-MM-DD (default: the clock)");
  command->add_option("--timeout", options->timeout,
                      "time limit of the fetch in seconds for this run (setting FetchTimeout)");
  command->callback([&context, options] {
    const Settings settings = RunSettings(context, *options);
    const Date today = options->today.empty() ? Today() : ParseDate(options->today);
    WatchAlerts alerts(context);
    const UpdateReport report = RunUpdate(context.OpenHistory(), settings, today);
    context.PrintValues({{"added", std::to_string(report.added)},
                         {"first", ShownIssue(report.firstIssue, false)},
                         {"last", ShownIssue(report.lastIssue, false)},
                         {"address", report.address},
                         {"dropped", std::to_string(report.dropped)},
                         {"unreadable", std::to_string(report.unreadable)}});
    alerts.PrintFired();
  });
}

}  // namespace zs
