// End-to-end runs of zephyrstat-cli's history commands, one table per
// situation: arguments, exit status, the whole of stdout and what stderr
// says. What the commands do to the history is the engine tests' part; these
// check the parsing, the exit codes, the streams and the printed lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings.h"
#include "store/history_store.h"
#include "tests/support/cli_runner.h"
#include "tests/support/stored_history.h"
#include "tests/support/test_draws.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using ::testing::HasSubstr;

const std::string kHeading = "期号\t第1码\t第2码\t第3码\t第4码\t第5码\t第6码\t第7码\t第8码\n";
const std::string kJsonColumns =
    R"({"columns":["期号","第1码","第2码","第3码","第4码","第5码","第6码","第7码","第8码"],)";

// Five issues across a day's end (84 draws a day, two-digit sequence).
const std::string kFiveIssues =
    "14011682  01 02 03 04 05 06 07 08\r\n"
    "14011683  02 03 04 05 06 07 08 09\r\n"
    "14011684  03 04 05 06 07 08 09 10\r\n"
    "14011701  04 05 06 07 08 09 10 11\r\n"
    "14011702  05 06 07 08 09 10 11 12\r\n";
const std::string kFiveIssueRows =
    "2014011682\t1\t2\t3\t4\t5\t6\t7\t8\n2014011683\t2\t3\t4\t5\t6\t7\t8\t9\n"
    "2014011684\t3\t4\t5\t6\t7\t8\t9\t10\n2014011701\t4\t5\t6\t7\t8\t9\t10\t11\n"
    "2014011702\t5\t6\t7\t8\t9\t10\t11\t12\n";

class HistoryCliTest : public ::testing::Test {
 protected:
  void ImportFiveIssues() { ASSERT_TRUE(ImportHistory(cli_, "0", kFiveIssues)); }
  std::string Input(const std::string& name, const std::string& text) const {
    WriteFileBytes(cli_.root() / name, text);
    return (cli_.root() / name).string();
  }
  std::vector<HistoryRow> StoredRows() const {
    return testing::StoredRows(*HistoryStore::OpenFolder(cli_.dataFolder()));
  }
  std::filesystem::path HistoryFile() const { return cli_.dataFolder() / kHistoryFileName; }
  std::filesystem::path BackupFile() const { return cli_.dataFolder() / "lsbf.txt"; }

  CliRunner cli_{ZS_CLI_PATH};
};

TEST_F(HistoryCliTest, AnEmptyHistory) {
  ExpectCliCases(cli_, {
                           {{"list"}, 0, kHeading},
                           {{"--json", "list"},
                            0,
                            kJsonColumns + R"("rows":[]})"
                                           "\n"},
                           {{"next"}, 0, "next\t\nlast\t\n"},
                           {{"--json", "next"},
                            0,
                            R"({"last":"","next":""})"
                            "\n"},
                           {{"delete-last"}, 0, "deleted\t0\nlast\t\n"},
                           {{"add", "1", "2", "3", "4", "5", "6", "7", "8"}, 1, ""},
                       });
}

TEST_F(HistoryCliTest, ImportPrintsItsCountsAndListShowsTheEditionsIssues) {
  const std::string lines =
      "14011601  01 02 03 04 05 06 07 08\r\nno numbers on this line\r\n"
      "14011602  09 10 11 12 13 14\r\n14011603  21 01 02 03 04 05 06 07\r\n";
  ExpectCliCases(
      cli_, {
                {{"import", Input("short.txt", lines)}, 0, "stored\t2\ninherited\t1\nskipped\t2\n"},
                // No edition chosen: issues of three digits.
                {{"--json", "import", Input("one.txt", "140116001 10 09 01 02 03 04 05 06\r\n")},
                 0,
                 R"({"inherited":"0","skipped":"0","stored":"1"})"
                 "\n"},
                {{"list"}, 0, kHeading + "20140116001\t10\t9\t1\t2\t3\t4\t5\t6\n"},
                {{"next"}, 0, "next\t20140116002\nlast\t20140116001\n"},
            });
}

TEST_F(HistoryCliTest, AMostlyUnreadableFileIsImportedOnlyWhenForced) {
  ImportFiveIssues();
  const std::string file =
      Input("random.txt", "14011601  01 02 03 04 05 06 07 08\r\n\x8f\xfe\x01\r\nnot a draw\r\n");
  const std::string before = ReadFileBytes(HistoryFile());
  ExpectCliCases(
      cli_,
      {{{"import", file}, 1, "", "中有 1 期历史号码，另有 2 个非空行无法读取；现有历史号码 5 期"}});
  EXPECT_THAT(cli_.Run({"import", file}).err, HasSubstr("--force"));
  EXPECT_TRUE(ReadFileBytes(HistoryFile()) == before);
  ExpectCliCases(cli_, {{{"import", "--force", file}, 0, "stored\t1\ninherited\t0\nskipped\t2\n"}});
}

