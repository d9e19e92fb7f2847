// One command at a time: while an online update waits for its page, every
// other command that reads or changes the history is refused and the
// controls that start one are off; a click during an export is dropped;
// a deletion whose compaction fails after the commit is shown as done.
#include <QDir>
#include <QMouseEvent>
#include <QTimer>

#include "tests/app/window_test_support.h"
#include "tests/support/results_server.h"

namespace zs::testing {

class CommandGateTest : public QObject {
  Q_OBJECT

 private:
  // Starts an update against a server that never answers: it stays in flight.
  static void StartHangingUpdate(WindowWorld& world) {
    ClickButton(world.UpdateButton());
    QApplication::processEvents();
    QVERIFY(world.Outcome().contains(QStringLiteral("正在在线更新")));
  }
  static bool Refused(WindowWorld& world) {
    return world.Outcome().contains(QStringLiteral("“历史号在线更新”正在进行"));
  }

 private slots:
  void nothingTouchesTheHistoryWhileAnUpdateRuns() {
    SilentServer silent;
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.SetSetting("ResultsUrl", QString::fromStdString(UrlTemplateForPort(silent.port())));
    world.Open(RotatingDraws(14011601, 5));
    StartHangingUpdate(world);
    QVERIFY(!world.DeleteLastButton()->isEnabled());
    QVERIFY(!world.SearchButton()->isEnabled());
    QVERIFY(!world.Action(kClearItem)->isEnabled());

    const QString menus[] = {Named(kZodiacBaseItems, 0),
                             Named(kSegmentBaseItems, 0),
                             Named(kEditionItems, 3),
                             kDeleteLastItem,
                             kClearItem,
                             kExportHistoryItem};
    for (const QString& menu : menus) {
      world.OutcomeLine()->clear();
      world.Action(menu)->trigger();
      QVERIFY2(!world.Action(menu)->isEnabled() || Refused(world), qPrintable(menu));
    }
    // The grids stay enabled for reading; their export is refused.
    auto* history = world.HistoryGrid();
    emit history->doubleClicked(history->model()->index(0, 0));
    QVERIFY(Refused(world));
    const Settings& settings = world.window->settings();
    QCOMPARE(settings.zodiacBase, 1);
    QCOMPARE(settings.segmentBase, 1);
    QCOMPARE(settings.edition, EditionChoice::Of(0));
    QVERIFY(world.Action(Named(kZodiacBaseItems, 1))->isChecked() &&
            !world.Action(Named(kZodiacBaseItems, 0))->isChecked());
    QVERIFY(world.Action(Named(kEditionItems, 0))->isChecked() &&
            !world.Action(Named(kEditionItems, 3))->isChecked());
    QCOMPARE(world.StoredDraws().size(), size_t(5));
    QVERIFY(!std::filesystem::exists(world.folder() / "lishi.xls"));
    QCOMPARE(world.dialogs->Count(QStringLiteral("question")), 1);  // the update's own
  }

  // The export's worker reads its own snapshot of the grid; a click on
  // the update meanwhile is dropped, neither refused nor run afterwards.
  void aClickDuringALargeExportIsDropped() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 20000));
    QString outcomeDuringExport;
    QTimer::singleShot(0, [&world, &outcomeDuringExport] {
      ClickButton(world.UpdateButton());
      outcomeDuringExport = world.Outcome();
    });
    const QString before = world.Outcome();
    world.Action(kExportHistoryItem)->trigger();
    QCOMPARE(outcomeDuringExport, before);
    QVERIFY(world.Outcome().startsWith(QStringLiteral("已导出到")));
    QCOMPARE(world.dialogs->Count(QStringLiteral("question")), 0);
    QVERIFY(world.UpdateButton()->isEnabled());
  }

  // A click made while a delete runs is dropped: it does not delete a second
  // draw, without a question, once the first delete is done.
  void aClickDuringADeleteIsNotRunAfterIt() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open(RotatingDraws(14011601, 5));
    auto* deleteLast = world.DeleteLastButton();
    const QPoint at = deleteLast->rect().center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      const Qt::MouseButtons held =
          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
      QCoreApplication::postEvent(deleteLast, new QMouseEvent(type, at, deleteLast->mapToGlobal(at),
                                                              Qt::LeftButton, held, {}));
    }
    world.dialogs->inputs = {QStringLiteral("1")};
    world.Action(kDeleteCountItem)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(world.StoredDraws().size(), size_t(4));
    QVERIFY(deleteLast->isEnabled());
  }

  void aDeleteWhoseCompactionFailsIsShownAsDone() {
    const struct {
      const char* menu;
      const char* answer;
      size_t kept;
    } deletes[] = {
        {kDeleteLastItem, "", 4}, {kDeleteCountItem, "2", 3}, {kDeleteDownToItem, "2014011602", 2}};
    for (const auto& d : deletes) {
      WindowWorld world;
      world.SetSetting("GsZl", QStringLiteral("0"));
      // A file with most of its pages free, which every delete compacts.
      world.Seed(RotatingDraws(14011601, 200));
      HistoryStore::OpenFolder(world.folder())->DeleteNewest(195);
      world.Open();
      // A folder in the compacted file's place makes the compaction fail.
      QVERIFY(QDir().mkpath(
          QString::fromStdString((world.folder() / "tesseraTmp.mdb" / "x").string())));
      world.dialogs->inputs = {QString::fromLatin1(d.answer)};
      world.Action(QString::fromLatin1(d.menu))->trigger();
      QCOMPARE(world.StoredDraws().size(), d.kept);
      QCOMPARE(world.window->index()->DrawCount(), d.kept);
      QCOMPARE(world.HistoryGrid()->model()->rowCount(), int(d.kept));
      QVERIFY2(world.Outcome().startsWith(QStringLiteral("已删除")), qPrintable(world.Outcome()));
      QVERIFY(world.Outcome().contains(QStringLiteral("警告")));
    }
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::CommandGateTest)
#include "command_gate_test.moc"
