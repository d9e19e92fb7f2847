// zephyrstat-cli: the command-line tool over the Zephyrstat engine.
//
//   zephyrstat-cli [--dir DIR] [--json] COMMAND [ARGS]
//
// Exit status 0 on success, 1 on a failure (message on stderr), 2 on a usage
// error. Each command group registers itself through one line in kGroups.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/errors.h"
#include "core/file_io.h"
#include "frontend/data_folder.h"
#include "frontend/memory_reuse.h"
#include "frontend/settings_store.h"

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

using AddGroup = void (*)(CLI::App&, zs::CliContext&);
constexpr AddGroup kGroups[] = {
    zs::AddHistoryCommands, zs::AddAnalysisCommands, zs::AddViewCommands,
    zs::AddExportCommands,  zs::AddUpdateCommands,   zs::AddWatchCommands,
};

// Runs after the command line is parsed and before the command: a command
// finds the settings and the data folder ready. A --dir that does not exist
// yet is created, and the tool says so on stderr (stdout stays the result).
void PrepareContext(zs::CliContext& context, const std::string& dir) {
  context.settings = zs::LoadSettings();
  if (dir.empty()) {
    context.dataFolder = zs::DataFolder();
    return;
  }
  context.dataFolder = std::filesystem::path(dir);
  std::error_code error;
  if (std::filesystem::is_directory(context.dataFolder, error)) return;
  if (std::filesystem::exists(context.dataFolder, error)) {
    throw zs::StoreError("--dir " + dir + "：不是文件夹");
  }
  std::filesystem::create_directories(context.dataFolder, error);
  if (error) {
    throw zs::StoreError("无法建立数据文件夹 " + dir + "：" + zs::FileErrorReason(error.value()));
  }
  std::fprintf(stderr, "已建立数据文件夹 %s\n", dir.c_str());
}

int Fail(int status, const char* message) {
  std::fprintf(stderr, "zephyrstat-cli: %s\n", message);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // The import and the reading of a long history fill tens of megabytes of
  // fresh memory; huge pages fault it in far fewer steps.
  zs::RetainFreedMemoryForReuse();
  // The data folder is found through the application's own path.
  QCoreApplication application(argc, argv);

  zs::CliContext context;
  CLI::App app("Zephyrstat command-line tool: keeps the draw history and runs its analyses.",
               "zephyrstat-cli");
  app.footer(
      "Exit status: 0 success, 1 failure (message on stderr), 2 usage error.\n"
      "Text output: one line per grid row, cells separated by a TAB, heading row first.\n"
      "--json output: {\"columns\": [...], \"rows\": [[...], ...]}, every cell a string.");
  std::string dir;
  app.add_option("--dir", dir,
                 "data folder holding tessera.mdb (created when it does not exist); "
                 "default: the per-user data folder ~/.local/share/Zephyrstat, or the program's "
                 "own folder when it runs writable from a build folder");
  app.add_flag("--json", context.json, "print results as JSON");
  app.set_version_flag("--version", "zephyrstat-cli " ZS_VERSION, "print the version and exit");
  app.require_subcommand(1);
  app.parse_complete_callback([&context, &dir] { PrepareContext(context, dir); });
  for (AddGroup addGroup : kGroups) addGroup(app, context);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : kUsageError;
  } catch (const zs::UsageError& error) {
    return Fail(kUsageError, error.what());
  } catch (const std::exception& error) {
    return Fail(kFailure, error.what());
  }
  return std::fflush(stdout) == 0 ? 0 : kFailure;
}
