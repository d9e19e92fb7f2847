#include "export/text_export.h"

#include "core/errors.h"
#include "core/file_io.h"
#include "core/text.h"

namespace zs {
namespace {

constexpr size_t kNumberColumns = 8;

// A number cell of the history grid in the "00" number format (5 gives "05").
std::string NumberCellText(std::string_view cell) {
  const std::optional<int> value = ParseWhole<int>(cell);
  if (!value || *value < 0) throw InputError("历史号码中有不是号码的值：" + std::string(cell));
  return TwoDigits(*value);
}

}  // namespace

std::string HistoryTextFileName(const std::string& newestStoredDigits) {
  return "更新至" + newestStoredDigits + "期历史号码.txt";
}

std::filesystem::path WriteHistoryText(const GridSource& historyGrid,
                                       const std::string& newestStoredDigits,
                                       const std::filesystem::path& folder) {
  if (historyGrid.RowCount() == 0 || newestStoredDigits.empty()) {
    throw InputError("没有历史号码，未导出文本文件");
  }
  if (historyGrid.ColumnCount() != kNumberColumns + 1) {
    throw InputError("导出文本文件需要历史号码列表（期号和八个号码）");
  }

  // The lines are digits and blanks only, so the file reads the same as
  // UTF-8 and as GB18030 (the old ANSI code page); only its name holds Chinese.
  std::string text;
  text.reserve(historyGrid.RowCount() * 40);
  std::string scratch;
  for (size_t row = 0; row < historyGrid.RowCount(); ++row) {
    text.append(historyGrid.CellText(row, 0, scratch));
    text.push_back(' ');
    for (size_t column = 1; column <= kNumberColumns; ++column) {
      text.append(NumberCellText(historyGrid.CellText(row, column, scratch)));
      text.push_back(' ');
    }
    text.append("\r\n");
  }

  const std::filesystem::path file = folder / HistoryTextFileName(newestStoredDigits);
  WriteFileWhole(file, text);
  return file;
}

}  // namespace zs
