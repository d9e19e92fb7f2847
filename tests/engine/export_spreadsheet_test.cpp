#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/grid.h"
#include "export/spreadsheet_export.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"
#include "tests/support/workbook_reader.h"

namespace zs {
namespace {

using ::testing::ElementsAre;
using testing::ReadWorkbook;
using testing::TempFolder;

using Rows = std::vector<std::vector<std::string>>;

Grid GridOf(const Rows& rows) {
  Grid grid(rows.front());
  for (size_t r = 1; r < rows.size(); ++r) grid.AddRow(rows[r]);
  return grid;
}

Rows HistoryRows() {
  return {{"期号", "第1码", "第2码", "第3码", "第4码", "第5码", "第6码", "第7码", "第8码"},
          {"2014011601", "3", "7", "15", "8", "19", "20", "11", "14"},
          {"2014011602", "05", "1", "2", "4", "6", "9", "10", "12"}};
}

struct SheetCase {
  const char* name;
  Rows rows;
};

class SheetLayoutTest : public ::testing::TestWithParam<SheetCase> {};

// Every grid cell lands at (r + 1, c + 1), the heading row included, and
// nothing is written outside the grid's rectangle.
TEST_P(SheetLayoutTest, CopiesEveryCellInPlace) {
  const Rows& rows = GetParam().rows;
  TempFolder folder;
  WriteSpreadsheet(GridOf(rows), folder / "Jieguo.xls");

  const auto book = ReadWorkbook(folder / "Jieguo.xls");
  EXPECT_THAT(book.sheetNames, ElementsAre("Sheet1"));
  const int rowCount = static_cast<int>(rows.size());
  const int columnCount = static_cast<int>(rows.front().size());
  EXPECT_EQ(book.Extent(), std::make_pair(rowCount, columnCount));
  EXPECT_EQ(book.Rows(rowCount, columnCount), rows);
  EXPECT_EQ(book.cells.size(), static_cast<size_t>(rowCount * columnCount));
}

INSTANTIATE_TEST_SUITE_P(
    Grids, SheetLayoutTest,
    ::testing::Values(
        SheetCase{"HeadingOnly", {HistoryRows().front()}}, SheetCase{"History", HistoryRows()},
        // A statistics grid of 5 columns and n + 1 rows fills A1 to E(n + 1).
        SheetCase{"Statistics",
                  {{"号码", "最小遗漏", "最大遗漏", "当前遗漏", "比值"},
                   {"01 02 ", "0", "35", "12", "2.92"},
                   {"01 03 ", "1", "40", "40", "1"},
                   {"02 03 ", "32767", "32767", "7", "4681"}}},
        // Leading zeros, blanks at either end and XML's special characters
        // survive unchanged.
        SheetCase{"AwkwardTexts",
                  {{"a", "b", "c"}, {"007", " 1 ", "<&>\"'"}, {"1E3", "-", "1X05 2X07 "}}},
        SheetCase{"WideBeyondZ",
                  {std::vector<std::string>(30, "h"), std::vector<std::string>(30, "v")}}),
    [](const auto& info) { return info.param.name; });

// The kind of every cell as a spreadsheet program reads it (openpyxl, from
// Debian's python3): numbers where the text is a plain decimal number,
// percentages as fractions with a percent format, everything else text.
TEST(SpreadsheetExportTest, NumbersAndPercentagesAreNumbers) {
  const struct {
    std::string text;
    std::string read;  // openpyxl: type, value, number format
  } cases[] = {
      {"12", "n 12 General"},
      {"0", "n 0 General"},
      {"2.50", "n 2.5 General"},
      {"-0.05", "n -0.05 General"},
      {"2014011601", "n 2014011601 General"},
      {"39.07%", "n 0.3907 0.00%"},
      {"100.00%", "n 1 0.00%"},
      {"01", "s '01' General"},
      {"猴", "s '猴' General"},
      {"5:3", "s '5:3' General"},
      {"30-39", "s '30-39' General"},
      {"1E3", "s '1E3' General"},
      {" 1 ", "s ' 1 ' General"},
      {"3.", "s '3.' General"},
      {".5", "s '.5' General"},
      {"-", "s '-' General"},
      {"%", "s '%' General"},
      {"05%", "s '05%' General"},
      {"1234567890123456", "s '1234567890123456' General"},
  };
  std::vector<std::string> texts;
  for (const auto& c : cases) texts.push_back(c.text);
  TempFolder folder;
  Grid grid({"值"});
  for (const auto& c : cases) grid.AddRow({c.text});
  WriteSpreadsheet(grid, folder / "Tongji.xls");

  const std::string command =
      "/usr/bin/python3 -c \"import sys, openpyxl\n"
      "sheet = openpyxl.load_workbook(open(sys.argv[1], 'rb')).active\n"
      "for (cell,) in sheet.iter_rows(min_row=2):\n"
      "    print(cell.data_type, repr(cell.value), cell.number_format)\" '" +
      (folder / "Tongji.xls").string() + "'";
  FILE* reader = popen(command.c_str(), "r");
  ASSERT_NE(reader, nullptr);
  std::vector<std::string> lines;
  char line[256];
  while (std::fgets(line, sizeof line, reader) != nullptr) {
    lines.emplace_back(line, std::strcspn(line, "\n"));
  }
  ASSERT_EQ(pclose(reader), 0) << "python3-openpyxl could not read the workbook";
  ASSERT_EQ(lines.size(), std::size(cases));
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], cases[i].read) << cases[i].text;
}

