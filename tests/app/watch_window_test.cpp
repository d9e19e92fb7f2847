// The 关注 window over a snapshot: a row per watch, those that hold
// highlighted, figures sorted as numbers; removal through the gate.
#include <QTableWidget>
#include <QTest>

#include "app/watch_window.h"
#include "tests/support/analysis_histories.h"

namespace zs::testing {

class WatchWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsSortsHighlightsAndRemoves() {
    Settings settings;
    settings.edition = EditionChoice::Of(0);
    const std::unique_ptr<History> history = History::OpenMemory(settings);
    history->store().ReplaceAllDraws(RandomDraws(5, 300, 0.1), DerivationRules::From(settings));
    // 第1位 fixed on each of 01..12: every gap differs; last>=0 always holds.
    for (int value = 1; value <= 12; ++value) {
      Watch watch;
      watch.freePositions = false;
      watch.chosen[0] = true;
      watch.values[0] = value;
      watch.condition.lastAtLeast = value == 3 ? 0 : 100000;
      history->AddWatch(watch);
    }
    CommandGate gate;
    WatchWindow window(*history, gate);
    window.Refresh(history->snapshot());
    QTableWidget* table = window.table();
    QCOMPARE(table->rowCount(), 12);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("1"));  // by 编号 at first

    table->sortByColumn(6, Qt::DescendingOrder);  // 最后遗漏
    for (int row = 1; row < table->rowCount(); ++row) {
      QVERIFY(table->item(row - 1, 6)->data(Qt::DisplayRole).toLongLong() >=
              table->item(row, 6)->data(Qt::DisplayRole).toLongLong());
    }
    int highlighted = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
      // Figures show as the grid writes them, two decimals kept.
      const QString average = table->item(row, 7)->text();
      QVERIFY(average.isEmpty() || average.indexOf(u'.') == average.size() - 3);
      const bool holds = table->item(row, 9)->text() == QStringLiteral("提醒");
      QCOMPARE(table->item(row, 2)->background() != QBrush(), holds);
      highlighted += holds ? 1 : 0;
    }
    QCOMPARE(highlighted, 1);

    QVERIFY(window.Remove(3));
    QCOMPARE(table->rowCount(), 11);
    QVERIFY(!window.Remove(3));
    const std::optional<CommandGate::Pass> other = gate.Enter(QStringLiteral("读取历史号文本"));
    QVERIFY(!window.Remove(4));
    QCOMPARE(history->snapshot()->watches->entries().size(), 11u);
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::WatchWindowTest)
#include "watch_window_test.moc"
