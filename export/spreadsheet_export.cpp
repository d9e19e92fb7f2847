#include "export/spreadsheet_export.h"

#include <xlsxwriter.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
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

// More significant digits than a double keeps exactly: such a cell stays text.
constexpr size_t kMaxNumberDigits = 15;

// The value of a cell that reads as a plain decimal number: an optional
// minus, a whole part without a leading zero ("0" itself allowed), an
// optional fraction. nullopt for anything else, so "05", "5:3" and "1E3"
// stay texts.
std::optional<double> PlainNumber(std::string_view text) {
  size_t at = text.starts_with('-') ? 1 : 0;
  const size_t wholeStart = at;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  const size_t wholeDigits = at - wholeStart;
  if (wholeDigits == 0 || (wholeDigits > 1 && text[wholeStart] == '0')) return std::nullopt;
  size_t fractionDigits = 0;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
      ++at;
      ++fractionDigits;
    }
    if (fractionDigits == 0) return std::nullopt;
  }
  // A whole part "0" carries no significant digit.
  const size_t significant = wholeDigits + fractionDigits - (text[wholeStart] == '0' ? 1 : 0);
  if (at != text.size() || significant > kMaxNumberDigits) return std::nullopt;
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A number where the cell reads as one, so sums and sorting work in the
// spreadsheet; a percentage ("39.07%") as its fraction shown with a percent
// format; every other text as text.
lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, std::string_view text,
                    lxw_format* percent, std::string& buffer) {
  if (const auto number = PlainNumber(text)) {
    return worksheet_write_number(sheet, row, column, *number, nullptr);
  }
  if (text.ends_with('%')) {
    if (const auto share = PlainNumber(text.substr(0, text.size() - 1))) {
      return worksheet_write_number(sheet, row, column, *share / 100, percent);
    }
  }
  // libxlsxwriter takes NUL-terminated texts; grid cells are views.
  buffer.assign(text);
  return worksheet_write_string(sheet, row, column, buffer.c_str(), nullptr);
}

void WriteRow(lxw_worksheet* sheet, lxw_row_t sheetRow, size_t columns, const auto& cellOf,
              lxw_format* percent, std::string& buffer, const std::filesystem::path& file) {
  for (size_t column = 0; column < columns; ++column) {
    const lxw_error error =
        WriteCell(sheet, sheetRow, static_cast<lxw_col_t>(column), cellOf(column), percent, buffer);
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

  lxw_format* percent = workbook_add_format(closer.workbook);
  if (percent == nullptr) replacement.Fail(errno != 0 ? errno : ENOMEM);
  format_set_num_format(percent, "0.00%");

  std::string buffer;
  std::string scratch;
  const auto& headings = grid.Headings();
  WriteRow(
      sheet, 0, columns, [&](size_t c) -> std::string_view { return headings[c]; }, percent, buffer,
      file);
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    WriteRow(
        sheet, static_cast<lxw_row_t>(row + 1), columns,
        [&](size_t c) { return grid.CellText(row, c, scratch); }, percent, buffer, file);
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