TEST(SpreadsheetExportTest, ExportingTwiceReplacesTheWholeFile) {
  TempFolder folder;
  const auto file = folder / "lishi.xls";
  WriteSpreadsheet(GridOf(HistoryRows()), file);
  const Rows smaller = {{"期号", "第1码"}, {"2014011603", "9"}};
  WriteSpreadsheet(GridOf(smaller), file);

  const auto book = ReadWorkbook(file);
  EXPECT_THAT(book.sheetNames, ElementsAre("Sheet1"));
  EXPECT_EQ(book.Extent(), std::make_pair(2, 2));
  EXPECT_EQ(book.Rows(2, 2), smaller);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"lishi.xls"});  // no temporary left
}

TEST(SpreadsheetExportTest, EachGridWritesOnlyItsOwnFile) {
  TempFolder folder;
  WriteFileBytes(folder / kHistorySheetName, "old history workbook");
  WriteSpreadsheet(GridOf({{"期号"}, {"2014011601"}}), folder / kHitsSheetName);
  WriteSpreadsheet(GridOf({{"最小遗漏"}, {"3"}}), folder / kResultSheetName);

  EXPECT_EQ(ReadFileBytes(folder / kHistorySheetName), "old history workbook");
  EXPECT_EQ(ReadWorkbook(folder / kHitsSheetName).Rows(2, 1), (Rows{{"期号"}, {"2014011601"}}));
  EXPECT_EQ(ReadWorkbook(folder / kResultSheetName).Rows(2, 1), (Rows{{"最小遗漏"}, {"3"}}));
  EXPECT_EQ(folder.Entries(),
            (std::set<std::string>{kHistorySheetName, kHitsSheetName, kResultSheetName}));
}

TEST(SpreadsheetExportTest, ReportsEveryRowWrittenOnceBeforePackingTheWorkbook) {
  Grid grid({"n"});
  for (int i = 0; i < 10000; ++i) grid.AddRow({std::to_string(i)});
  std::vector<std::pair<size_t, size_t>> calls;
  TempFolder folder;
  const std::filesystem::path file = folder / "lishi.xls";
  bool workbookExistedWhenAllRowsWereReported = false;
  WriteSpreadsheet(grid, file, [&](size_t done, size_t total) {
    calls.emplace_back(done, total);
    if (done == total) workbookExistedWhenAllRowsWereReported = std::filesystem::exists(file);
  });

  ASSERT_GE(calls.size(), 2u);
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GT(calls[i].first, calls[i - 1].first);
  EXPECT_EQ(calls.back(), std::make_pair(size_t{10000}, size_t{10000}));
  EXPECT_FALSE(workbookExistedWhenAllRowsWereReported);
  EXPECT_TRUE(std::filesystem::exists(file));
}

