// The export commands of zephyrstat-cli: export-text and export-sheet write
// the history grid to the data folder and print the written path. The tool
// never opens the file with another program; that is the window's job.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "export/spreadsheet_export.h"
#include "export/text_export.h"
#include "store/history_grid.h"
#include "store/issue_number.h"

namespace zs {
namespace {

void PrintPath(const CliContext& context, const std::filesystem::path& file) {
  if (context.json) {
    context.PrintValues({{"path", file.string()}});
  } else {
    std::printf("%s\n", file.string().c_str());
  }
}

void AddExportText(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand(
      "export-text",
      "Write the history to \"更新至<newest stored issue>期历史号码.txt\" in the data folder: "
      "one CR LF line per draw, the shown issue and the eight numbers as two digits, each "
      "followed by a blank. Prints the path. Fails and writes nothing on an empty history.");
  command->callback([&context] {
    const bool threeDigit = IssueRule::From(context.settings).threeDigit;
    const std::vector<Draw> draws = context.Store().LoadDraws();
    const std::string newest = draws.empty() ? "" : StoredDigits(draws.back().issue, threeDigit);
    PrintPath(context,
              WriteHistoryText(HistoryGrid(draws, threeDigit), newest, context.dataFolder));
  });
}

void AddExportSheet(CLI::App& app, CliContext& context) {
  CLI::App* command = app.add_subcommand(
      "export-sheet",
      "Write the history grid (期号, 第1码 … 第8码) to the workbook lishi.xls in the data "
      "folder, sheet \"Sheet1\", every cell as the text the grid shows; an existing file is "
      "replaced. Prints the path.");
  command->callback([&context] {
    const bool threeDigit = IssueRule::From(context.settings).threeDigit;
    const std::filesystem::path file = context.dataFolder / kHistorySheetName;
    WriteSpreadsheet(HistoryGrid(context.Store().LoadDraws(), threeDigit), file);
    PrintPath(context, file);
  });
}

}  // namespace

void AddExportCommands(CLI::App& app, CliContext& context) {
  AddExportText(app, context);
  AddExportSheet(app, context);
}

}  // namespace zs
