#include "app/export_actions.h"

#include <QProgressDialog>
#include <functional>
#include <memory>

#include "app/background_task.h"

#include "export/spreadsheet_export.h"
#include "export/text_export.h"

namespace zs {
namespace {

// Writes on a worker thread behind the progress dialog of `command`, which
// counts the rows written; rethrows what `write` threw.
void WriteInBackground(QWidget* parent, const QString& command, size_t rows,
                       const std::function<void(const ExportProgress&)>& write) {
  CommandProgress busy(parent, command);
  QProgressDialog& dialog = busy.dialog();
  dialog.setRange(0, static_cast<int>(rows));
  const ExportProgress progress = [&dialog](size_t done, size_t total) {
    QMetaObject::invokeMethod(
        &dialog,
        [&dialog, done, total] {
          if (done < total) {
            dialog.setValue(static_cast<int>(done));
            return;
          }
          // Every row is written; packing the workbook reports no steps, so
          // the bar turns into a busy indicator instead of standing full.
          dialog.setLabelText(QStringLiteral("正在生成工作簿……"));
          dialog.setRange(0, 0);
        },
        Qt::QueuedConnection);
  };
  busy.Run([&write, &progress] { write(progress); });
}

QString PathText(const std::filesystem::path& file) {
  return QString::fromStdString(file.string());
}

QString Opened(const std::filesystem::path& file, FileOpener& opener) {
  if (opener.Open(file)) return QStringLiteral("已导出到 %1").arg(PathText(file));
  return QStringLiteral("已导出到 %1，但没有可打开它的程序").arg(PathText(file));
}

QString Failed(const std::exception& error) {
  return QStringLiteral("导出失败：%1").arg(QString::fromUtf8(error.what()));
}

}  // namespace

QString ExportGridToSheet(QWidget* parent, std::shared_ptr<const GridSource> grid,
                          const std::filesystem::path& dataFolder, const char* sheetName,
                          FileOpener& opener) {
  const std::filesystem::path file = dataFolder / sheetName;
  try {
    WriteInBackground(parent, QStringLiteral("导出到EXCEL"), grid->RowCount(),
                      [&grid, &file](const ExportProgress& progress) {
                        WriteSpreadsheet(*grid, file, progress);
                      });
  } catch (const std::exception& error) {
    return Failed(error);
  }
  return Opened(file, opener);
}

QString ExportHistoryToText(QWidget* parent, std::shared_ptr<const GridSource> historyGrid,
                            const std::string& newestStoredDigits,
                            const std::filesystem::path& dataFolder, FileOpener& opener) {
  std::filesystem::path file;
  try {
    RunWithProgress(parent, QStringLiteral("历史号码导出文本文件"),
                    [&] { file = WriteHistoryText(*historyGrid, newestStoredDigits, dataFolder); });
  } catch (const std::exception& error) {
    return Failed(error);
  }
  return Opened(file, opener);
}

}  // namespace zs
