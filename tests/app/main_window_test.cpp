// The main window: start-up states, option and tab handlers, issue and
// range boxes, the selection panel, the settings menus and the wheel.
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include "analysis/zodiac_names.h"
#include "core/issue_number.h"
#include "tests/app/window_test_support.h"
#include "tests/support/stored_history.h"

namespace zs::testing {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static void ExpectWholeRowsUpToTheNewest(GridView* grid) {
    const int rows = grid->model()->rowCount();
    QCOMPARE(grid->rowViewportPosition(grid->TopRow()), 0);
    QCOMPARE(grid->rowAt(0), grid->TopRow());
    const int newestBottom = grid->rowViewportPosition(rows - 1) + grid->rowHeight(rows - 1);
    QVERIFY(newestBottom <= grid->viewport()->height());
  }
  static QStringList Headings(const GridView* grid) {
    QStringList headings;
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
      headings << grid->model()->headerData(column, Qt::Horizontal).toString();
    }
    return headings;
  }
  // The widget that Tab moves to from `widget`.
  static QWidget* NextFocusable(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && (next->focusPolicy() & Qt::TabFocus) == 0) {
      next = next->nextInFocusChain();
    }
    return next;
  }
  static void Wheel(QWidget* target, int delta) {
    QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
  }

 private slots:
  void firstStartShowsTheDesignStateAndRunsNoHandler() {
    WindowWorld world;
    world.Open();
    QVERIFY(world.FreePositions()->isChecked());
    QVERIFY(world.PreviousIssueOption()->isChecked());
    QVERIFY(world.DrawnOrder()->isChecked());
    QVERIFY(world.TypeOption(0)->isChecked());
    for (int edition = 0; edition < 8; ++edition) {
      QVERIFY(!world.Action(Named(kEditionItems, edition))->isChecked());
    }
    for (const char* menu : {kSegmentBaseItems, kZodiacBaseItems, kColourBaseItems}) {
      QVERIFY(!world.Action(Named(menu, 0))->isChecked());
      QVERIFY(world.Action(Named(menu, 1))->isChecked());
    }
    QCOMPARE(world.PartSize()->currentText(), QStringLiteral("2"));
    QCOMPARE(world.GroupSize()->currentText(), QStringLiteral("2"));
    QCOMPARE(world.CheckedCount()->text(), QStringLiteral("0"));
    for (int box = 1; box <= 20; ++box) {
      QCOMPARE(world.SelectionBox(box)->text(), QStringLiteral("%1").arg(box, 2, 10, QChar(u'0')));
    }
    QCOMPARE(world.window->settings().keptDays, 6);
    // No handler saved anything.
    QVERIFY(world.StoredKeys().isEmpty());
    QVERIFY(world.Outcome().contains(QStringLiteral("读取历史号文本")));
    QCOMPARE(world.HistoryGrid()->model()->rowCount(), 0);
    QVERIFY(world.window->windowTitle().contains(QStringLiteral("Zephyrstat")));
  }

  void savedOptionsRunTheirHandlersAtStart() {
    WindowWorld world;
    world.SetSetting("bolZyw", QStringLiteral("False"));
    world.SetSetting("intLei", QStringLiteral("3"));
    world.SetSetting("bolLdm", QStringLiteral("false"));
    world.SetSetting("GsZl", QStringLiteral("2"));
    world.SetSetting("DsIni", QStringLiteral("0"));
    world.Open();
    QVERIFY(world.FixedPositions()->isChecked());
    QVERIFY(world.SortedOrder()->isChecked());
    QVERIFY(world.TypeOption(3)->isChecked());
    QVERIFY(world.Action(Named(kEditionItems, 2))->isChecked());
    QVERIFY(world.Action(Named(kSegmentBaseItems, 0))->isChecked());
    QVERIFY(!world.Action(Named(kSegmentBaseItems, 1))->isChecked());
    // The search type handler relabelled the panel for units digits.
    for (int box = 1; box <= 10; ++box) {
      auto* check = world.SelectionBox(box);
      QCOMPARE(check->text(), QString::number(box - 1));
      QVERIFY(!check->isHidden());
    }
    QVERIFY(world.SelectionBox(11)->isHidden());
  }

  void unreadableDatabaseStillOpensTheWindow() {
    WindowWorld world;
    WriteFile(QString::fromStdString((world.folder() / "tessera.mdb").string()),
              "this is not a database at all, just some text that fills a page");
    world.Open();
    QVERIFY(world.window->history() == nullptr);
    QVERIFY(world.Outcome().contains(QStringLiteral("无法打开")));
    // Commands that need the history say so instead of failing silently.
    ClickButton(world.DeleteLastButton());
    QVERIFY(world.Outcome().contains(QStringLiteral("没有打开")));
  }

  void optionClicksSaveTheirKeysAndResetTheRangeStart() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open(RotatingDraws(14011601, 10));
    auto* start = world.RangeStart();
    QCOMPARE(start->text(), QStringLiteral("2014011601"));
    QCOMPARE(world.RangeEnd()->text(), QStringLiteral("2014011610"));

    start->setText(QStringLiteral("2014011605"));
    ClickButton(world.FixedPositions());
    QCOMPARE(world.StoredSetting("bolZyw").toString(), QStringLiteral("false"));
    QCOMPARE(start->text(), QStringLiteral("2014011601"));

    start->setText(QStringLiteral("2014011605"));
    ClickButton(world.IssuesBackOption());  // "前    期": only the reset
    QCOMPARE(start->text(), QStringLiteral("2014011601"));
    QCOMPARE(world.window->settings().freePositions, false);

    ClickButton(world.SortedOrder());
    QCOMPARE(world.StoredSetting("bolLdm").toString(), QStringLiteral("false"));
    ClickButton(world.TypeOption(4));
    QCOMPARE(world.StoredSetting("intLei").toString(), QStringLiteral("4"));
  }

  // Only digits and minus go in, the editing keys work, leaving the box or
  // Return takes its value and Tab moves on.
  void patternBoxesTakeDigitsAndMinusWithTheEditingKeys() {
    WindowWorld world;
    world.Open();
    auto* box = world.PatternBox(3);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("a1x-2"));
    QCOMPARE(box->text(), QStringLiteral("1-2"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1-"));
    box->setText(QStringLiteral("7"));
    world.PatternBox(4)->setFocus();
    QCOMPARE(world.window->pattern()[2], 7);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("12x"));
    QCOMPARE(box->text(), QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("2"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(world.window->pattern()[2], 2);
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(!box->hasFocus());
  }

  void tabsSwitchFramesAndTakeTheChosenIssuesValues() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open(
        {Draw{14011601, {1, 2, 4, 5, 6, 7, 8, 9}}, Draw{14011602, {3, 15, 1, 2, 4, 5, 6, 7}}});
    ClickButton(world.TypeOption(4));  // 合数
    auto* tabs = world.PatternTabs();
    tabs->setCurrentIndex(1);
    QVERIFY(!world.ChosenIssue()->isHidden());
    QVERIFY(!world.BeforeChosenIssue()->isHidden());
    QVERIFY(!world.window->manualTab());
    QCOMPARE(world.ChosenValue(1)->text(), QStringLiteral("3"));
    QCOMPARE(world.ChosenValue(2)->text(), QStringLiteral("6"));
    QCOMPARE(world.window->pattern()[1], 6);

    // A chosen earlier issue takes its pattern from that draw.
    auto* chosen = world.ChosenIssue();
    chosen->setFocus();
    chosen->setText(QStringLiteral("2014011601"));
    world.RangeStart()->setFocus();
    QCOMPARE(world.ChosenValue(2)->text(), QStringLiteral("2"));

    world.RangeEnd()->setText(QStringLiteral("x"));
    tabs->setCurrentIndex(0);
    QVERIFY(world.ChosenIssue()->isHidden());
    QVERIFY(world.window->manualTab());
    QCOMPARE(world.RangeEnd()->text(), QStringLiteral("2014011602"));
  }

  void zodiacValuesShowAsNamesOnTheChosenIssueTab() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14020101, {1, 2, 3, 4, 5, 6, 7, 8}}});
    ClickButton(world.TypeOption(1));
    world.PatternTabs()->setCurrentIndex(1);
    // 2014 is the year of the horse (sign 6): number 01 carries it.
    QCOMPARE(world.ChosenValue(1)->text(), QString::fromStdString(ZodiacName(6)));
  }

  void check4SetsTheRangeEndBeforeTheChosenIssue() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{13051283, {1, 2, 3, 4, 5, 6, 7, 8}}, Draw{13051284, {1, 2, 3, 4, 5, 6, 7, 8}},
                Draw{13051301, {1, 2, 3, 4, 5, 6, 7, 8}},
                Draw{13051302, {1, 2, 3, 4, 5, 6, 7, 8}}});
    world.PatternTabs()->setCurrentIndex(1);
    auto* chosen = world.ChosenIssue();
    auto* end = world.RangeEnd();
    auto* check4 = world.BeforeChosenIssue();
    chosen->setText(QStringLiteral("2013051301"));
    ClickButton(check4);
    QCOMPARE(end->text(), QStringLiteral("2013051284"));
    ClickButton(check4);
    QCOMPARE(end->text(), QStringLiteral("2013051302"));
    chosen->setText(QStringLiteral("2013051302"));
    ClickButton(check4);
    QCOMPARE(end->text(), QStringLiteral("2013051301"));
  }

  void issueBoxesShowTheNextAndLastIssue() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{13051284, {1, 2, 3, 4, 5, 6, 7, 8}}});
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2013051301"));
    QCOMPARE(world.ChosenIssue()->text(), QStringLiteral("2013051284"));
  }

  void selectionPanelFollowsTheSearchType() {
    WindowWorld world;
    world.Open();
    auto* count = world.CheckedCount();
    auto* all = world.SelectAllButton();
    auto* invert = world.InvertButton();
    ClickButton(all);
    QCOMPARE(count->text(), QStringLiteral("20"));
    ClickButton(invert);
    QCOMPARE(count->text(), QStringLiteral("0"));
    ClickButton(world.SelectionBox(4));
    QCOMPARE(count->text(), QStringLiteral("1"));

    const struct {
      int type;
      int shown;
      int countAfterAll;
      QString firstCaption;
      QString lastCaption;
    } types[] = {
        {2, 3, 5, QStringLiteral("0"), QStringLiteral("2")},
        {3, 10, 10, QStringLiteral("0"), QStringLiteral("9")},
        {4, 10, 13, QStringLiteral("1"), QStringLiteral("10")},
        {5, 5, 7, QStringLiteral("1"), QStringLiteral("5")},
        {1, 12, 12, QString::fromStdString(ZodiacName(0)), QString::fromStdString(ZodiacName(11))},
        {0, 20, 20, QStringLiteral("1"), QStringLiteral("20")},
    };
    for (const auto& type : types) {
      ClickButton(world.SelectionBox(1));
      ClickButton(world.TypeOption(type.type));
      QCOMPARE(count->text(), QStringLiteral("0"));  // a new type clears the panel
      QVERIFY(!world.SelectionBox(1)->isChecked());
      QCOMPARE(world.SelectionBox(1)->text(), type.firstCaption);
      QCOMPARE(world.SelectionBox(type.shown)->text(), type.lastCaption);
      for (int box = 1; box <= 20; ++box) {
        QCOMPARE(world.SelectionBox(box)->isHidden(), box > type.shown);
      }
      ClickButton(all);
      QCOMPARE(count->text(), QString::number(type.countAfterAll));
    }
  }

  void menusCarryEveryCaption() {
    WindowWorld world;
    world.Open();
    QStringList titles;
    for (QAction* action : world.window->menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("历史管理"), QStringLiteral("设置"),
                                  QStringLiteral("走势统计(&A)"), QStringLiteral("帮助(&H)")}));
    const struct {
      QString name;
      const char* caption;
    } items[] = {
        {kExportHistoryItem, "导出历史号码(&O)"},
        {kDeleteLastItem, "删除最后历史(&E)"},
        {kClearItem, "清空历史号码(&C)"},
        {kDeleteDownToItem, "删除到选定期(&D)"},
        {kDeleteCountItem, "删除最后指定数量期历史(&E)"},
        {kKeptYearsItem, "历史号码更新检索天(&Y)"},
        {kFrontPageItem, "软件服务主页(&P)"},
        {kDescriptionItem, "软件介绍说明(&R)"},
        {kWalkthroughItem, "软件演示说明录像下载(&D)"},
        {Named(kZodiacBaseItems, 0), "生肖(肖位)参数0~11"},
        {Named(kZodiacBaseItems, 1), "生肖(肖位)参数1~12"},
        {Named(kSegmentBaseItems, 0), "段数参数0~4"},
        {Named(kSegmentBaseItems, 1), "段数参数1~5"},
        {Named(kColourBaseItems, 0), "波色参数0~2"},
        {Named(kColourBaseItems, 1), "波色参数1~3"},
        {Named(kEditionItems, 0), "广东快乐十分"},
        {Named(kEditionItems, 7), "黑龙江快乐十分"},
    };
    for (const auto& item : items) {
      QCOMPARE(world.Action(item.name)->text(), QString::fromUtf8(item.caption));
    }
    QCOMPARE(world.ZodiacBaseMenu()->title(), QStringLiteral("生肖(肖位)参数设置(&S)"));
    QCOMPARE(world.EditionMenu()->title(), QStringLiteral("彩种选择"));
  }

  void editionMenuChecksOneItemAndKeepsOneDrawCountPerEdition() {
    WindowWorld world;
    world.Open();
    const struct {
      int edition;
      int drawsPerDay;
    } editions[] = {{3, 97}, {4, 71}, {5, 86}, {6, 72}, {0, 84}};
    for (const auto& edition : editions) {
      world.Action(Named(kEditionItems, edition.edition))->trigger();
      for (int item = 0; item < 8; ++item) {
        QCOMPARE(world.Action(Named(kEditionItems, item))->isChecked(), item == edition.edition);
      }
      QCOMPARE(world.StoredSetting("GsZl").toInt(), edition.edition);
      QCOMPARE(IssueRule::From(world.window->settings()).drawsPerDay, edition.drawsPerDay);
    }
  }

  void anotherEditionShowsItsFollowingIssue() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011684, {20, 1, 2, 3, 4, 5, 6, 7}}});
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011701"));
    world.Action(Named(kEditionItems, 3))->trigger();  // 97 draws a day
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011685"));
    QVERIFY(world.Outcome().contains(QStringLiteral("下一期 2014011685")));
  }

  void aSegmentBaseRederivesTheStoredDraws() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011601, {20, 1, 2, 3, 4, 5, 6, 7}}});
    QCOMPARE(world.window->index()->Field(0, SearchType::kSegment, 0), 5);
    world.Action(Named(kSegmentBaseItems, 0))->trigger();
    QVERIFY(world.Action(Named(kSegmentBaseItems, 0))->isChecked());
    QVERIFY(!world.Action(Named(kSegmentBaseItems, 1))->isChecked());
    QCOMPARE(world.StoredSetting("DsIni").toString(), QStringLiteral("0"));
    QCOMPARE(world.window->index()->Field(0, SearchType::kSegment, 0), 4);
    auto rows = StoredRows(*HistoryStore::OpenFolder(world.folder()));
    QCOMPARE(rows.front().fields[5][0], 4);

    world.Action(Named(kZodiacBaseItems, 0))->trigger();
    QCOMPARE(world.StoredSetting("SxIni").toString(), QStringLiteral("0"));
    rows = StoredRows(*HistoryStore::OpenFolder(world.folder()));
    // 16 January 2014 is before the Spring Festival: zodiac year 2013, the
    // snake (sign 5); number 20 is sign 5 − 19 ≡ 10 (狗), code 10 from base 0.
    QCOMPARE(rows.front().fields[1][0], 10);

    world.Action(Named(kColourBaseItems, 0))->trigger();
    QCOMPARE(world.StoredSetting("BsIni").toString(), QStringLiteral("0"));
    QVERIFY(!world.Action(Named(kColourBaseItems, 1))->isChecked());
  }

  void daySettingAsksUntilAValidAnswer() {
    WindowWorld world;
    world.Open();
    world.dialogs->inputs = {QStringLiteral("1"), QStringLiteral("17"), QStringLiteral("abc"),
                             QStringLiteral("16")};
    world.Action(kKeptYearsItem)->trigger();
    QCOMPARE(world.dialogs->Count(QStringLiteral("input")), 4);
    QCOMPARE(world.dialogs->Count(QStringLiteral("message")), 3);
    const auto& first = world.dialogs->asked.front();
    QCOMPARE(first.title, QStringLiteral("设置年数"));
    QCOMPARE(first.text, QStringLiteral("请输入更新需要保留的历史号码的年数（2~16中的任意自然数），"
                                        "如果超过年数将删除最早的一年的历史号码"));
    QCOMPARE(first.initial, QStringLiteral("6"));
    const auto& refusal = world.dialogs->asked[1];
    QCOMPARE(refusal.title, QStringLiteral("输入有误"));
    QCOMPARE(refusal.text,
             QStringLiteral("为了保证时效性和提高计算效率，软件只能统计16年以内的数据，"
                            "请输入2到16中的自然数。"));
    QCOMPARE(world.StoredSetting("IniSerchDay").toString(), QStringLiteral("16"));

    // Cancelling (an empty answer) changes nothing.
    world.Action(kKeptYearsItem)->trigger();
    QCOMPARE(world.window->settings().keptDays, 16);
    world.dialogs->inputs = {QStringLiteral("2")};
    world.Action(kKeptYearsItem)->trigger();
    QCOMPARE(world.StoredSetting("IniSerchDay").toString(), QStringLiteral("2"));
  }

  void combo1KeepsOnlyAValidPartSize() {
    WindowWorld world;
    world.Open();
    auto* combo = world.PartSize();
    auto* other = world.RangeStart();
    combo->setFocus();
    combo->setEditText(QStringLiteral("x"));
    other->setFocus();
    QCOMPARE(combo->currentText(), QStringLiteral("2"));
    QVERIFY(!world.StoredSetting("intZhWSetup").isValid());
    combo->setFocus();
    combo->setEditText(QStringLiteral("4"));
    other->setFocus();
    QCOMPARE(world.StoredSetting("intZhWSetup").toString(), QStringLiteral("4"));
    QCOMPARE(world.window->settings().partSize, 4);
  }

  void menusPopUpFromTheGridAndTheSettingsButton() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 5));
    auto* history = world.HistoryGrid();
    QTest::mouseRelease(history->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!world.HistoryMenu()->isVisible());
    QTest::mouseRelease(history->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(world.HistoryMenu()->isVisible());
    world.HistoryMenu()->hide();
    auto* results = world.HitList();
    QTest::mouseRelease(results->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(!world.HistoryMenu()->isVisible());
    ClickButton(world.SettingsButton());
    QVERIFY(world.SetupMenu()->isVisible());
    world.SetupMenu()->hide();
  }

  void guideLinksOpenTheShippedPages() {
    WindowWorld world;
    world.Open();
    world.Action(kFrontPageItem)->trigger();
    world.Action(kDescriptionItem)->trigger();
    world.Action(kWalkthroughItem)->trigger();
    QCOMPARE(world.dialogs->links.size(), size_t(3));
    QVERIFY(world.dialogs->links[0].toLocalFile().endsWith(QStringLiteral("docs/index.html")));
    for (const QUrl& link : world.dialogs->links) QVERIFY(QFile::exists(link.toLocalFile()));
  }

  void historyGridScrollsToTheNewestDrawFrom40Rows() {
    for (const int draws : {38, 39}) {
      WindowWorld world;
      world.Open(RotatingDraws(140116001, draws));
      auto* grid = world.HistoryGrid();
      QCOMPARE(grid->model()->rowCount(), draws);
      QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("期号"));
      QCOMPARE(grid->model()->data(grid->model()->index(draws - 1, 0)).toString(),
               QStringLiteral("20%1").arg(140116001 + draws - 1));
      if (draws == 38) {
        QCOMPARE(grid->TopRow(), 0);
      } else {
        QVERIFY(grid->TopRow() > 0);
        QCOMPARE(grid->TopRow(), grid->verticalScrollBar()->maximum());
        ExpectWholeRowsUpToTheNewest(grid);
      }
    }
  }

  // Scrolled to the end at any window height, the top row starts at the top
  // edge and the newest draw is wholly in view below it.
  void historyGridShowsWholeRowsAtTheEndAtAnySize() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 80));
    auto* grid = world.HistoryGrid();
    for (const int height : {800, 613, 700, 1000, 777}) {
      world.window->resize(1280, height);
      QApplication::processEvents();
      grid->ScrollToLastRow();
      QApplication::processEvents();
      QVERIFY(grid->TopRow() > 0);
      ExpectWholeRowsUpToTheNewest(grid);
      // Back from the end by a wheel notch and down again.
      grid->SetTopRow(grid->TopRow() - 1);
      grid->SetTopRow(grid->verticalScrollBar()->maximum());
      ExpectWholeRowsUpToTheNewest(grid);
    }
  }

  void resultGridsShowTheirHeadingsAndTheStatusBarSumsUpTheHistoryAtStart() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 12));
    auto* hits = world.HitList();
    QCOMPARE(Headings(hits), QStringList({"期号", "平1位", "平2位", "平3位", "平4位", "平5位",
                                          "平6位", "平7位", "平8位", "遗漏次数", "序号"}));
    QCOMPARE(hits->model()->rowCount(), 0);
    auto* summary = world.Summary();
    QCOMPARE(Headings(summary),
             QStringList({"号码（分组）", "最小遗漏", "最大遗漏", "最后遗漏", "大后比"}));
    QCOMPARE(summary->model()->rowCount(), 0);
    // The design widths apply to the headings shown before any analysis.
    QCOMPARE(hits->columnWidth(0), TwipsToPixels(1480, hits));
    QCOMPARE(summary->columnWidth(0), TwipsToPixels(1880, summary));

    QVERIFY(world.window->statusBar()->isVisible());
    QCOMPARE(
        world.Outcome(),
        QStringLiteral("历史号码共 12 期，从 20140116001 到 20140116012；下一期 20140116013。"));
  }

  // The history keeps the width of its columns; the results take the rest,
  // which at the default size holds every column of the hit list.
  void historyAndHitListShowEveryColumnAtTheDefaultSize() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    world.window->resize(1520, 900);
    QApplication::processEvents();
    for (GridView* grid : {world.HistoryGrid(), world.HitList(), world.Summary()}) {
      const int last = grid->model()->columnCount() - 1;
      QVERIFY2(
          grid->columnViewportPosition(last) + grid->columnWidth(last) <= grid->viewport()->width(),
          qPrintable(grid->objectName()));
    }
  }

  void manualEntryBoxesFollowEachOtherInTabOrder() {
    WindowWorld world;
    world.Open();
    QWidget* previous = world.NextIssue();
    for (int box = 1; box <= 8; ++box) {
      auto* current = world.EntryBox(box);
      QCOMPARE(NextFocusable(previous), static_cast<QWidget*>(current));
      previous = current;
    }
  }

  void wheelScrollsOnlyTheFocusedGridByOneRow() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 120));
    auto* grid = world.HistoryGrid();
    grid->SetTopRow(0);
    grid->setFocus();
    QVERIFY(grid->hasFocus());
    Wheel(grid->viewport(), 120);  // away from the user at the top: nothing
    QCOMPARE(grid->TopRow(), 0);
    Wheel(grid->viewport(), -120);
    QCOMPARE(grid->TopRow(), 1);
    Wheel(grid->viewport(), -360);  // a long turn is still one row
    QCOMPARE(grid->TopRow(), 2);
    Wheel(world.RangeStart(), -120);  // over another widget: the focused grid
    QCOMPARE(grid->TopRow(), 3);
    Wheel(grid->viewport(), 120);
    QCOMPARE(grid->TopRow(), 2);

    world.RangeStart()->setFocus();
    Wheel(grid->viewport(), -120);
    QCOMPARE(grid->TopRow(), 2);

    // Other widgets keep their own wheel behaviour.
    auto* combo = world.GroupSize();
    combo->setFocus();
    combo->setCurrentIndex(0);
    Wheel(combo, -120);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(grid->TopRow(), 2);
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::MainWindowTest)
#include "main_window_test.moc"
