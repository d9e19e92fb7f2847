// End-to-end runs of zephyrstat-cli's history commands, each test in its own
// temporary data folder and settings store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/draw.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"
#include "tests/support/cli_runner.h"
#include "tests/support/stored_history.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kHeading = "期号\t第1码\t第2码\t第3码\t第4码\t第5码\t第6码\t第7码\t第8码";

// The five-issue history of the deletion examples (84 draws per day).
const std::string kFiveIssues =
    "14011682  01 02 03 04 05 06 07 08\r\n"
    "14011683  02 03 04 05 06 07 08 09\r\n"
    "14011684  03 04 05 06 07 08 09 10\r\n"
    "14011701  04 05 06 07 08 09 10 11\r\n"
    "14011702  05 06 07 08 09 10 11 12\r\n";
const std::vector<std::string> kFiveIssueRows = {
    "2014011682\t1\t2\t3\t4\t5\t6\t7\t8",    "2014011683\t2\t3\t4\t5\t6\t7\t8\t9",
    "2014011684\t3\t4\t5\t6\t7\t8\t9\t10",   "2014011701\t4\t5\t6\t7\t8\t9\t10\t11",
    "2014011702\t5\t6\t7\t8\t9\t10\t11\t12",
};

std::string Row(const Draw& draw, bool threeDigit) {
  std::string row = ShownIssue(draw.issue, threeDigit);
  for (int number : draw.numbers) row += '\t' + std::to_string(number);
  return row;
}

std::vector<std::string> WithHeading(std::vector<std::string> rows) {
  rows.insert(rows.begin(), kHeading);
  return rows;
}

class HistoryCliTest : public ::testing::Test {
 protected:
  CliResult Run(const std::vector<std::string>& args) { return cli_.Run(args); }

  // Runs a command that must succeed and returns its output lines.
  std::vector<std::string> Lines(const std::vector<std::string>& args) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return OutputLines(result.out);
  }

  std::filesystem::path WriteInput(const std::string& name, const std::string& text) {
    const std::filesystem::path file = cli_.root() / name;
    WriteFileBytes(file, text);
    return file;
  }

  // Guangdong edition (84 draws per day, two-digit sequence) and the five issues.
  void ImportFiveIssues() {
    ASSERT_EQ(Run({"settings", "GsZl", "0"}).exitStatus, 0);
    const CliResult imported = Run({"import", WriteInput("five.txt", kFiveIssues).string()});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  }

  std::filesystem::path HistoryFile() const { return cli_.dataFolder() / kHistoryFileName; }
  std::filesystem::path BackupFile() const { return cli_.dataFolder() / "lsbf.txt"; }

  CliRunner cli_{ZS_CLI_PATH};
};

TEST_F(HistoryCliTest, ImportListNextRoundTripUnderThreeDigitRule) {
  GeneratorOptions options;
  options.first = {2014, 3, 1};
  options.last = {2014, 3, 3};
  options.threeDigit = true;  // no edition chosen: the default settings
  options.missingRate = 0;
  const std::vector<Draw> draws = GenerateHistory(options);
  ASSERT_EQ(draws.size(), 3u * 84);
  const std::filesystem::path file = WriteInput("h.txt", HistoryFileText(draws, true));

  EXPECT_THAT(Lines({"import", file.string()}),
              ElementsAre("stored\t252", "inherited\t0", "skipped\t0"));

  std::vector<std::string> expected;
  for (const Draw& draw : draws) expected.push_back(Row(draw, true));
  EXPECT_THAT(Lines({"list"}), ElementsAreArray(WithHeading(expected)));
  // The day is complete at 84 draws: the next issue is the next day's first.
  EXPECT_THAT(Lines({"next"}), ElementsAre("next\t20140304001", "last\t20140303084"));
}

TEST_F(HistoryCliTest, NextFollowsTheEditionRule) {
  ImportFiveIssues();
  EXPECT_THAT(Lines({"list"}), ElementsAreArray(WithHeading(kFiveIssueRows)));
  EXPECT_THAT(Lines({"next"}), ElementsAre("next\t2014011703", "last\t2014011702"));
}

