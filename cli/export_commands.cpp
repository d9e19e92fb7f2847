// The export commands of zephyrstat-cli: export-text and export-sheet write
// the history grid to the data folder and print the written path. The tool
// never opens the file with another program; that is the window's job.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "analysis/history_grid.h"
#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/commands.h"
#include "core/issue_number.h"
#include "export/spreadsheet_export.h"
#include "export/text_export.h"

namespace zs {
namespace {

// Writes the stored draws, shown as the history grid, into `folder` and
// returns the written file.
using HistoryWriter = std::filesystem::path (*)(std::shared_ptr<const PackedHistory> draws,
                                                bool threeDigit,
                                                const std::filesystem::path& folder);

std::filesystem::path WriteText(std::shared_ptr<const PackedHistory> draws, bool threeDigit,
                                const std::filesystem::path& folder) {
  const std::string newest =
      draws->issues.empty() ? "" : StoredDigits(draws->issues.back(), threeDigit);
  return WriteHistoryText(HistoryGrid(std::move(draws), threeDigit), newest, folder);
}

std::filesystem::path WriteSheet(std::shared_ptr<const PackedHistory> draws, bool threeDigit,
                                 const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / kHistorySheetName;
  WriteSpreadsheet(HistoryGrid(std::move(draws), threeDigit), file);
  return file;
}

void AddHistoryExport(CLI::App& app, CliContext& context, const std::string& name,
                      HistoryWriter write) {
  CLI::App* command = app.add_subcommand(name, CommandHelp(name));
  command->callback([&context, write] {
    const std::filesystem::path file =
        write(std::make_shared<const PackedHistory>(context.Store().LoadPacked()),
              context.ThreeDigit(), context.dataFolder);
    if (context.json) {
      context.PrintValues({{"path", file.string()}});
    } else {
      std::printf("%s\n", file.string().c_str());
    }
  });
}

}  // namespace

void AddExportCommands(CLI::App& app, CliContext& context) {
  AddHistoryExport(app, context, "export-text", WriteText);
  AddHistoryExport(app, context, "export-sheet", WriteSheet);
}

}  // namespace zs
