// The main window's live side: 设置 → 自动更新 turns the automatic update on
// and off and saves it; 加入关注… on the search summary stores the shown
// search as a watch that the 关注 window then lists.
#include <QDialog>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "app/auto_updater.h"
#include "app/watch_window.h"
#include "tests/app/window_test_support.h"

namespace zs::testing {
namespace {

// Chooses 加入关注… in the context menu that opens next, then answers the
// dialog it opens with `name` and the condition 最后遗漏 ≥ 0 (OK) or
// cancels it.
void AnswerWatchMenu(const QString& name, bool ok) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, name, ok] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("加入关注…")) menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Return);
      return;
    }
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || dialog->windowTitle() != QStringLiteral("加入关注")) return;
    dialog->findChild<QLineEdit*>()->setText(name);
    dialog->findChild<QSpinBox*>()->setValue(0);
    ok ? dialog->accept() : dialog->reject();
    poll->deleteLater();
  });
  poll->start(20);
}

}  // namespace

class LiveWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void autoUpdateItemTogglesAndSaves() {
    WindowWorld world;
    world.Open(RotatingDraws(1, 30));
    QAction* item = world.Action(kAutoUpdateItem);
    QVERIFY(item->isCheckable());
    QVERIFY(!item->isChecked());
    auto* status = world.AutoUpdateStatus();
    QCOMPARE(status->text(), QStringLiteral("自动更新 关"));

    for (const bool on : {true, false}) {
      item->trigger();
      QCOMPARE(item->isChecked(), on);
      QCOMPARE(world.window->autoUpdater()->enabled(), on);
      QCOMPARE(world.StoredSetting("AutoUpdate").toString(),
               on ? QStringLiteral("true") : QStringLiteral("false"));
      QCOMPARE(status->text(), on ? QStringLiteral("自动更新 开") : QStringLiteral("自动更新 关"));
    }

