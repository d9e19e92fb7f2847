// Writes a grid to a spreadsheet file: an Office Open XML workbook whose
// sheet "Sheet1" holds every cell of the grid, the heading row included, grid
// cell (r, c) at sheet row r + 1, column c + 1 (counted from 1; the heading
// row is grid row 0). A cell that reads as a plain decimal number (an
// optional minus, no leading zero, at most 15 digits: counts, omissions,
// issues, ratios) is written as that number, a percentage ("39.07%") as its
// fraction (0.3907) with the format "0.00%", and every other cell ("01",
// "猴", "5:3") as its text exactly as the grid shows it.
//
// The workbook is written beside the target and renamed over it, so an
// existing file is replaced whole or, when writing fails, left as it was.
#ifndef ZEPHYRSTAT_EXPORT_SPREADSHEET_EXPORT_H_
#define ZEPHYRSTAT_EXPORT_SPREADSHEET_EXPORT_H_

#include <cstddef>
#include <filesystem>
#include <functional>

#include "core/grid_source.h"

namespace zs {

// File names in the data folder, by the grid they hold.
inline constexpr const char* kHistorySheetName = "lishi.xls";      // history grid
inline constexpr const char* kHitsSheetName = "Jiansuo.xls";       // hit list
inline constexpr const char* kResultSheetName = "Jieguo.xls";      // summary or omission table
inline constexpr const char* kStatisticsSheetName = "Tongji.xls";  // box statistics
inline constexpr const char* kTrendSheetName = "Zoushi.xls";       // trend grid

// Called now and then with the rows written so far and the total, the last
// time with (total, total) once every row is written. Packing the rows into
// the workbook follows and takes about as long again, without further calls.
using ExportProgress = std::function<void(size_t rowsDone, size_t rowsTotal)>;

// Throws StoreError when the workbook cannot be written.
void WriteSpreadsheet(const GridSource& grid, const std::filesystem::path& file,
                      const ExportProgress& progress = {});

}  // namespace zs

#endif  // ZEPHYRSTAT_EXPORT_SPREADSHEET_EXPORT_H_
