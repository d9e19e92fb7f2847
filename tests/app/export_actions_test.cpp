#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/export_actions.h"
#include "app/file_opener.h"
#include "core/grid.h"
#include "export/spreadsheet_export.h"

namespace zs {
namespace {

// Stands in for the desktop: records what would have been opened.
class RecordingOpener final : public FileOpener {
 public:
  bool Open(const std::filesystem::path& file) override {
    opened.push_back(file);
    return canOpen;
  }
  std::vector<std::filesystem::path> opened;
  bool canOpen = true;
};

Grid HistoryGridOfSize(int rows) {
  Grid grid({"期号", "第1码", "第2码", "第3码", "第4码", "第5码", "第6码", "第7码", "第8码"});
  for (int i = 0; i < rows; ++i) {
    grid.AddRow({std::to_string(2014011601LL + i), "3", "7", "15", "8", "19", "20", "11", "14"});
  }
  return grid;
}

std::shared_ptr<const Grid> SharedHistoryGrid(int rows) {
  return std::make_shared<const Grid>(HistoryGridOfSize(rows));
}

std::filesystem::path FolderOf(const QTemporaryDir& dir) { return dir.path().toStdString(); }

QString SheetXml(const std::filesystem::path& file) {
  QProcess unzip;
  unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), QString::fromStdString(file.string()),
                                        QStringLiteral("xl/worksheets/sheet1.xml")});
  unzip.waitForFinished(60000);
  return QString::fromUtf8(unzip.readAllStandardOutput());
}

}  // namespace

class ExportActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void sheetIsWrittenThenOpened() {
    QTemporaryDir dir;
    RecordingOpener opener;
    QWidget window;
    const QString message =
        ExportGridToSheet(&window, SharedHistoryGrid(3), FolderOf(dir), kHitsSheetName, opener);

    const std::filesystem::path file = FolderOf(dir) / kHitsSheetName;
    QVERIFY(std::filesystem::exists(file));
    QCOMPARE(opener.opened, std::vector<std::filesystem::path>{file});
    QCOMPARE(message, QStringLiteral("已导出到 %1").arg(QString::fromStdString(file.string())));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  // Large grids go through the worker thread and the progress dialog.
  void largeGridIsWrittenCompletely() {
    QTemporaryDir dir;
    RecordingOpener opener;
    QWidget window;
    const std::shared_ptr<const Grid> grid = SharedHistoryGrid(30000);
    ExportGridToSheet(&window, grid, FolderOf(dir), kHistorySheetName, opener);

    const QString xml = SheetXml(FolderOf(dir) / kHistorySheetName);
    QVERIFY(xml.contains(QStringLiteral("r=\"I30001\"")));
    QVERIFY(xml.contains(QString::fromStdString(std::string(grid->Cell(29999, 0)))));
    QCOMPARE(opener.opened.size(), size_t{1});
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void saysWhenNoApplicationOpensTheFile() {
    QTemporaryDir dir;
    RecordingOpener opener;
    opener.canOpen = false;
    const QString message =
        ExportGridToSheet(nullptr, SharedHistoryGrid(1), FolderOf(dir), kResultSheetName, opener);

    QVERIFY(std::filesystem::exists(FolderOf(dir) / kResultSheetName));
    QVERIFY2(message.contains(QStringLiteral("没有可打开它的程序")), qPrintable(message));
  }

  void failedWriteSaysWhyAndOpensNothing() {
    QTemporaryDir dir;
    RecordingOpener opener;
    const QString message = ExportGridToSheet(nullptr, SharedHistoryGrid(1), FolderOf(dir) / "gone",
                                              kHistorySheetName, opener);

    QVERIFY2(message.startsWith(QStringLiteral("导出失败：")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("文件夹不存在")), qPrintable(message));
    QVERIFY(opener.opened.empty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void historyTextIsWrittenThenOpened() {
    QTemporaryDir dir;
    RecordingOpener opener;
    const QString message =
        ExportHistoryToText(nullptr, SharedHistoryGrid(2), "14011602", FolderOf(dir), opener);

    const std::filesystem::path file = FolderOf(dir) / "更新至14011602期历史号码.txt";
    QVERIFY(std::filesystem::exists(file));
    QCOMPARE(opener.opened, std::vector<std::filesystem::path>{file});
    QVERIFY2(message.contains(QString::fromStdString(file.string())), qPrintable(message));
  }

  void emptyHistoryWritesNoTextFile() {
    QTemporaryDir dir;
    RecordingOpener opener;
    const QString message =
        ExportHistoryToText(nullptr, SharedHistoryGrid(0), "", FolderOf(dir), opener);

    QVERIFY2(message.startsWith(QStringLiteral("导出失败：")), qPrintable(message));
    QVERIFY(opener.opened.empty());
    QVERIFY(QDir(dir.path()).isEmpty());
  }
};

}  // namespace zs

QTEST_MAIN(zs::ExportActionsTest)
#include "export_actions_test.moc"
