// The command groups of zephyrstat-cli; main() registers each group.
#ifndef ZEPHYRSTAT_CLI_COMMANDS_H_
#define ZEPHYRSTAT_CLI_COMMANDS_H_

namespace CLI {
class App;
}

namespace zs {

class CliContext;

// settings, import, list, next, add, delete-last, delete-after, clear
void AddHistoryCommands(CLI::App& app, CliContext& context);
// search, partial, group, table
void AddAnalysisCommands(CLI::App& app, CliContext& context);
// stats, trend
void AddViewCommands(CLI::App& app, CliContext& context);
// export-text, export-sheet
void AddExportCommands(CLI::App& app, CliContext& context);
// update
void AddUpdateCommands(CLI::App& app, CliContext& context);
// watch add|list|check|remove
void AddWatchCommands(CLI::App& app, CliContext& context);

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_COMMANDS_H_
