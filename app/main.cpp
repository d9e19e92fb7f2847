// zephyrstat: the Zephyrstat window over the history in the data folder.
//
//   zephyrstat [--screenshot FILE]
//
// --screenshot FILE shows the window, writes a picture of it to FILE (PNG)
// and exits; scripts/screenshot uses it under Xvfb.
#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTimer>

#include "app/common/data_folder.h"
#include "app/dialogs.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zephyrstat"));
  QApplication::setOrganizationName(QStringLiteral("Zephyrstat"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Zephyrstat 泽风统计"));
  parser.addHelpOption();
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Write a picture of the window and exit."),
                                      QStringLiteral("FILE"));
  parser.addOption(screenshot);
  parser.process(application);

  zs::MainWindow window(zs::DataFolder(), zs::MakeWidgetDialogs());
  window.resize(1280, 800);
  window.show();

  if (parser.isSet(screenshot)) {
    const QString file = parser.value(screenshot);
    QTimer::singleShot(1000, &window, [&window, file] {
      const bool saved = window.grab().save(file, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return application.exec();
}
