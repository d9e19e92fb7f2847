// End-to-end runs of zephyrstat-cli's export commands: the path each prints,
// the exit status and message of a failure, and that the file holds the
// history as the edition shows it. What the exports write is the engine
// tests' part.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"
#include "tests/support/workbook_reader.h"

namespace zs {
namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kHeading = {"期号",  "第1码", "第2码", "第3码", "第4码",
                                           "第5码", "第6码", "第7码", "第8码"};

class ExportCliTest : public ::testing::Test {
 protected:
  std::string Data(const std::string& name) const { return (cli_.dataFolder() / name).string(); }

  CliRunner cli_{ZS_CLI_PATH};
};

TEST_F(ExportCliTest, EachExportPrintsThePathItWrote) {
  ASSERT_TRUE(ImportHistory(cli_, "0",
                            "14011683  02 03 04 05 06 07 08 09\r\n"
                            "14011684  03 04 05 06 07 08 09 10\r\n"));
  const std::string text = Data("更新至14011684期历史号码.txt");
  ExpectCliCases(cli_,
                 {{{"export-text"}, 0, text + "\n"},
                  {{"export-sheet"}, 0, Data("lishi.xls") + "\n"},
                  {{"--json", "export-sheet"}, 0, R"({"path":")" + Data("lishi.xls") + "\"}\n"}});
  EXPECT_EQ(ReadFileBytes(text),
            "2014011683 02 03 04 05 06 07 08 09 \r\n"
            "2014011684 03 04 05 06 07 08 09 10 \r\n");
  const auto book = testing::ReadWorkbook(Data("lishi.xls"));
  EXPECT_THAT(book.sheetNames, ::testing::ElementsAre("Sheet1"));
  EXPECT_EQ(book.Extent(), std::make_pair(3, 9));
  EXPECT_EQ(book.Rows(3, 9), (Rows{kHeading,
                                   {"2014011683", "2", "3", "4", "5", "6", "7", "8", "9"},
                                   {"2014011684", "3", "4", "5", "6", "7", "8", "9", "10"}}));
  EXPECT_FALSE(std::filesystem::exists(Data("Jiansuo.xls")));
  EXPECT_FALSE(std::filesystem::exists(Data("Jieguo.xls")));

  // Three-digit issues name the text file and its lines so.
  ASSERT_TRUE(ImportHistory(cli_, "556", "140116001 10 09 01 02 03 04 05 06\r\n"));
  const std::string threeDigit = Data("更新至140116001期历史号码.txt");
  ExpectCliCases(cli_, {{{"export-text"}, 0, threeDigit + "\n"}});
  EXPECT_EQ(ReadFileBytes(threeDigit), "20140116001 10 09 01 02 03 04 05 06 \r\n");
}

// An empty history writes no text file but a sheet of the heading row; a
// sheet that cannot be written is a failure naming the file.
TEST_F(ExportCliTest, AnEmptyHistoryAndAFailure) {
  ExpectCliCases(cli_, {{{"export-text"}, 1, "", "没有历史号码"},
                        {{"export-sheet"}, 0, Data("lishi.xls") + "\n"}});
  for (const auto& entry : std::filesystem::directory_iterator(cli_.dataFolder())) {
    EXPECT_NE(entry.path().extension(), ".txt") << entry.path();
  }
  EXPECT_EQ(testing::ReadWorkbook(Data("lishi.xls")).Rows(1, 9), Rows{kHeading});

  std::filesystem::remove(Data("lishi.xls"));
  std::filesystem::create_directory(Data("lishi.xls"));
  ExpectCliCases(cli_, {{{"export-sheet"}, 1, "", "lishi.xls"}});
  EXPECT_TRUE(std::filesystem::is_directory(Data("lishi.xls")));
}

}  // namespace
}  // namespace zs
