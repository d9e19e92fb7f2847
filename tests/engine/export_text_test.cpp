#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/text_export.h"
#include "core/errors.h"
#include "core/grid.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using testing::TempFolder;

Grid HistoryGridOf(const std::vector<std::vector<std::string>>& rows) {
  Grid grid({"期号", "第1码", "第2码", "第3码", "第4码", "第5码", "第6码", "第7码", "第8码"});
  for (const auto& row : rows) grid.AddRow(row);
  return grid;
}

TEST(HistoryTextFileNameTest, HoldsTheStoredIssueDigits) {
  EXPECT_EQ(HistoryTextFileName("14011601"), "更新至14011601期历史号码.txt");
  // An issue of 2009 keeps its leading zero; the three-digit form has nine digits.
  EXPECT_EQ(HistoryTextFileName("09123101"), "更新至09123101期历史号码.txt");
  EXPECT_EQ(HistoryTextFileName("140116001"), "更新至140116001期历史号码.txt");
}

struct LinesCase {
  const char* name;
  std::vector<std::vector<std::string>> rows;
  std::string newest;
  std::string expected;
};

class HistoryTextLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(HistoryTextLinesTest, WritesOneCrLfLinePerRow) {
  const LinesCase& c = GetParam();
  TempFolder folder;
  const auto file = WriteHistoryText(HistoryGridOf(c.rows), c.newest, folder.path());

  EXPECT_EQ(file, folder / HistoryTextFileName(c.newest));
  EXPECT_EQ(ReadFileBytes(file), c.expected);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{HistoryTextFileName(c.newest)});
}

INSTANTIATE_TEST_SUITE_P(
    Histories, HistoryTextLinesTest,
    ::testing::Values(LinesCase{"OneRowWithOneDigitNumbers",
                                {{"2014011601", "3", "7", "15", "8", "19", "20", "11", "14"}},
                                "14011601",
                                "2014011601 03 07 15 08 19 20 11 14 \r\n"},
                      LinesCase{"SeveralRowsInGridOrder",
                                {{"2009123184", "1", "2", "3", "4", "5", "6", "7", "8"},
                                 {"2010010101", "20", "19", "18", "17", "16", "15", "14", "13"}},
                                "10010101",
                                "2009123184 01 02 03 04 05 06 07 08 \r\n"
                                "2010010101 20 19 18 17 16 15 14 13 \r\n"},
                      LinesCase{"ThreeDigitIssues",
                                {{"20140116001", "10", "9", "1", "2", "3", "4", "5", "6"}},
                                "140116001",
                                "20140116001 10 09 01 02 03 04 05 06 \r\n"},
                      // Cells that already carry two digits stay as they are.
                      LinesCase{"AlreadyTwoDigits",
                                {{"2014011601", "05", "07", "15", "08", "19", "20", "11", "14"}},
                                "14011601",
                                "2014011601 05 07 15 08 19 20 11 14 \r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(HistoryTextExportTest, SameIssueRewritesTheFileAndANewDrawAddsASecondFile) {
  TempFolder folder;
  std::vector<std::vector<std::string>> rows = {
      {"2014011601", "3", "7", "15", "8", "19", "20", "11", "14"}};
  const auto first = WriteHistoryText(HistoryGridOf(rows), "14011601", folder.path());
  const std::string firstText = ReadFileBytes(first);
  EXPECT_EQ(WriteHistoryText(HistoryGridOf(rows), "14011601", folder.path()), first);
  EXPECT_EQ(ReadFileBytes(first), firstText);

  rows.push_back({"2014011602", "1", "2", "3", "4", "5", "6", "7", "8"});
  const auto second = WriteHistoryText(HistoryGridOf(rows), "14011602", folder.path());

  EXPECT_EQ(second, folder / "更新至14011602期历史号码.txt");
  EXPECT_EQ(ReadFileBytes(first), firstText);
  EXPECT_EQ(ReadFileBytes(second), firstText + "2014011602 01 02 03 04 05 06 07 08 \r\n");
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"更新至14011601期历史号码.txt",
                                                     "更新至14011602期历史号码.txt"}));
}

TEST(HistoryTextExportTest, EmptyHistoryWritesNoFile) {
  TempFolder folder;
  EXPECT_THROW(WriteHistoryText(HistoryGridOf({}), "", folder.path()), InputError);
  EXPECT_THROW(WriteHistoryText(HistoryGridOf({}), "14011601", folder.path()), InputError);
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(HistoryTextExportTest, RefusesAGridThatIsNotTheHistory) {
  TempFolder folder;
  Grid statistics({"号码", "最小遗漏", "最大遗漏"});
  statistics.AddRow({"01 02 ", "0", "35"});
  EXPECT_THROW(WriteHistoryText(statistics, "14011601", folder.path()), InputError);
  EXPECT_THROW(
      WriteHistoryText(HistoryGridOf({{"2014011601", "3", "x", "15", "8", "19", "20", "11", "14"}}),
                       "14011601", folder.path()),
      InputError);
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(HistoryTextExportTest, UnwritableTargetKeepsTheOldFile) {
  TempFolder folder;
  const std::string name = HistoryTextFileName("14011601");
  const Grid grid = HistoryGridOf({{"2014011601", "3", "7", "15", "8", "19", "20", "11", "14"}});

  EXPECT_THROW(WriteHistoryText(grid, "14011601", folder / "absent"), StoreError);
  // A folder in the way of the file: the rename fails, the folder stays.
  std::filesystem::create_directory(folder / name);
  WriteFileBytes(folder / name / "keep", "x");
  EXPECT_THROW(WriteHistoryText(grid, "14011601", folder.path()), StoreError);
  EXPECT_EQ(ReadFileBytes(folder / name / "keep"), "x");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{name});
}

}  // namespace
}  // namespace zs
