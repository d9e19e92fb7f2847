// Reads back a workbook written by the spreadsheet export, for tests: the
// sheet names of xl/workbook.xml and every cell of the first worksheet
// (xl/worksheets/sheet1.xml), inline and shared strings alike. It unpacks the
// file with the `unzip` command, so the check does not trust the writer's
// own library.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_WORKBOOK_READER_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_WORKBOOK_READER_H_

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zs::testing {

struct SheetCell {
  std::string text;
  bool isText = false;  // stored as a string, not as a number
};

struct WorkbookContents {
  std::vector<std::string> sheetNames;
  // Cells of the first worksheet by reference ("A1", "E6", …).
  std::map<std::string, SheetCell> cells;

  // The texts of rows 1..rowCount, columns 1..columnCount; absent cells "".
  std::vector<std::vector<std::string>> Rows(int rowCount, int columnCount) const;
  // The bottom-right corner of the written cells as (rows, columns).
  std::pair<int, int> Extent() const;
};

// Fails the calling test (and returns empty contents) when the file is not
// a readable zip archive with those parts.
WorkbookContents ReadWorkbook(const std::filesystem::path& file);

// "A" for column 1, "AA" for 27.
std::string ColumnLetters(int column);

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_WORKBOOK_READER_H_
