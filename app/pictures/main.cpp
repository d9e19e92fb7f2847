// zephyrstat-pictures: the user guide's pictures of the window.
//
//   zephyrstat-pictures DATA_FOLDER OUT_FOLDER [WIDTHxHEIGHT]
//
// Opens the window on the history in DATA_FOLDER (with the settings store
// of the environment), at its default size unless one is given, and drives
// it as a user would, writing one PNG per
// state into OUT_FOLDER: main-window.png (as started), search-result.png (检索
// on the first two positions), partial-search.png (分部检索 on the newest
// draw), group-calculation.png (分组计算 of 01 … 06 in pairs),
// chosen-issue.png (tab 历史指定期), zodiac.png (type 生肖 on that tab),
// and of the 走势统计 window on numbers in free mode: trend.png (走势),
// statistics.png (统计) and distribution.png (遗漏分布图 of number 01); then
// trend-pattern.png (走势 of the draw pattern 和值) and
// distribution-binned.png (遗漏分布图 of 01 at position 1, whose many
// omissions are binned); last, with three watches stored, live-watches.png
// (the 关注 window, one watch holding) and live-status.png (the status bar
// after 设置 → 自动更新 is turned on).
// scripts/screenshot runs it under Xvfb.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <cstdio>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "app/views/views_hooks.h"
#include "app/watch_window.h"

namespace {

class Pictures {
 public:
  Pictures(zs::MainWindow& window, QString folder) : window_(window), folder_(std::move(folder)) {}

  template <typename Widget>
  Widget* Find(const QString& name) {
    auto* found = window_.findChild<Widget*>(name);
    if (found == nullptr) Fail(QStringLiteral("no widget ") + name);
    return found;
  }

  // Types into a pattern box and leaves it, so the window takes the value.
  void TypePattern(int position, const QString& text) {
    auto* box = Find<QLineEdit>(QStringLiteral("Text22_%1").arg(position));
    box->setFocus();
    box->setText(text);
    Settle();
    Find<QTabBar>(QStringLiteral("TabStrip1"))->setFocus();
    Settle();
  }

  void Take(const QString& name) { TakeOf(&window_, name); }

  void TakeOf(QWidget* widget, const QString& name) {
    Settle();
    const QString file = QDir(folder_).filePath(name);
    if (widget == nullptr || !widget->grab().save(file, "PNG")) {
      Fail(QStringLiteral("cannot write ") + file);
      return;
    }
    std::printf("%s\n", qPrintable(file));
  }

  static void Settle() {
    for (int round = 0; round < 5; ++round) QApplication::processEvents();
  }

  bool failed() const { return failed_; }

 private:
  void Fail(const QString& why) {
    std::fprintf(stderr, "zephyrstat-pictures: %s\n", qPrintable(why));
    failed_ = true;
  }

