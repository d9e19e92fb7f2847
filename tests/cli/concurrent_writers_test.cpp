// Several zephyrstat-cli programs changing one data folder at once: typed
// draws stored, draws deleted through the backup and rebuild (each delete
// followed by its compaction) and the zodiac base changed, all overlapping.
// Every change a program reported must be in the history afterwards; a
// program that found the history busy must have said so and changed nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/derivation.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"
#include "tests/support/cli_runner.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using ::testing::HasSubstr;

// The value of "name<TAB>value" in a command's output.
std::string Value(const std::string& out, const std::string& name) {
  for (const std::string& line : OutputLines(out)) {
    if (line.starts_with(name + "\t")) return line.substr(name.size() + 1);
  }
  return {};
}

TEST(ConcurrentWritersTest, EveryReportedWriteIsKept) {
  CliRunner cli(ZS_CLI_PATH);
  ASSERT_EQ(cli.Run({"settings", "GsZl", "0"}).exitStatus, 0);
  // Long enough that a rebuild takes a while, so the writers overlap.
  const std::vector<Draw> draws =
      GenerateHistory(OptionsForDrawCount(20000, Date{2014, 6, 30}, 84, 7));
  WriteFileBytes(cli.root() / "h.txt", HistoryFileText(draws, false));
  ASSERT_EQ(cli.Run({"import", (cli.root() / "h.txt").string()}).exitStatus, 0);

  std::mutex mutex;
  int64_t added = 0;
  int64_t deleted = 0;
  int lastBase = 1;  // the zodiac base of the last reported change
  std::vector<std::string> failures;
  const auto run = [&](const std::vector<std::string>& args,
                       const std::function<void(const CliResult&)>& done) {
    const CliResult result = cli.Run(args);
    const std::lock_guard<std::mutex> lock(mutex);
    if (result.exitStatus == 0) {
      done(result);
    } else if (result.err.find(kHistoryBusyMessage) == std::string::npos) {
      failures.push_back(result.err);
    }
  };

  std::vector<std::thread> writers;
  for (int adder = 0; adder < 3; ++adder) {
    writers.emplace_back([&, adder] {
      for (int i = 0; i < 8; ++i) {
        const int first = 1 + (adder * 8 + i) % 13;
        std::vector<std::string> args = {"add"};
        for (int k = 0; k < 8; ++k) args.push_back(std::to_string(first + k));
        run(args, [&](const CliResult&) { ++added; });
      }
    });
  }
  writers.emplace_back([&] {
    for (int i = 0; i < 3; ++i) {
      run({"delete-last", "100"},
          [&](const CliResult& result) { deleted += std::stoll(Value(result.out, "deleted")); });
    }
  });
  writers.emplace_back([&] {
    for (int base : {0, 1, 0}) {
      run({"settings", "SxIni", std::to_string(base)},
          [&, base](const CliResult&) { lastBase = base; });
    }
  });
  for (std::thread& writer : writers) writer.join();

  EXPECT_THAT(failures, ::testing::IsEmpty());
  EXPECT_GT(added, 0);
  EXPECT_GT(deleted, 0);
  auto store = HistoryStore::OpenFolder(cli.dataFolder());
  Statement check = store->db().Prepare("PRAGMA integrity_check");
  ASSERT_TRUE(check.Step());
  EXPECT_EQ(check.Text(0), "ok");
  const std::vector<Draw> stored = store->LoadDraws();
  EXPECT_EQ(int64_t(stored.size()), int64_t(draws.size()) + added - deleted);
  std::set<int32_t> issues;
  for (const Draw& draw : stored) issues.insert(draw.issue);
  EXPECT_EQ(issues.size(), stored.size()) << "an issue was stored twice";
  // Every row follows the base that was reported last.
  EXPECT_EQ(store->Bases(), (RecordedBases{lastBase, 1}));
  Settings settings;
  settings.edition = EditionChoice::Of(0);
  settings.zodiacBase = lastBase;
  const std::optional<HistoryRow> last = store->Last();
  ASSERT_TRUE(last);
  HistoryRow expected = DeriveRow(stored.back(), DerivationRules::From(settings));
  expected.idx = last->idx;
  EXPECT_EQ(*last, expected);
}

}  // namespace
}  // namespace zs