TEST_F(HistoryCliTest, ImportCountsInheritedAndSkippedLines) {
  const std::string text =
      "14011601  01 02 03 04 05 06 07 08\r\n"
      "no numbers on this line\r\n"
      "14011602  09 10 11 12 13 14\r\n"
      "14011603  21 01 02 03 04 05 06 07\r\n";
  ASSERT_EQ(Run({"settings", "GsZl", "0"}).exitStatus, 0);
  EXPECT_THAT(Lines({"import", WriteInput("short.txt", text).string()}),
              ElementsAre("stored\t2", "inherited\t1", "skipped\t2"));
  EXPECT_THAT(Lines({"list"}), ElementsAre(kHeading, "2014011601\t1\t2\t3\t4\t5\t6\t7\t8",
                                           "2014011602\t9\t10\t11\t12\t13\t14\t7\t8"));
}

TEST_F(HistoryCliTest, ImportRefusesAFileOfMostlyUnreadableLinesUnlessForced) {
  ImportFiveIssues();
  const std::filesystem::path file = WriteInput(
      "random.txt", "14011601  01 02 03 04 05 06 07 08\r\n\x8f\xfe\x01\r\nnot a draw\r\n");
  const std::string historyBytes = ReadFileBytes(HistoryFile());
  const CliResult refused = Run({"import", file.string()});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_THAT(refused.err,
              HasSubstr("中有 1 期历史号码，另有 2 个非空行无法读取；现有历史号码 5 期"));
  EXPECT_THAT(refused.err, HasSubstr("--force"));
  EXPECT_TRUE(ReadFileBytes(HistoryFile()) == historyBytes);
  EXPECT_THAT(Lines({"import", "--force", file.string()}),
              ElementsAre("stored\t1", "inherited\t0", "skipped\t2"));
}

TEST_F(HistoryCliTest, JsonShapes) {
  EXPECT_THAT(Lines({"--json", "next"}), ElementsAre(R"({"last":"","next":""})"));
  EXPECT_THAT(Lines({"--json", "list"}),
              ElementsAre(R"({"columns":["期号","第1码","第2码","第3码","第4码","第5码",)"
                          R"("第6码","第7码","第8码"],"rows":[]})"));

  ASSERT_EQ(Run({"settings", "GsZl", "0"}).exitStatus, 0);
  const std::string text =
      "14011683  02 03 04 05 06 07 08 09\r\n"
      "14011684  13 04 05 06 07 18 09 20\r\n";
  EXPECT_THAT(Lines({"--json", "import", WriteInput("two.txt", text).string()}),
              ElementsAre(R"({"inherited":"0","skipped":"0","stored":"2"})"));
  EXPECT_THAT(Lines({"--json", "list"}),
              ElementsAre(R"({"columns":["期号","第1码","第2码","第3码","第4码","第5码",)"
                          R"("第6码","第7码","第8码"],"rows":[)"
                          R"(["2014011683","2","3","4","5","6","7","8","9"],)"
                          R"(["2014011684","13","4","5","6","7","18","9","20"]]})"));
  EXPECT_THAT(Lines({"--json", "next"}),
              ElementsAre(R"({"last":"2014011684","next":"2014011701"})"));
  EXPECT_THAT(Lines({"--json", "settings", "IniSerchDay", "9"}),
              ElementsAre(R"({"columns":["键","值"],"rows":[["IniSerchDay","9"]]})"));
}

TEST_F(HistoryCliTest, SettingsListEveryKeyWithDefaults) {
  const std::vector<std::string> lines = Lines({"settings"});
  ASSERT_EQ(lines.size(), SettingKeys().size() + 1);
  EXPECT_EQ(lines[0], "键\t值");
  for (const char* row : {"GsZl\t556", "bolZyw\ttrue", "intLei\t0", "DsIni\t1", "SxIni\t1",
                          "BsIni\t1", "intZhWSetup\t2", "bolLdm\ttrue", "IniSerchDay\t6"}) {
    EXPECT_THAT(lines, ::testing::Contains(row));
  }
}