  zs::MainWindow& window_;
  QString folder_;
  bool failed_ = false;
};

void Drive(zs::MainWindow& window, Pictures& pictures) {
  pictures.Take(QStringLiteral("main-window.png"));

  const std::shared_ptr<const zs::HistoryIndex> shown = window.index();
  const zs::HistoryIndex& index = *shown;
  const size_t newest = index.DrawCount() == 0 ? 0 : index.DrawCount() - 1;
  auto newestNumber = [&](int position) {
    return index.DrawCount() == 0
               ? QString::number(position)
               : QString::number(index.Field(newest, zs::SearchType::kNumber, position - 1));
  };

  pictures.TypePattern(1, QStringLiteral("3"));
  pictures.TypePattern(2, QStringLiteral("7"));
  pictures.Find<QCheckBox>(QStringLiteral("Check11_1"))->setChecked(true);
  pictures.Find<QCheckBox>(QStringLiteral("Check11_2"))->setChecked(true);
  pictures.Find<QPushButton>(QStringLiteral("Command1"))->click();
  pictures.Take(QStringLiteral("search-result.png"));

  for (int position = 1; position <= 8; ++position) {
    pictures.TypePattern(position, newestNumber(position));
  }
  pictures.Find<QPushButton>(QStringLiteral("Command2"))->click();
  pictures.Take(QStringLiteral("partial-search.png"));

  for (int box = 1; box <= 6; ++box) {
    pictures.Find<QCheckBox>(QStringLiteral("Check6_%1").arg(box))->click();
  }
  pictures.Find<QComboBox>(QStringLiteral("Combo2"))->setEditText(QStringLiteral("2"));
  pictures.Find<QPushButton>(QStringLiteral("Command5"))->click();
  pictures.Take(QStringLiteral("group-calculation.png"));

  pictures.Find<QTabBar>(QStringLiteral("TabStrip1"))->setCurrentIndex(1);
  pictures.Take(QStringLiteral("chosen-issue.png"));

  pictures.Find<QRadioButton>(QStringLiteral("Option3_1"))->click();
  pictures.Take(QStringLiteral("zodiac.png"));

  pictures.Find<QTabBar>(QStringLiteral("TabStrip1"))->setCurrentIndex(0);
  pictures.Find<QRadioButton>(QStringLiteral("Option3_0"))->click();
  zs::ViewsWindow* views = window.views().OpenViews(zs::ViewsWindow::kTrendTab);
  pictures.TakeOf(views, QStringLiteral("trend.png"));
  views->ShowTab(zs::ViewsWindow::kStatisticsTab);
  views->resize(1160, 620);
  pictures.TakeOf(views, QStringLiteral("statistics.png"));
  pictures.TakeOf(views->ShowDistributionOfRow(0), QStringLiteral("distribution.png"));

  views->ShowTab(zs::ViewsWindow::kTrendTab);
  views->resize(1366, 720);
  views->typeChoice()->setCurrentIndex(1 + static_cast<int>(zs::PatternType::kTotal));
  pictures.TakeOf(views, QStringLiteral("trend-pattern.png"));
  views->typeChoice()->setCurrentIndex(0);
  pictures.Find<QRadioButton>(QStringLiteral("Option1_0"))->click();
  Pictures::Settle();
  pictures.TakeOf(views->ShowDistributionOfRow(0), QStringLiteral("distribution-binned.png"));
}

// The 关注 window over three watches, of which the first always holds, and
// the status bar once the automatic update is on.
void DriveLive(zs::MainWindow& window, Pictures& pictures) {
  zs::History* history = window.history();
  if (history == nullptr) return;
  zs::Watch pair;
  pair.name = "三七";
  pair.chosen[0] = pair.chosen[1] = true;
  pair.values = {3, 7};
  pair.condition.lastAtLeast = 0;
  history->AddWatch(pair);
  zs::Watch first = pair;
  first.name = "首位十";
  first.freePositions = false;
  first.chosen = {true};
  first.values = {10};
  first.condition.lastAtLeast = 200;
  history->AddWatch(first);
  zs::Watch combination;
  combination.name = "一二组合";
  combination.kind = zs::WatchKind::kCombination;
  combination.boxes = {1, 2};
  combination.condition.kind = zs::WatchCondition::Kind::kRecord;
  history->AddWatch(combination);
  window.OpenWatchWindow();
  window.watchWindow()->resize(1100, 240);
  pictures.TakeOf(window.watchWindow(), QStringLiteral("live-watches.png"));
  window.watchWindow()->hide();

  pictures.Find<QAction>(QStringLiteral("mnuAutoUpdate"))->trigger();
  pictures.TakeOf(window.statusBar(), QStringLiteral("live-status.png"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zephyrstat"));
  QApplication::setOrganizationName(QStringLiteral("Zephyrstat"));
  zs::InstallQtChineseTranslations();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "usage: zephyrstat-pictures DATA_FOLDER OUT_FOLDER [WIDTHxHEIGHT]\n");
    return 2;
  }
  zs::MainWindow window(std::filesystem::path(arguments[1].toStdU16String()),
                        zs::MakeWidgetDialogs());
  if (arguments.size() > 3) {
    const QStringList parts = arguments[3].split(u'x');
    if (parts.size() == 2) window.resize(parts[0].toInt(), parts[1].toInt());
  }
  window.show();
  window.activateWindow();
  Pictures pictures(window, arguments[2]);
  Pictures::Settle();
  Drive(window, pictures);
  DriveLive(window, pictures);
  return pictures.failed() ? 1 : 0;
}
