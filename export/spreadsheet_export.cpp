#include "export/spreadsheet_export.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"

namespace zs {
namespace {

// How often the progress callback hears from a long export.
constexpr size_t kProgressRows = 4096;
constexpr size_t kStreamBufferBytes = size_t{1} << 20;

// Frees the workbook if it was never closed (an early error).
struct WorkbookCloser {
  lxw_workbook* workbook;
  ~WorkbookCloser() {
    if (workbook != nullptr) lxw_workbook_free(workbook);
  }
};

void WriteRow(lxw_worksheet* sheet, lxw_row_t sheetRow, size_t columns, const auto& cellOf,
              std::string& buffer, const std::filesystem::path& file) {
  for (size_t column = 0; column < columns; ++column) {
    // libxlsxwriter takes NUL-terminated texts; grid cells are views.
    buffer.assign(cellOf(column));
    // Always a text cell, never a number, so "05" stays "05".
    const lxw_error error = worksheet_write_string(sheet, sheetRow, static_cast<lxw_col_t>(column),
                                                   buffer.c_str(), nullptr);
    if (error != LXW_NO_ERROR) {
      throw StoreError("无法写入 " + file.string() + "：" + lxw_strerror(error));
    }
  }
}

}  // namespace

void WriteSpreadsheet(const GridSource& grid, const std::filesystem::path& file,
                      const ExportProgress& progress) {
  const size_t rows = grid.RowCount() + 1;  // the heading row is sheet row 1
  const size_t columns = grid.ColumnCount();
  if (rows > LXW_ROW_MAX || columns > LXW_COL_MAX) {
    throw StoreError("无法写入 " + file.string() + "：表格超过电子表格的行列上限");
  }

  FileReplacement replacement(file);
  // Constant-memory mode streams each row to a temporary file, so a history
  // of any length costs the same memory; rows must then go in order.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.use_zip64 = LXW_TRUE;
  // Its own temporary files go beside the target too, so one disk's free
  // space decides whether the export can succeed.
  std::string folder = file.parent_path().empty() ? "." : file.parent_path().string();
  options.tmpdir = folder.data();
  const std::string temporary = replacement.temporary().string();
  // The rows reach the temporary file as many small formatted writes; a
  // large stream buffer turns them into few system calls. It outlives the
  // workbook, whose closing flushes the stream.
  std::vector<char> streamBuffer(kStreamBufferBytes);
  errno = 0;
  WorkbookCloser closer{workbook_new_opt(temporary.c_str(), &options)};
  if (closer.workbook == nullptr) replacement.Fail(errno != 0 ? errno : ENOMEM);
  lxw_worksheet* sheet = workbook_add_worksheet(closer.workbook, "Sheet1");
  if (sheet == nullptr) replacement.Fail(errno != 0 ? errno : ENOMEM);
  std::setvbuf(sheet->optimize_tmpfile, streamBuffer.data(), _IOFBF, streamBuffer.size());

  std::string buffer;
  std::string scratch;
  const auto& headings = grid.Headings();
  WriteRow(
      sheet, 0, columns, [&](size_t c) -> const std::string& { return headings[c]; }, buffer, file);
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    WriteRow(
        sheet, static_cast<lxw_row_t>(row + 1), columns,
        [&](size_t c) { return grid.CellText(row, c, scratch); }, buffer, file);
    if (progress && (row + 1) % kProgressRows == 0 && row + 1 < grid.RowCount()) {
      progress(row + 1, grid.RowCount());
    }
  }
  if (progress) progress(grid.RowCount(), grid.RowCount());

  // In constant-memory mode libxlsxwriter streams the rows to a temporary
  // file without checking the writes, so a disk that fills up would yield a
  // truncated but well-formed workbook. Its stream keeps the error: check it
  // before the workbook is assembled from it.
  errno = 0;
  if (std::fflush(sheet->optimize_tmpfile) != 0 || std::ferror(sheet->optimize_tmpfile)) {
    replacement.Fail(errno != 0 ? errno : EIO);
  }

  errno = 0;
  const lxw_error closed = workbook_close(closer.workbook);
  closer.workbook = nullptr;  // workbook_close frees it whatever the outcome
  if (closed != LXW_NO_ERROR) {
    // libxlsxwriter's own codes do not tell a full disk from other faults.
    const int error = errno;
    if (error == ENOSPC || error == EDQUOT || error == EFBIG) replacement.Fail(error);
    throw StoreError("无法写入 " + file.string() + "：" + lxw_strerror(closed));
  }
  replacement.Commit();
}

}  // namespace zs
