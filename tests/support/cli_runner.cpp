#include "tests/support/cli_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace zs {
namespace {

std::filesystem::path MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zs-cli-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
  }
  return pattern;
}

// The parent's environment with the per-user folders moved into `root`.
std::vector<std::string> ChildEnvironment(const std::filesystem::path& root) {
  const std::vector<std::pair<std::string, std::filesystem::path>> isolated = {
      {"HOME", root / "home"},
      {"XDG_CONFIG_HOME", root / "config"},
      {"XDG_DATA_HOME", root / "share"},
  };
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    bool replaced = false;
    for (const auto& [name, value] : isolated) {
      replaced = replaced || text.starts_with(name + "=");
    }
    if (!replaced) environment.emplace_back(text);
  }
  for (const auto& [name, value] : isolated) environment.push_back(name + "=" + value.string());
  return environment;
}

std::vector<char*> PointerList(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

CliRunner::CliRunner(std::filesystem::path program)
    : program_(std::move(program)), root_(MakeTempFolder()) {
  for (const char* sub : {"data", "home", "config", "share"}) {
    std::filesystem::create_directory(root_ / sub);
  }
}

CliRunner::~CliRunner() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

CliResult CliRunner::Run(const std::vector<std::string>& args) const {
  std::vector<std::string> all = {"--dir", dataFolder().string()};
  all.insert(all.end(), args.begin(), args.end());
  return RunRaw(all);
}

CliResult CliRunner::RunRaw(const std::vector<std::string>& args) const {
  // Output goes to files rather than pipes: no risk of a full pipe blocking
  // the child while the parent waits for it.
  // Each run has files of its own, so runs may go on at once.
  static std::atomic<int> runs{0};
  const std::string run = std::to_string(runs++);
  const std::filesystem::path outFile = root_ / ("stdout" + run + ".txt");
  const std::filesystem::path errFile = root_ / ("stderr" + run + ".txt");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);

  std::vector<std::string> argv = {program_.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> environment = ChildEnvironment(root_);
  std::vector<char*> argvPointers = PointerList(argv);
  std::vector<char*> environmentPointers = PointerList(environment);

  pid_t child = 0;
  const int spawnError = posix_spawn(&child, program_.c_str(), &actions, nullptr,
                                     argvPointers.data(), environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawnError != 0) {
    throw std::runtime_error("cannot run " + program_.string() + ": " + std::strerror(spawnError));
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
  }

  CliResult result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFileBytes(outFile);
  result.err = ReadFileBytes(errFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return result;
}

void ExpectCliCases(const CliRunner& cli, const std::vector<CliCase>& cases) {
  for (const CliCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliResult result = cli.Run(c.args);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
    EXPECT_EQ(result.out, c.out);
    if (c.err.empty()) {
      EXPECT_EQ(result.err.empty(), c.exitStatus == 0) << result.err;
    } else {
      EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
  }
}

bool ImportHistory(const CliRunner& cli, const std::string& gsZl, std::string_view historyText) {
  const std::filesystem::path file = cli.root() / "history.txt";
  WriteFileBytes(file, historyText);
  return cli.Run({"settings", "GsZl", gsZl}).exitStatus == 0 &&
         cli.Run({"import", file.string()}).exitStatus == 0;
}

std::string ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> OutputLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace zs