    // The interval: a number out of 1..60 changes nothing.
    world.dialogs->inputs = {QStringLiteral("61"), QStringLiteral("12")};
    world.Action(kAutoUpdateMinutesItem)->trigger();
    QVERIFY(world.Outcome().contains(QStringLiteral("61")));
    QCOMPARE(world.window->autoUpdater()->currentIntervalMinutes(), 5);
    world.Action(kAutoUpdateMinutesItem)->trigger();
    QCOMPARE(world.window->autoUpdater()->currentIntervalMinutes(), 12);
    QCOMPARE(world.StoredSetting("AutoUpdateMinutes").toString(), QStringLiteral("12"));
  }

  void watchOfTheSearchSummaryShowsInTheWatchWindow() {
    WindowWorld world;
    world.Open(RotatingDraws(1, 40));
    auto* summary = world.Summary();
    const auto offerWatch = [summary] {
      emit summary->customContextMenuRequested(
          summary->visualRect(summary->model()->index(0, 0)).center());
    };
    WatchWindow* watches = world.window->watchWindow();

    // Nothing searched yet: nothing to watch.
    world.window->AddWatchOfResultRow(0);
    QVERIFY(world.Outcome().contains(QStringLiteral("无法加入关注")));

    ClickButton(world.FixedPositions());  // fixed positions
    ClickButton(world.PositionCheck(1));
    world.TypePattern(1, QStringLiteral("03"));
    ClickButton(world.SearchButton());

    AnswerWatchMenu(QStringLiteral("不要"), false);
    offerWatch();
    QCOMPARE(world.window->history()->snapshot()->watches->entries().size(), 0u);

    AnswerWatchMenu(QStringLiteral("首位03"), true);
    offerWatch();
    const auto& entries = world.window->history()->snapshot()->watches->entries();
    QCOMPARE(entries.size(), 1u);
    const Watch& stored = entries[0].watch;
    QCOMPARE(stored.kind, WatchKind::kSearch);
    QVERIFY(!stored.freePositions);
    QVERIFY(stored.chosen[0] && !stored.chosen[1]);
    QCOMPARE(stored.values[0], 3);
    QVERIFY(entries[0].holds);

    QVERIFY(watches->isVisible());
    QCOMPARE(watches->table()->rowCount(), 1);
    QCOMPARE(watches->table()->item(0, 1)->text(), QStringLiteral("首位03"));

    // A typed draw moves the figures the window shows.
    const QString lastBefore = watches->table()->item(0, 6)->text();
    auto* history = world.window->history();
    const uint64_t version = history->snapshot()->version;
    world.Action(kDeleteLastItem)->trigger();
    QVERIFY(history->snapshot()->version != version);
    QVERIFY(watches->table()->item(0, 6)->text() != lastBefore);
  }

  // The partial search and an omission-table row give their own patterns.
  void watchOfPartialSearchAndOfOmissionTableRow() {
    WindowWorld world;
    world.Open(RotatingDraws(1, 40));
    world.TypePattern(1, QStringLiteral("03"));
    ClickButton(world.PartialSearchButton());
    AnswerWatchMenu(QStringLiteral("分部"), true);
    world.window->AddWatchOfResultRow(0);

    for (int box = 1; box <= 3; ++box) {
      ClickButton(world.SelectionBox(box));
    }
    world.GroupSize()->setEditText(QStringLiteral("2"));
    ClickButton(world.GroupButton());
    AnswerWatchMenu(QStringLiteral("组合"), true);
    world.window->AddWatchOfResultRow(0);

    const auto& entries = world.window->history()->snapshot()->watches->entries();
    QCOMPARE(entries.size(), 2u);
    const Watch& partial = entries[0].watch;
    QCOMPARE(partial.kind, WatchKind::kPartial);
    QCOMPARE(partial.values[0], 3);
    const Watch& combination = entries[1].watch;
    QCOMPARE(combination.kind, WatchKind::kCombination);
    QCOMPARE(combination.boxes.size(), 2u);
    QVERIFY(combination.boxes[0] >= 1 && combination.boxes[1] <= 3);
    QCOMPARE(world.window->watchWindow()->table()->rowCount(), 2);
  }

  // Draws the automatic update stored: the search shown runs again over
  // them, the 关注 window follows.
  void searchShownFollowsTheAutomaticUpdate() {
    WindowWorld world;
    world.Open(RotatingDraws(1, 40));
    ClickButton(world.FixedPositions());
    ClickButton(world.PositionCheck(1));
    world.TypePattern(1, QStringLiteral("03"));
    ClickButton(world.SearchButton());
    auto* hits = world.HitList();
    QCOMPARE(hits->model()->rowCount(), 2);
    History* history = world.window->history();
    Watch watch;
    watch.freePositions = false;
    watch.chosen[0] = true;
    watch.values[0] = 3;
    QVERIFY(world.window->watchWindow()->Add(watch));
    const QString lastBefore = world.window->watchWindow()->table()->item(0, 6)->text();

    history->AddTypedDraw({3, 4, 5, 6, 7, 8, 9, 10});
    emit world.window->autoUpdater()->drawsAdded(history->snapshot());
    QCOMPARE(hits->model()->rowCount(), 3);
    QVERIFY(world.window->watchWindow()->table()->item(0, 6)->text() != lastBefore);
  }

  // A deletion that makes a watch hold tells of it on the status line.
  void ownChangeThatFiresAWatchIsTold() {
    WindowWorld world;
    world.Open(RotatingDraws(1, 40));  // the newest draw has 20 first
    Watch watch;
    watch.name = "首位20";
    watch.freePositions = false;
    watch.chosen[0] = true;
    watch.values[0] = 20;
    watch.condition.lastAtLeast = 2;
    QVERIFY(world.window->watchWindow()->Add(watch));
    QVERIFY(!world.Outcome().contains(QStringLiteral("关注提醒")));

    world.Action(kDeleteLastItem)->trigger();
    QTRY_VERIFY(world.Outcome().contains(QStringLiteral("关注提醒")));
    QVERIFY(world.Outcome().contains(QStringLiteral("首位20")));
    QVERIFY(world.Outcome().contains(QStringLiteral("已删除最后一期")));
  }

  // What the command-line tool stored while the window was open shows when
  // the 关注 window opens: its watch and its draw, and the window's watch
  // that the draw made hold is told of.
  void anotherProgramsWatchAndDrawShowWhenTheWatchWindowOpens() {
    WindowWorld world;
    world.Open(RotatingDraws(1, 40));  // 20 first in the draw before the newest
    Watch first20;
    first20.name = "首位20";
    first20.freePositions = false;
    first20.chosen[0] = true;
    first20.values[0] = 20;
    first20.condition.lastAtLeast = 2;
    QVERIFY(world.window->watchWindow()->Add(first20));
    {
      const std::unique_ptr<History> other =
          History::OpenFolder(world.folder(), world.window->settings());
      Watch watch;
      watch.chosen[0] = true;
      watch.values[0] = 5;
      other->AddWatch(watch);
      other->AddTypedDraw({2, 3, 4, 5, 6, 7, 8, 9});
    }
    world.window->OpenWatchWindow();
    QCOMPARE(world.window->watchWindow()->table()->rowCount(), 2);
    QCOMPARE(world.window->index()->DrawCount(), size_t(41));
    QCOMPARE(world.HistoryGrid()->model()->rowCount(), 41);
    QVERIFY(world.Outcome().contains(QStringLiteral("关注提醒")));
    QVERIFY(world.Outcome().contains(QStringLiteral("首位20")));
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::LiveWindowTest)
#include "live_window_test.moc"