TEST_F(HistoryCliTest, SettingsSaveCheckedValuesAndRefuseOthers) {
  struct Case {
    std::vector<std::string> args;
    int exitStatus;
    std::string shownAfter;  // the key's row in `settings` afterwards
  };
  const std::vector<Case> cases = {
      {{"IniSerchDay", "10"}, 0, "IniSerchDay\t10"},
      {{"IniSerchDay", "17"}, 1, "IniSerchDay\t10"},
      {{"IniSerchDay", "1"}, 1, "IniSerchDay\t10"},
      {{"IniSerchDay", "ten"}, 1, "IniSerchDay\t10"},
      {{"IniSerchDay"}, 2, "IniSerchDay\t10"},
      {{"bolZyw", "False"}, 0, "bolZyw\tfalse"},
      {{"bolZyw", "maybe"}, 1, "bolZyw\tfalse"},
      {{"intLei", "5"}, 0, "intLei\t5"},
      {{"intLei", "6"}, 1, "intLei\t5"},
      {{"SxIni", "2"}, 1, "SxIni\t1"},
      {{"NoSuchKey", "1"}, 1, "GsZl\t556"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"settings"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << ::testing::PrintToString(c.args);
    if (c.exitStatus != 0) {
      EXPECT_THAT(result.err, Not(IsEmpty()));
      EXPECT_THAT(result.out, IsEmpty());
    }
    EXPECT_THAT(Lines({"settings"}), ::testing::Contains(c.shownAfter))
        << ::testing::PrintToString(c.args);
  }
}

TEST_F(HistoryCliTest, ChangingABaseRederivesEveryStoredDraw) {
  ImportFiveIssues();
  const auto loadRows = [this] {
    return testing::StoredRows(*HistoryStore::OpenFolder(cli_.dataFolder()));
  };
  const std::vector<HistoryRow> before = loadRows();
  ASSERT_EQ(before.size(), 5u);

  ASSERT_EQ(Run({"settings", "SxIni", "0"}).exitStatus, 0);
  ASSERT_EQ(Run({"settings", "DsIni", "0"}).exitStatus, 0);
  const std::vector<HistoryRow> after = loadRows();
  ASSERT_EQ(after.size(), before.size());
  const int zodiac = static_cast<int>(SearchType::kZodiac);
  const int segment = static_cast<int>(SearchType::kSegment);
  for (size_t row = 0; row < after.size(); ++row) {
    EXPECT_EQ(after[row].numbers(), before[row].numbers());
    for (int position = 0; position < kPositions; ++position) {
      EXPECT_EQ(after[row].fields[zodiac][position], before[row].fields[zodiac][position] - 1);
      EXPECT_EQ(after[row].fields[segment][position], before[row].fields[segment][position] - 1);
    }
  }
}

TEST_F(HistoryCliTest, AnUnsavedSettingIsAFailureThatChangesNothing) {
  ImportFiveIssues();
  const std::vector<HistoryRow> before =
      testing::StoredRows(*HistoryStore::OpenFolder(cli_.dataFolder()));
  // The settings file's folder cannot be made: every save fails.
  std::filesystem::remove_all(cli_.root() / "config" / "Zephyrstat");
  WriteFileBytes(cli_.root() / "config" / "Zephyrstat", "not a folder");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"settings", "SxIni", "0"}, {"settings", "IniSerchDay", "9"}}) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, 1) << args[1];
    EXPECT_THAT(result.err, HasSubstr("设置未保存")) << args[1];
    EXPECT_THAT(result.out, IsEmpty()) << args[1];
  }
  EXPECT_EQ(testing::StoredRows(*HistoryStore::OpenFolder(cli_.dataFolder())), before);
}

