// zephyrstat: the Zephyrstat window over the history in the data folder.
// The user guide's pictures of it come from zephyrstat-pictures
// (app/pictures/), which scripts/screenshot runs.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <filesystem>

#include "app/common/data_folder.h"
#include "app/common/memory_reuse.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "store/history_store.h"

int main(int argc, char** argv) {
  // Searches over a long history rebuild results of tens of megabytes.
  zs::RetainFreedMemoryForReuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zephyrstat"));
  QApplication::setOrganizationName(QStringLiteral("Zephyrstat"));
  zs::InstallQtChineseTranslations();
  // The installed menu entry and icon carry this name; desktops match the
  // running window to them by it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.zephyrstat.Zephyrstat"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zephyrstat.Zephyrstat")));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Zephyrstat 泽风统计: keeps the draw history of one 快乐十分 edition and "
                     "runs omission analyses over it."));
  parser.addHelpOption();
  parser.process(application);

  const std::filesystem::path dataFolder = zs::DataFolder();
  // The first start is the one that finds no database yet: the window
  // creates it, so a player who declines the sample is not asked again.
  const bool firstStart = !std::filesystem::exists(dataFolder / zs::kHistoryFileName);
  zs::MainWindow window(dataFolder, zs::MakeWidgetDialogs());
  window.ShowWithinScreen();
  const std::filesystem::path sample = zs::InstalledSampleHistory();
  if (firstStart && !sample.empty()) {
    // Asked once the window is on screen, over it.
    QTimer::singleShot(0, &window, [&window, sample] { window.OfferSampleHistory(sample); });
  }
  return application.exec();
}
