// Runs a command-line program of the project as a child process for an
// end-to-end test: in a fresh temporary folder of its own, with HOME,
// XDG_CONFIG_HOME and XDG_DATA_HOME pointing inside it (so the user's
// settings are never read or changed), capturing stdout, stderr and the exit
// status. The folder is removed when the runner goes.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_CLI_RUNNER_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_CLI_RUNNER_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zs {

struct CliResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

class CliRunner {
 public:
  explicit CliRunner(std::filesystem::path program);
  CliRunner(const CliRunner&) = delete;
  CliRunner& operator=(const CliRunner&) = delete;
  ~CliRunner();

  // The temporary folder; `dataFolder()` is its "data" subfolder (created).
  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path dataFolder() const { return root_ / "data"; }

  // Runs the program with `--dir dataFolder()` before `args`.
  CliResult Run(const std::vector<std::string>& args) const;
  // Runs the program with exactly `args`.
  CliResult RunRaw(const std::vector<std::string>& args) const;

 private:
  std::filesystem::path program_;
  std::filesystem::path root_;
};

// One row of a command's table: the arguments, the exit status, the whole of
// stdout, and a part of stderr ("" on success: stderr stays empty; "" on
// failure: stderr holds some message).
struct CliCase {
  std::vector<std::string> args;
  int exitStatus;
  std::string out;
  std::string err = "";
};
// Runs the cases in order, each on what the ones before left, and checks each.
void ExpectCliCases(const CliRunner& cli, const std::vector<CliCase>& cases);

// Chooses the edition (`gsZl`, the stored setting) and imports `historyText`;
// false when either fails.
bool ImportHistory(const CliRunner& cli, const std::string& gsZl, std::string_view historyText);

// Whole-file helpers for preparing inputs and comparing outputs.
std::string ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// The lines of a program's text output, without their "\n".
std::vector<std::string> OutputLines(std::string_view text);

}  // namespace zs

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_CLI_RUNNER_H_
