// The exports: a double click on a grid (or "导出历史号码(&O)" for the
// history) writes that grid to its workbook; "历史号码导出文本文件(&O)"
// writes the history as text. The export actions report in the status bar.
#include "app/export_actions.h"
#include "app/main_window.h"
#include "core/issue_number.h"
#include "export/spreadsheet_export.h"

namespace zs {

void MainWindow::OnExportGrid(GridView* grid) {
  const char* sheet = grid == grid1_   ? kHistorySheetName
                      : grid == grid2_ ? kHitsSheetName
                                       : kResultSheetName;
  ShowStatus(ExportGridToSheet(this, grid->grid(), dataFolder_, sheet, dialogs_->Opener()));
}

void MainWindow::OnExportText() {
  const std::string newest = index_.DrawCount() == 0
                                 ? std::string()
                                 : StoredDigits(index_.Issue(index_.DrawCount() - 1),
                                                IssueRule::From(settings_).threeDigit);
  ShowStatus(ExportHistoryToText(grid1_->grid(), newest, dataFolder_, dialogs_->Opener()));
}

}  // namespace zs
