// zephyrstat: the Zephyrstat window over the history in the data folder.
// The user guide's pictures of it come from zephyrstat-pictures
// (app/pictures/), which scripts/screenshot runs.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <filesystem>
#include <string_view>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "frontend/data_folder.h"
#include "frontend/memory_reuse.h"
#include "store/history_store.h"

namespace {

// The window's command line: only --help and --version, in Chinese as the
// rest of the window (Qt's own texts come from its Chinese translations).
void AddOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("泽风统计：保存一个快乐十分彩种的历史号码，并对它做遗漏分析。"));
  parser.addHelpOption();
  parser.addVersionOption();
}

bool AsksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
        arg == "--version") {
      return true;
    }
  }
  return false;
}

// Answers --help and --version before the window's application is made: that
// one needs a display, these answers do not. Other arguments are left to the
// window's own pass over the command line.
void AnswerHelpOrVersion(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  zs::InstallQtChineseTranslations();
  QCommandLineParser parser;
  AddOptions(parser);
  parser.parse(QCoreApplication::arguments());
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
    parser.showHelp();
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("Zephyrstat"));
  QCoreApplication::setOrganizationName(QStringLiteral("Zephyrstat"));
  QCoreApplication::setApplicationVersion(QString::fromUtf8(ZS_VERSION));
  if (AsksForHelpOrVersion(argc, argv)) AnswerHelpOrVersion(argc, argv);

  // Searches over a long history rebuild results of tens of megabytes.
  zs::RetainFreedMemoryForReuse();
  QApplication application(argc, argv);
  zs::InstallQtChineseTranslations();
  // The installed menu entry and icon carry this name; desktops match the
  // running window to them by it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.zephyrstat.Zephyrstat"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zephyrstat.Zephyrstat")));

  QCommandLineParser parser;
  AddOptions(parser);
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