// A delete of most draws compacts the file; neither a compaction nor an
// lsbf.txt that fails undoes it.
TEST_F(HistoryCliTest, ADeleteWhoseCompactionOrBackupFailsIsDoneWithAWarning) {
  GeneratorOptions options;
  options.first = {2014, 3, 1};
  options.last = {2014, 3, 3};
  options.threeDigit = true;  // no edition chosen: the default settings
  options.missingRate = 0;
  const std::vector<Draw> draws = GenerateHistory(options);
  ASSERT_EQ(Run({"import", WriteInput("h.txt", HistoryFileText(draws, true)).string()}).exitStatus,
            0);
  // Folders under the compacted copy's and the backup's names, which cannot
  // be replaced.
  std::filesystem::create_directories(cli_.dataFolder() / kCompactFileName / "x");
  std::filesystem::create_directories(BackupFile() / "x");
  const CliResult result = Run({"delete-last", "200"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_THAT(OutputLines(result.out), ElementsAre("deleted\t200", "last\t20140301052"));
  EXPECT_THAT(result.err, HasSubstr("暂未压缩"));
  EXPECT_THAT(result.err, HasSubstr("备份文件未更新"));
  EXPECT_EQ(Lines({"list"}).size(), 53u);
}

TEST_F(HistoryCliTest, AddStoresUnderTheNextIssue) {
  ImportFiveIssues();
  EXPECT_THAT(Lines({"add", "03", "07", "15", "08", "19", "20", "11", "14"}),
              ElementsAre("stored\t2014011703", "next\t2014011704"));
  std::vector<std::string> expected = kFiveIssueRows;
  expected.push_back("2014011703\t3\t7\t15\t8\t19\t20\t11\t14");
  EXPECT_THAT(Lines({"list"}), ElementsAreArray(WithHeading(expected)));
}

TEST_F(HistoryCliTest, AddAfterACompleteDayStartsTheNextDay) {
  ImportFiveIssues();
  ASSERT_EQ(Run({"delete-after", "14011684"}).exitStatus, 0);
  EXPECT_THAT(Lines({"add", "1", "2", "3", "4", "5", "6", "7", "20"}),
              ElementsAre("stored\t2014011701", "next\t2014011702"));
}

TEST_F(HistoryCliTest, AddRefusesBadDrawsAndStoresNothing) {
  ImportFiveIssues();
  const std::vector<std::string> listed = Lines({"list"});
  struct Case {
    std::vector<std::string> numbers;
    int exitStatus;
  };
  const std::vector<Case> cases = {
      {{"21", "2", "3", "4", "5", "6", "7", "8"}, 1},
      {{"0", "2", "3", "4", "5", "6", "7", "8"}, 1},
      {{"1", "2", "3", "4", "5", "6", "7", "99999999999"}, 1},
      {{"1", "2", "3", "4", "5", "6", "7", "1"}, 1},
      {{"a", "2", "3", "4", "5", "6", "7", "8"}, 2},
      {{"1", "2", "3", "4", "5", "6", "7", "8x"}, 2},
      {{"1", "2", "3", "4", "5", "6", "7", "3.5"}, 2},
      {{"1", "2", "3", "4", "5", "6", "7"}, 2},
      {{"1", "2", "3", "4", "5", "6", "7", "8", "9"}, 2},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add"};
    args.insert(args.end(), c.numbers.begin(), c.numbers.end());
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << ::testing::PrintToString(c.numbers);
    EXPECT_THAT(result.err, Not(IsEmpty()));
    EXPECT_THAT(result.out, IsEmpty());
    EXPECT_EQ(Lines({"list"}), listed) << ::testing::PrintToString(c.numbers);
  }
}

TEST_F(HistoryCliTest, AddOnAnEmptyHistoryIsRefused) {
  const CliResult result = Run({"add", "1", "2", "3", "4", "5", "6", "7", "8"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, Not(IsEmpty()));
  EXPECT_THAT(Lines({"list"}), ElementsAre(kHeading));
}

TEST_F(HistoryCliTest, DeleteLastThreeKeepsTheFirstTwoAndWritesTheBackup) {
  ImportFiveIssues();
  EXPECT_THAT(Lines({"delete-last", "3"}), ElementsAre("deleted\t3", "last\t2014011683"));
  EXPECT_THAT(Lines({"list"}), ElementsAre(kHeading, kFiveIssueRows[0], kFiveIssueRows[1]));
  EXPECT_EQ(ReadFileBytes(BackupFile()),
            "14011682 01 02 03 04 05 06 07 08 \r\n"
            "14011683 02 03 04 05 06 07 08 09 \r\n");
  EXPECT_THAT(Lines({"next"}), ElementsAre("next\t2014011684", "last\t2014011683"));
}

TEST_F(HistoryCliTest, DeleteAfterAnIssueThatIsNotStored) {
  ImportFiveIssues();
  const CliResult result = Run({"delete-after", "14011690"});
  EXPECT_THAT(OutputLines(result.out), ElementsAre("deleted\t2", "last\t2014011684"));
  EXPECT_THAT(result.err, HasSubstr("没有第 2014011690 期"));
  EXPECT_THAT(Lines({"list"}),
              ElementsAre(kHeading, kFiveIssueRows[0], kFiveIssueRows[1], kFiveIssueRows[2]));
  EXPECT_THAT(Run({"delete-after", "14011683"}).err, IsEmpty());
}

TEST_F(HistoryCliTest, DeleteLastWithoutCountDeletesOneDrawDirectly) {
  ImportFiveIssues();
  EXPECT_THAT(Lines({"delete-last"}), ElementsAre("deleted\t1", "last\t2014011701"));
  EXPECT_FALSE(std::filesystem::exists(BackupFile()));
  std::vector<std::string> expected(kFiveIssueRows.begin(), kFiveIssueRows.end() - 1);
  EXPECT_THAT(Lines({"list"}), ElementsAreArray(WithHeading(expected)));
}

TEST_F(HistoryCliTest, DeleteLastOneGoesThroughTheBackup) {
  ImportFiveIssues();
  EXPECT_THAT(Lines({"delete-last", "1"}), ElementsAre("deleted\t1", "last\t2014011701"));
  EXPECT_EQ(OutputLines(ReadFileBytes(BackupFile())).size(), 4u);
}

TEST_F(HistoryCliTest, DeletionsThatDeleteNothingLeaveHistoryAndBackupAlone) {
  ImportFiveIssues();
  WriteFileBytes(BackupFile(), "earlier backup\r\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"delete-last", "0"}, {"delete-after", "0"}}) {
    EXPECT_THAT(Lines(args), ElementsAre("deleted\t0", "last\t2014011702"));
  }
  EXPECT_EQ(ReadFileBytes(BackupFile()), "earlier backup\r\n");
  EXPECT_THAT(Lines({"list"}), ElementsAreArray(WithHeading(kFiveIssueRows)));
}

TEST_F(HistoryCliTest, DeletionsThatEmptyTheHistory) {
  const std::vector<std::vector<std::string>> emptying = {
      {"delete-last", "5"}, {"delete-last", "10"}, {"delete-after", "14011601"}, {"clear"}};
  for (const std::vector<std::string>& args : emptying) {
    ImportFiveIssues();
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(OutputLines(result.out), ElementsAre("deleted\t5", "last\t"))
        << ::testing::PrintToString(args);
    EXPECT_THAT(Lines({"list"}), ElementsAre(kHeading));
  }
  EXPECT_THAT(Lines({"delete-last"}), ElementsAre("deleted\t0", "last\t"));
  EXPECT_THAT(Lines({"next"}), ElementsAre("next\t", "last\t"));
}

// Bad input of every kind: the right exit status, a message, no output, and
// the history file byte for byte as it was.
TEST_F(HistoryCliTest, BadInputLeavesTheHistoryUnchanged) {
  ImportFiveIssues();
  const std::filesystem::path empty = WriteInput("empty.txt", "no draws here\r\n");
  struct Case {
    std::vector<std::string> args;
    int exitStatus;
  };
  const std::vector<Case> cases = {
      {{"import", (cli_.root() / "missing.txt").string()}, 1},
      {{"import", empty.string()}, 1},
      {{"import", cli_.root().string()}, 1},
      {{"import"}, 2},
      {{"add", "x", "2", "3", "4", "5", "6", "7", "8"}, 2},
      {{"add", "21", "2", "3", "4", "5", "6", "7", "8"}, 1},
      {{"delete-last", "abc"}, 2},
      {{"delete-last", "2", "3"}, 2},
      {{"delete-after", "abc"}, 2},
      {{"delete-after", "2014011683"}, 2},
      {{"settings", "SxIni", "5"}, 1},
      {{"no-such-command"}, 2},
      {{}, 2},
  };
  const std::string historyBytes = ReadFileBytes(HistoryFile());
  for (const Case& c : cases) {
    const CliResult result = Run(c.args);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << ::testing::PrintToString(c.args);
    EXPECT_THAT(result.err, Not(IsEmpty())) << ::testing::PrintToString(c.args);
    EXPECT_THAT(result.out, IsEmpty()) << ::testing::PrintToString(c.args);
    EXPECT_TRUE(ReadFileBytes(HistoryFile()) == historyBytes) << ::testing::PrintToString(c.args);
  }
  EXPECT_THAT(Lines({"list"}), ElementsAreArray(WithHeading(kFiveIssueRows)));
  EXPECT_FALSE(std::filesystem::exists(BackupFile()));
}

TEST_F(HistoryCliTest, AFileThatIsNotADatabaseIsNeverTouched) {
  const std::string foreign = "this is not a database\r\n";
  WriteFileBytes(HistoryFile(), foreign);
  const std::filesystem::path input = WriteInput("five.txt", kFiveIssues);
  const std::vector<std::vector<std::string>> commands = {
      {"list"},
      {"next"},
      {"import", input.string()},
      {"add", "1", "2", "3", "4", "5", "6", "7", "8"},
      {"delete-last"},
      {"delete-last", "2"},
      {"delete-after", "14011683"},
      {"clear"},
      {"settings", "SxIni", "0"},
  };
  for (const std::vector<std::string>& args : commands) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, 1) << ::testing::PrintToString(args);
    EXPECT_THAT(result.err, HasSubstr(kHistoryFileName)) << ::testing::PrintToString(args);
    EXPECT_EQ(ReadFileBytes(HistoryFile()), foreign) << ::testing::PrintToString(args);
  }
  EXPECT_FALSE(std::filesystem::exists(BackupFile()));
  EXPECT_THAT(Lines({"settings"}), ::testing::Contains("SxIni\t1"));
}

TEST_F(HistoryCliTest, AMissingDataFolderIsCreated) {
  const std::filesystem::path folder = cli_.root() / "new" / "folder";
  const CliResult result = cli_.RunRaw({"--dir", folder.string(), "next"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("已建立数据文件夹 " + folder.string()));
  EXPECT_TRUE(std::filesystem::exists(folder / kHistoryFileName));
  EXPECT_THAT(OutputLines(result.out), ElementsAre("next\t", "last\t"));
}

// A data folder that cannot be used and a file that cannot be looked at are
// told in Chinese, naming the path.
TEST_F(HistoryCliTest, PathFailuresNameThePath) {
  const std::filesystem::path file = cli_.root() / "plain";
  WriteFileBytes(file, "x");
  const std::filesystem::path loop = cli_.root() / "loop";
  std::filesystem::create_symlink(loop, loop);
  struct Case {
    std::vector<std::string> args;
    std::filesystem::path path;
    const char* reason;
  };
  for (const Case& c :
       {Case{{"--dir", file.string(), "next"}, file, "不是文件夹"},
        Case{{"--dir", (file / "sub").string(), "next"}, file / "sub", "无法建立数据文件夹"},
        Case{{"--dir", cli_.dataFolder().string(), "import", loop.string()}, loop, "符号链接"}}) {
    const CliResult result = cli_.RunRaw(c.args);
    EXPECT_EQ(result.exitStatus, 1) << c.reason;
    EXPECT_THAT(result.err, ::testing::AllOf(HasSubstr(c.path.string()), HasSubstr(c.reason)));
  }
}

TEST_F(HistoryCliTest, HelpSucceeds) {
  const CliResult result = cli_.RunRaw({"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  for (const char* command :
       {"settings", "import", "list", "next", "add", "delete-last", "delete-after", "clear"}) {
    EXPECT_THAT(result.out, HasSubstr(command));
  }
}

}  // namespace
}  // namespace zs
