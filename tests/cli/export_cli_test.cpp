// End-to-end runs of zephyrstat-cli's export commands, each test in its own
// temporary data folder and settings store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"
#include "tests/support/workbook_reader.h"

namespace zs {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kHeading = {"期号",  "第1码", "第2码", "第3码", "第4码",
                                           "第5码", "第6码", "第7码", "第8码"};

const std::string kThreeIssues =
    "14011683  02 03 04 05 06 07 08 09\r\n"
    "14011684  03 04 05 06 07 08 09 10\r\n"
    "14011701  04 05 06 07 08 09 10 11\r\n";

class ExportCliTest : public ::testing::Test {
 protected:
  CliResult Run(const std::vector<std::string>& args) { return cli_.Run(args); }

  void Import(const std::string& text, const std::string& edition) {
    ASSERT_TRUE(ImportHistory(cli_, edition, text));
  }

  // Runs an export that must succeed and returns the path it printed.
  std::filesystem::path Export(const std::string& command) {
    const CliResult result = Run({command});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::vector<std::string> lines = OutputLines(result.out);
    EXPECT_EQ(lines.size(), 1u) << result.out;
    return lines.empty() ? std::filesystem::path() : std::filesystem::path(lines.front());
  }

  std::filesystem::path Data(const std::string& name) const { return cli_.dataFolder() / name; }

  CliRunner cli_{ZS_CLI_PATH};
};

TEST_F(ExportCliTest, TextExportWritesTheHistoryUnderTheNewestIssue) {
  Import(kThreeIssues, "0");
  const std::filesystem::path file = Export("export-text");

  EXPECT_EQ(file, Data("更新至14011701期历史号码.txt"));
  EXPECT_EQ(ReadFileBytes(file),
            "2014011683 02 03 04 05 06 07 08 09 \r\n"
            "2014011684 03 04 05 06 07 08 09 10 \r\n"
            "2014011701 04 05 06 07 08 09 10 11 \r\n");
}

TEST_F(ExportCliTest, TextExportOfThreeDigitIssues) {
  Import("140116001 10 09 01 02 03 04 05 06\r\n", "556");
  const std::filesystem::path file = Export("export-text");

  EXPECT_EQ(file, Data("更新至140116001期历史号码.txt"));
  EXPECT_EQ(ReadFileBytes(file), "20140116001 10 09 01 02 03 04 05 06 \r\n");
}

TEST_F(ExportCliTest, NewDrawGivesASecondTextFileAndKeepsTheFirst) {
  Import(kThreeIssues, "0");
  const std::filesystem::path first = Export("export-text");
  const std::string firstText = ReadFileBytes(first);
  ASSERT_EQ(Run({"add", "1", "2", "3", "4", "5", "6", "7", "20"}).exitStatus, 0);
  const std::filesystem::path second = Export("export-text");

  EXPECT_EQ(second, Data("更新至14011702期历史号码.txt"));
  EXPECT_EQ(ReadFileBytes(first), firstText);
  EXPECT_EQ(ReadFileBytes(second), firstText + "2014011702 01 02 03 04 05 06 07 20 \r\n");
}

TEST_F(ExportCliTest, TextExportOfAnEmptyHistoryFailsAndWritesNothing) {
  const CliResult result = Run({"export-text"});

  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr("没有历史号码"));
  EXPECT_TRUE(result.out.empty());
  for (const auto& entry : std::filesystem::directory_iterator(cli_.dataFolder())) {
    EXPECT_NE(entry.path().extension(), ".txt") << entry.path();
  }
}

TEST_F(ExportCliTest, SheetExportWritesTheHistoryGridToLishi) {
  Import(kThreeIssues, "0");
  const std::filesystem::path file = Export("export-sheet");

  EXPECT_EQ(file, Data("lishi.xls"));
  const auto book = testing::ReadWorkbook(file);
  EXPECT_THAT(book.sheetNames, ElementsAre("Sheet1"));
  EXPECT_EQ(book.Extent(), std::make_pair(4, 9));
  EXPECT_EQ(book.Rows(4, 9), (Rows{kHeading,
                                   {"2014011683", "2", "3", "4", "5", "6", "7", "8", "9"},
                                   {"2014011684", "3", "4", "5", "6", "7", "8", "9", "10"},
                                   {"2014011701", "4", "5", "6", "7", "8", "9", "10", "11"}}));
  EXPECT_FALSE(std::filesystem::exists(Data("Jiansuo.xls")));
  EXPECT_FALSE(std::filesystem::exists(Data("Jieguo.xls")));
}

TEST_F(ExportCliTest, SheetExportOfAnEmptyHistoryHoldsTheHeadingRow) {
  const std::filesystem::path file = Export("export-sheet");

  const auto book = testing::ReadWorkbook(file);
  EXPECT_EQ(book.Extent(), std::make_pair(1, 9));
  EXPECT_EQ(book.Rows(1, 9), Rows{kHeading});
}

TEST_F(ExportCliTest, JsonNamesThePath) {
  Import(kThreeIssues, "0");
  const CliResult result = Run({"--json", "export-sheet"});

  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.out, ::testing::StrEq("{\"path\":\"" + Data("lishi.xls").string() + "\"}\n"));
}

TEST_F(ExportCliTest, SheetExportFailureSaysWhyAndKeepsWhatWasThere) {
  Import(kThreeIssues, "0");
  std::filesystem::create_directory(Data("lishi.xls"));
  const CliResult result = Run({"export-sheet"});

  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr("lishi.xls"));
  EXPECT_TRUE(std::filesystem::is_directory(Data("lishi.xls")));
}

}  // namespace
}  // namespace zs
