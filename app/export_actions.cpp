#include "app/export_actions.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>

#include "export/spreadsheet_export.h"
#include "export/text_export.h"

namespace zs {
namespace {

// Below this many rows a workbook is written in well under a second, so the
// window simply waits; above it the progress dialog keeps the user informed.
constexpr size_t kBackgroundRows = 20000;

class BusyPointer {
 public:
  BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

// Runs `write` on a worker thread while the window's events go on (painting;
// the modal dialog keeps other input away). Rethrows what `write` threw.
void WriteInBackground(QWidget* parent, size_t rows,
                       const std::function<void(const ExportProgress&)>& write) {
  QProgressDialog dialog(QStringLiteral("正在导出……"), QString(), 0, static_cast<int>(rows),
                         parent);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setCancelButton(nullptr);
  dialog.setMinimumDuration(0);
  dialog.setValue(0);

  std::exception_ptr failure;
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
  std::unique_ptr<QThread> worker(QThread::create([&] {
    try {
      write(progress);
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  QEventLoop loop;
  QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec();
  worker->wait();
  if (failure) std::rethrow_exception(failure);
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
    BusyPointer busy;
    if (grid->RowCount() < kBackgroundRows) {
      WriteSpreadsheet(*grid, file);
    } else {
      WriteInBackground(parent, grid->RowCount(), [grid, file](const ExportProgress& progress) {
        WriteSpreadsheet(*grid, file, progress);
      });
    }
  } catch (const std::exception& error) {
    return Failed(error);
  }
  return Opened(file, opener);
}

QString ExportHistoryToText(const GridSource& historyGrid, const std::string& newestStoredDigits,
                            const std::filesystem::path& dataFolder, FileOpener& opener) {
  std::filesystem::path file;
  try {
    // A text file of even a large history takes a fraction of a second.
    BusyPointer busy;
    file = WriteHistoryText(historyGrid, newestStoredDigits, dataFolder);
  } catch (const std::exception& error) {
    return Failed(error);
  }
  return Opened(file, opener);
}

}  // namespace zs
