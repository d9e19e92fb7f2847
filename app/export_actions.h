// The window's side of the exports: write one of its grids to the workbook
// of that grid (lishi.xls, Jiansuo.xls, Jieguo.xls) or the history to its
// text file in the data folder, then open the result without waiting.
//
// Each action writes on a worker thread behind the progress dialog of its
// command (background_task.h) from a grid snapshot it shares, so the window
// keeps painting but takes no input meanwhile. The returned text is
// for the status bar: the written path, or why nothing was written or opened
// (disk full, folder not writable, no application to open the file). The
// actions never throw. Precondition: a QApplication exists.
#ifndef ZEPHYRSTAT_APP_EXPORT_ACTIONS_H_
#define ZEPHYRSTAT_APP_EXPORT_ACTIONS_H_

#include <QString>
#include <filesystem>
#include <memory>
#include <string>

#include "app/file_opener.h"
#include "core/grid_source.h"

class QWidget;

namespace zs {

// `sheetName` is one of kHistorySheetName, kHitsSheetName, kResultSheetName.
// The worker thread reads only `grid`, which it shares.
QString ExportGridToSheet(QWidget* parent, std::shared_ptr<const GridSource> grid,
                          const std::filesystem::path& dataFolder, const char* sheetName,
                          FileOpener& opener);

// `historyGrid` is the history grid; `newestStoredDigits` the newest stored
// issue as StoredDigits gives it ("" on an empty history, which writes nothing).
QString ExportHistoryToText(QWidget* parent, std::shared_ptr<const GridSource> historyGrid,
                            const std::string& newestStoredDigits,
                            const std::filesystem::path& dataFolder, FileOpener& opener);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_EXPORT_ACTIONS_H_