// Runs `body` in a child process (to drop privileges or lower limits without
// touching this process) and returns its exit status.
int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

constexpr int kThrewStoreError = 3;

int ExportExpectingStoreError(const Grid& grid, const std::filesystem::path& file) {
  try {
    WriteSpreadsheet(grid, file);
    return 0;
  } catch (const StoreError&) {
    return kThrewStoreError;
  } catch (...) {
    return 4;
  }
}

Grid NoisyGrid(int rows) {
  // Varied texts, so the compressed workbook stays large.
  Grid grid({"a", "b"});
  uint32_t state = 12345;
  for (int i = 0; i < rows; ++i) {
    state = state * 1103515245 + 12345;
    grid.AddRow({std::to_string(state), std::to_string(state ^ 0x5bd1e995)});
  }
  return grid;
}

// The old workbook is still there and alone: no temporary was left behind.
void ExpectOnlyTheOldFile(const TempFolder& folder) {
  EXPECT_EQ(ReadFileBytes(folder / "lishi.xls"), "old");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"lishi.xls"});
}

TEST(SpreadsheetExportFailureTest, UnwritableFolderKeepsTheOldFile) {
  TempFolder folder;
  WriteFileBytes(folder / "lishi.xls", "old");
  std::filesystem::permissions(folder.path(), std::filesystem::perms(0555));
  const int status = RunInChild([&] {
    // The superuser writes anywhere; an ordinary account meets the folder's mode.
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 5;
    return ExportExpectingStoreError(GridOf(HistoryRows()), folder / "lishi.xls");
  });
  std::filesystem::permissions(folder.path(), std::filesystem::perms(0755));

  EXPECT_EQ(status, kThrewStoreError);
  ExpectOnlyTheOldFile(folder);
}

TEST(SpreadsheetExportFailureTest, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  TempFolder folder;
  WriteFileBytes(folder / "lishi.xls", "old");
  const Grid grid = NoisyGrid(20000);
  // A file size limit makes writes fail as a full disk does.
  const int status = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 5;
    return ExportExpectingStoreError(grid, folder / "lishi.xls");
  });

  EXPECT_EQ(status, kThrewStoreError);
  ExpectOnlyTheOldFile(folder);
}

TEST(SpreadsheetExportFailureTest, GridBeyondTheSheetLimitWritesNothing) {
  TempFolder folder;
  WriteFileBytes(folder / "lishi.xls", "old");
  Grid grid({"n"});
  for (int i = 0; i < 1048576; ++i) grid.AddCell("1");  // plus the heading row: one too many

  EXPECT_THROW(WriteSpreadsheet(grid, folder / "lishi.xls"), StoreError);
  ExpectOnlyTheOldFile(folder);
}

TEST(SpreadsheetExportFailureTest, MissingFolderOrFolderInTheWay) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "Jieguo.xls");
  WriteFileBytes(folder / "Jieguo.xls" / "keep", "x");

  EXPECT_THROW(WriteSpreadsheet(GridOf(HistoryRows()), folder / "absent" / "lishi.xls"),
               StoreError);
  EXPECT_THROW(WriteSpreadsheet(GridOf(HistoryRows()), folder / "Jieguo.xls"), StoreError);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"Jieguo.xls"});
  EXPECT_EQ(ReadFileBytes(folder / "Jieguo.xls" / "keep"), "x");
}

TEST(SpreadsheetExportFailureTest, MessageNamesTheFileAndTheReason) {
  TempFolder folder;
  try {
    WriteSpreadsheet(GridOf(HistoryRows()), folder / "absent" / "lishi.xls");
    FAIL() << "no error";
  } catch (const StoreError& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr("lishi.xls"));
    EXPECT_THAT(error.what(), ::testing::HasSubstr("文件夹不存在"));
  }
}

}  // namespace
}  // namespace zs
