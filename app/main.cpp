// zephyrstat: the Zephyrstat window over the history in the data folder.
// The user guide's pictures of it come from zephyrstat-pictures
// (app/pictures/), which scripts/screenshot runs.
#include <QApplication>
#include <QCommandLineParser>

#include "app/common/data_folder.h"
#include "app/common/memory_reuse.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/qt_translations.h"

int main(int argc, char** argv) {
  // Searches over a long history rebuild results of tens of megabytes.
  zs::RetainFreedMemoryForReuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zephyrstat"));
  QApplication::setOrganizationName(QStringLiteral("Zephyrstat"));
  zs::InstallQtChineseTranslations();

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Zephyrstat 泽风统计"));
  parser.addHelpOption();
  parser.process(application);

  zs::MainWindow window(zs::DataFolder(), zs::MakeWidgetDialogs());
  window.show();
  return application.exec();
}