// Every refusal: usage errors exit 2, refused values 1; nothing printed on
// stdout, the history file byte for byte as it was, no backup written.
TEST_F(HistoryCliTest, ReadingAndRefusedCommandsOnFiveIssues) {
  ImportFiveIssues();
  const std::string before = ReadFileBytes(HistoryFile());
  const auto add = [](const std::string& last) {
    return std::vector<std::string>{"add", "1", "2", "3", "4", "5", "6", "7", last};
  };
  ExpectCliCases(cli_,
                 {
                     {{"list"}, 0, kHeading + kFiveIssueRows},
                     {{"--json", "list"},
                      0,
                      kJsonColumns + R"("rows":[["2014011682","1","2","3","4","5","6","7","8"],)"
                                     R"(["2014011683","2","3","4","5","6","7","8","9"],)"
                                     R"(["2014011684","3","4","5","6","7","8","9","10"],)"
                                     R"(["2014011701","4","5","6","7","8","9","10","11"],)"
                                     R"(["2014011702","5","6","7","8","9","10","11","12"]]})"
                                     "\n"},
                     {{"next"}, 0, "next\t2014011703\nlast\t2014011702\n"},
                     {{"--json", "next"},
                      0,
                      R"({"last":"2014011702","next":"2014011703"})"
                      "\n"},
                     {{"delete-last", "0"}, 0, "deleted\t0\nlast\t2014011702\n"},
                     {{"delete-after", "0"}, 0, "deleted\t0\nlast\t2014011702\n"},
                     {add("21"), 1, ""},
                     {add("0"), 1, ""},
                     {add("99999999999"), 1, ""},
                     {add("1"), 1, ""},
                     {add("a"), 2, ""},
                     {add("8x"), 2, ""},
                     {add("3.5"), 2, ""},
                     {{"add", "1", "2", "3", "4", "5", "6", "7"}, 2, ""},
                     {{"add", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, 2, ""},
                     {{"delete-last", "abc"}, 2, ""},
                     {{"delete-last", "2", "3"}, 2, ""},
                     {{"delete-after", "abc"}, 2, ""},
                     {{"delete-after", "2014011683"}, 2, "", "ISSUE"},
                     {{"import", (cli_.root() / "missing.txt").string()}, 1, "", "missing.txt"},
                     {{"import", Input("empty.txt", "no draws here\r\n")}, 1, ""},
                     {{"import", cli_.root().string()}, 1, ""},
                     {{"import"}, 2, ""},
                     {{"no-such-command"}, 2, ""},
                     {{}, 2, ""},
                 });
  EXPECT_TRUE(ReadFileBytes(HistoryFile()) == before);
  EXPECT_FALSE(std::filesystem::exists(BackupFile()));
}

// `delete-last` alone deletes one draw directly; with a count it goes
// through lsbf.txt; `delete-after` warns of an issue that is not stored.
TEST_F(HistoryCliTest, ChangesPrintTheirResults) {
  ImportFiveIssues();
  ExpectCliCases(cli_, {
                           {{"add", "03", "07", "15", "08", "19", "20", "11", "14"},
                            0,
                            "stored\t2014011703\nnext\t2014011704\n"},
                           {{"delete-last"}, 0, "deleted\t1\nlast\t2014011702\n"},
                       });
  EXPECT_FALSE(std::filesystem::exists(BackupFile()));
  ExpectCliCases(cli_, {
                           {{"delete-last", "1"}, 0, "deleted\t1\nlast\t2014011701\n"},
                       });
  EXPECT_EQ(OutputLines(ReadFileBytes(BackupFile())).size(), 4u);
  ExpectCliCases(cli_, {
                           {{"delete-after", "14011690"},
                            0,
                            "deleted\t1\nlast\t2014011684\n",
                            "没有第 2014011690 期；删除了其后的 1 期"},
                           {{"delete-after", "14011683"}, 0, "deleted\t1\nlast\t2014011683\n"},
                           {{"clear"}, 0, "deleted\t2\nlast\t\n"},
                       });
}

TEST_F(HistoryCliTest, SettingsListSaveAndRefuse) {
  const std::vector<std::string> listed = OutputLines(cli_.Run({"settings"}).out);
  ASSERT_EQ(listed.size(), SettingKeys().size() + 1);
  EXPECT_EQ(listed[0], "键\t值");
  EXPECT_THAT(listed, ::testing::IsSupersetOf({"GsZl\t556", "bolZyw\ttrue", "intLei\t0", "DsIni\t1",
                                               "SxIni\t1", "BsIni\t1", "intZhWSetup\t2",
                                               "bolLdm\ttrue", "IniSerchDay\t6"}));
  ExpectCliCases(cli_, {
                           {{"settings", "IniSerchDay", "10"}, 0, "键\t值\nIniSerchDay\t10\n"},
                           {{"--json", "settings", "bolZyw", "False"},
                            0,
                            R"({"columns":["键","值"],"rows":[["bolZyw","false"]]})"
                            "\n"},
                           {{"settings", "IniSerchDay", "17"}, 1, ""},
                           {{"settings", "IniSerchDay", "ten"}, 1, ""},
                           {{"settings", "IniSerchDay"}, 2, "", "VALUE"},
                           {{"settings", "bolZyw", "maybe"}, 1, ""},
                           {{"settings", "SxIni", "2"}, 1, ""},
                           {{"settings", "NoSuchKey", "1"}, 1, "", "NoSuchKey"},
                       });
  EXPECT_THAT(OutputLines(cli_.Run({"settings"}).out),
              ::testing::IsSupersetOf({"IniSerchDay\t10", "bolZyw\tfalse", "SxIni\t1"}));
}

// A base setting re-derives the stored draws; a setting that cannot be saved
// is a failure that changes nothing.
TEST_F(HistoryCliTest, ABaseRederivesTheHistoryUnlessItCannotBeSaved) {
  ImportFiveIssues();
  const std::vector<HistoryRow> before = StoredRows();
  ExpectCliCases(cli_, {{{"settings", "SxIni", "0"}, 0, "键\t值\nSxIni\t0\n"}});
  EXPECT_NE(StoredRows(), before);
  ExpectCliCases(cli_, {{{"settings", "SxIni", "1"}, 0, "键\t值\nSxIni\t1\n"}});
  // The settings file's folder cannot be made: every save fails.
  std::filesystem::remove_all(cli_.root() / "config" / "Zephyrstat");
  WriteFileBytes(cli_.root() / "config" / "Zephyrstat", "not a folder");
  ExpectCliCases(cli_, {{{"settings", "SxIni", "0"}, 1, "", "设置未保存"},
                        {{"settings", "IniSerchDay", "9"}, 1, "", "设置未保存"}});
  EXPECT_EQ(StoredRows(), before);
}

// A delete of most draws compacts the file; neither a compaction nor an
// lsbf.txt that fails undoes it: both are warnings beside the result.
TEST_F(HistoryCliTest, ADeleteWhoseCompactionOrBackupFailsIsDoneWithAWarning) {
  const std::vector<Draw> draws = testing::EveryDrawOfTheDays({2014, 3, 1}, {2014, 3, 3}, true);
  ASSERT_TRUE(ImportHistory(cli_, "556", HistoryFileText(draws, true)));
  // Folders under the compacted copy's and the backup's names cannot be replaced.
  std::filesystem::create_directories(cli_.dataFolder() / kCompactFileName / "x");
  std::filesystem::create_directories(BackupFile() / "x");
  const CliResult result = cli_.Run({"delete-last", "200"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "deleted\t200\nlast\t20140301052\n");
  EXPECT_THAT(result.err, ::testing::AllOf(HasSubstr("暂未压缩"), HasSubstr("备份文件未更新")));
}

TEST_F(HistoryCliTest, AFileThatIsNotADatabaseIsNeverTouched) {
  const std::string foreign = "this is not a database\r\n";
  WriteFileBytes(HistoryFile(), foreign);
  const std::string input = Input("five.txt", kFiveIssues);
  std::vector<CliCase> cases;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"list"},
                                             {"next"},
                                             {"import", input},
                                             {"add", "1", "2", "3", "4", "5", "6", "7", "8"},
                                             {"delete-last"},
                                             {"delete-last", "2"},
                                             {"delete-after", "14011683"},
                                             {"clear"},
                                             {"settings", "SxIni", "0"}}) {
    cases.push_back({args, 1, "", kHistoryFileName});
  }
  ExpectCliCases(cli_, cases);
  EXPECT_EQ(ReadFileBytes(HistoryFile()), foreign);
  EXPECT_FALSE(std::filesystem::exists(BackupFile()));
  EXPECT_THAT(OutputLines(cli_.Run({"settings"}).out), ::testing::Contains("SxIni\t1"));
}

// A missing data folder is made and said so; one that cannot be used and a
// file that cannot be looked at are told in Chinese, naming the path.
TEST_F(HistoryCliTest, DataFolderAndPathFailures) {
  const std::filesystem::path made = cli_.root() / "new" / "folder";
  const CliResult result = cli_.RunRaw({"--dir", made.string(), "next"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("已建立数据文件夹 " + made.string()));
  EXPECT_EQ(result.out, "next\t\nlast\t\n");
  EXPECT_TRUE(std::filesystem::exists(made / kHistoryFileName));

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
    const CliResult failed = cli_.RunRaw(c.args);
    EXPECT_EQ(failed.exitStatus, 1) << c.reason;
    EXPECT_THAT(failed.err, ::testing::AllOf(HasSubstr(c.path.string()), HasSubstr(c.reason)));
  }
}

TEST_F(HistoryCliTest, HelpNamesEveryCommand) {
  const CliResult result = cli_.RunRaw({"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  for (const char* command :
       {"settings", "import", "list", "next", "add", "delete-last", "delete-after", "clear"}) {
    EXPECT_THAT(result.out, HasSubstr(command));
  }
}

}  // namespace
}  // namespace zs
