// The main window: start-up states, option and tab handlers, issue and
// range boxes, the selection panel, the settings menus and the wheel.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QWheelEvent>

#include "analysis/zodiac_names.h"
#include "app/grid_view.h"
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
    QVERIFY(world.Find<QRadioButton>("Option1_1")->isChecked());
    QVERIFY(world.Find<QRadioButton>("Option1_3")->isChecked());
    QVERIFY(world.Find<QRadioButton>("Option2_4")->isChecked());
    QVERIFY(world.Find<QRadioButton>("Option3_0")->isChecked());
    for (int edition = 0; edition < 8; ++edition) {
      QVERIFY(!world.Action(QStringLiteral("mnuKL10_%1").arg(edition))->isChecked());
    }
    for (const char* menu : {"mnuDscs", "mnuSxcs", "mnuBscs"}) {
      QVERIFY(!world.Action(QStringLiteral("%1_0").arg(menu))->isChecked());
      QVERIFY(world.Action(QStringLiteral("%1_1").arg(menu))->isChecked());
    }
    QCOMPARE(world.Find<QComboBox>("Combo1")->currentText(), QStringLiteral("2"));
    QCOMPARE(world.Find<QComboBox>("Combo2")->currentText(), QStringLiteral("2"));
    QCOMPARE(world.Find<QLineEdit>("Text5")->text(), QStringLiteral("0"));
    for (int box = 1; box <= 20; ++box) {
      QCOMPARE(world.Find<QCheckBox>(QStringLiteral("Check6_%1").arg(box))->text(),
               QStringLiteral("%1").arg(box, 2, 10, QChar(u'0')));
    }
    QCOMPARE(world.window->settings().keptDays, 6);
    // No handler saved anything.
    QVERIFY(world.StoredKeys().isEmpty());
    QVERIFY(world.Outcome().contains(QStringLiteral("读取历史号文本")));
    QCOMPARE(world.Find<GridView>("MSFlexGrid1")->model()->rowCount(), 0);
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
    QVERIFY(world.Find<QRadioButton>("Option1_0")->isChecked());
    QVERIFY(world.Find<QRadioButton>("Option2_5")->isChecked());
    QVERIFY(world.Find<QRadioButton>("Option3_3")->isChecked());
    QVERIFY(world.Action("mnuKL10_2")->isChecked());
    QVERIFY(world.Action("mnuDscs_0")->isChecked());
    QVERIFY(!world.Action("mnuDscs_1")->isChecked());
    // The search type handler relabelled the panel for units digits.
    for (int box = 1; box <= 10; ++box) {
      auto* check = world.Find<QCheckBox>(QStringLiteral("Check6_%1").arg(box));
      QCOMPARE(check->text(), QString::number(box - 1));
      QVERIFY(!check->isHidden());
    }
    QVERIFY(world.Find<QCheckBox>("Check6_11")->isHidden());
  }

  void unreadableDatabaseStillOpensTheWindow() {
    WindowWorld world;
    QFile file(QString::fromStdString((world.folder() / "tessera.mdb").string()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a database at all, just some text that fills a page");
    file.close();
    world.Open();
    QVERIFY(world.window->history() == nullptr);
    QVERIFY(world.Outcome().contains(QStringLiteral("无法打开")));
    // Commands that need the history say so instead of failing silently.
    ClickButton(world.Find<QPushButton>("Command3"));
    QVERIFY(world.Outcome().contains(QStringLiteral("没有打开")));
  }

  void optionClicksSaveTheirKeysAndResetTheRangeStart() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open(RotatingDraws(14011601, 10));
    auto* start = world.Find<QLineEdit>("Text3_0");
    QCOMPARE(start->text(), QStringLiteral("2014011601"));
    QCOMPARE(world.Find<QLineEdit>("Text3_1")->text(), QStringLiteral("2014011610"));

    start->setText(QStringLiteral("2014011605"));
    ClickButton(world.Find<QRadioButton>("Option1_0"));
    QCOMPARE(world.StoredSetting("bolZyw").toString(), QStringLiteral("false"));
    QCOMPARE(start->text(), QStringLiteral("2014011601"));

    start->setText(QStringLiteral("2014011605"));
    ClickButton(world.Find<QRadioButton>("Option1_2"));  // "前    期": only the reset
    QCOMPARE(start->text(), QStringLiteral("2014011601"));
    QCOMPARE(world.window->settings().freePositions, false);

    ClickButton(world.Find<QRadioButton>("Option2_5"));
    QCOMPARE(world.StoredSetting("bolLdm").toString(), QStringLiteral("false"));
    ClickButton(world.Find<QRadioButton>("Option3_4"));
    QCOMPARE(world.StoredSetting("intLei").toString(), QStringLiteral("4"));
  }

  void patternBoxesAcceptOnlyDigitsAndMinus() {
    WindowWorld world;
    world.Open();
    auto* box = world.Find<QLineEdit>("Text22_3");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("a1x-2"));
    QCOMPARE(box->text(), QStringLiteral("1-2"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1-"));
    box->setText(QStringLiteral("7"));
    world.Find<QLineEdit>("Text22_4")->setFocus();
    QCOMPARE(world.window->pattern()[2], 7);
  }

  void tabsSwitchFramesAndTakeTheChosenIssuesValues() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open(
        {Draw{14011601, {1, 2, 4, 5, 6, 7, 8, 9}}, Draw{14011602, {3, 15, 1, 2, 4, 5, 6, 7}}});
    ClickButton(world.Find<QRadioButton>("Option3_4"));  // 合数
    auto* tabs = world.Find<QTabBar>("TabStrip1");
    tabs->setCurrentIndex(1);
    QVERIFY(!world.Find<QLineEdit>("Text4")->isHidden());
    QVERIFY(!world.Find<QCheckBox>("Check4")->isHidden());
    QVERIFY(!world.window->manualTab());
    QCOMPARE(world.Find<QLineEdit>("Text2_11")->text(), QStringLiteral("3"));
    QCOMPARE(world.Find<QLineEdit>("Text2_12")->text(), QStringLiteral("6"));
    QCOMPARE(world.window->pattern()[1], 6);

    // A chosen earlier issue takes its pattern from that draw.
    auto* chosen = world.Find<QLineEdit>("Text4");
    chosen->setFocus();
    chosen->setText(QStringLiteral("2014011601"));
    world.Find<QLineEdit>("Text3_0")->setFocus();
    QCOMPARE(world.Find<QLineEdit>("Text2_12")->text(), QStringLiteral("2"));

    world.Find<QLineEdit>("Text3_1")->setText(QStringLiteral("x"));
    tabs->setCurrentIndex(0);
    QVERIFY(world.Find<QLineEdit>("Text4")->isHidden());
    QVERIFY(world.window->manualTab());
    QCOMPARE(world.Find<QLineEdit>("Text3_1")->text(), QStringLiteral("2014011602"));
  }

  void zodiacValuesShowAsNamesOnTheChosenIssueTab() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14020101, {1, 2, 3, 4, 5, 6, 7, 8}}});
    ClickButton(world.Find<QRadioButton>("Option3_1"));
    world.Find<QTabBar>("TabStrip1")->setCurrentIndex(1);
    // 2014 is the year of the horse (sign 6): number 01 carries it.
    QCOMPARE(world.Find<QLineEdit>("Text2_11")->text(), QString::fromStdString(ZodiacName(6)));
  }

  void check4SetsTheRangeEndBeforeTheChosenIssue() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{13051283, {1, 2, 3, 4, 5, 6, 7, 8}}, Draw{13051284, {1, 2, 3, 4, 5, 6, 7, 8}},
                Draw{13051301, {1, 2, 3, 4, 5, 6, 7, 8}},
                Draw{13051302, {1, 2, 3, 4, 5, 6, 7, 8}}});
    world.Find<QTabBar>("TabStrip1")->setCurrentIndex(1);
    auto* chosen = world.Find<QLineEdit>("Text4");
    auto* end = world.Find<QLineEdit>("Text3_1");
    auto* check4 = world.Find<QCheckBox>("Check4");
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
    QCOMPARE(world.Find<QLineEdit>("Text1")->text(), QStringLiteral("2013051301"));
    QCOMPARE(world.Find<QLineEdit>("Text4")->text(), QStringLiteral("2013051284"));
  }

  void selectionPanelFollowsTheSearchType() {
    WindowWorld world;
    world.Open();
    auto* count = world.Find<QLineEdit>("Text5");
    auto* all = world.Find<QPushButton>("cmdZH_0");
    auto* invert = world.Find<QPushButton>("cmdZH_2");
    ClickButton(all);
    QCOMPARE(count->text(), QStringLiteral("20"));
    ClickButton(invert);
    QCOMPARE(count->text(), QStringLiteral("0"));
    ClickButton(world.Find<QCheckBox>("Check6_4"));
    QCOMPARE(count->text(), QStringLiteral("1"));

    const struct {
      const char* option;
      int shown;
      int countAfterAll;
      QString firstCaption;
      QString lastCaption;
    } types[] = {
        {"Option3_2", 3, 5, QStringLiteral("0"), QStringLiteral("2")},
        {"Option3_3", 10, 10, QStringLiteral("0"), QStringLiteral("9")},
        {"Option3_4", 10, 13, QStringLiteral("1"), QStringLiteral("10")},
        {"Option3_5", 5, 7, QStringLiteral("1"), QStringLiteral("5")},
        {"Option3_1", 12, 12, QString::fromStdString(ZodiacName(0)),
         QString::fromStdString(ZodiacName(11))},
        {"Option3_0", 20, 20, QStringLiteral("1"), QStringLiteral("20")},
    };
    for (const auto& type : types) {
      ClickButton(world.Find<QCheckBox>("Check6_1"));
      ClickButton(world.Find<QRadioButton>(type.option));
      QCOMPARE(count->text(), QStringLiteral("0"));  // a new type clears the panel
      QVERIFY(!world.Find<QCheckBox>("Check6_1")->isChecked());
      QCOMPARE(world.Find<QCheckBox>("Check6_1")->text(), type.firstCaption);
      QCOMPARE(world.Find<QCheckBox>(QStringLiteral("Check6_%1").arg(type.shown))->text(),
               type.lastCaption);
      for (int box = 1; box <= 20; ++box) {
        QCOMPARE(world.Find<QCheckBox>(QStringLiteral("Check6_%1").arg(box))->isHidden(),
                 box > type.shown);
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
      const char* name;
      const char* caption;
    } items[] = {
        {"mnuDcls", "导出历史号码(&O)"},
        {"mnuErase", "删除最后历史(&E)"},
        {"mnuClear", "清空历史号码(&C)"},
        {"mnuDlzd", "删除到选定期(&D)"},
        {"mnuEszhzd", "删除最后指定数量期历史(&E)"},
        {"mnuSxcs_0", "生肖(肖位)参数0~11"},
        {"mnuSxcs_1", "生肖(肖位)参数1~12"},
        {"mnuDscs_0", "段数参数0~4"},
        {"mnuDscs_1", "段数参数1~5"},
        {"mnuBscs_0", "波色参数0~2"},
        {"mnuBscs_1", "波色参数1~3"},
        {"mnuSetDay", "历史号码更新检索天(&Y)"},
        {"mnuFrontPage", "软件服务主页(&P)"},
        {"mnuDescrb", "软件介绍说明(&R)"},
        {"numYanshiDown", "软件演示说明录像下载(&D)"},
        {"mnuKL10_0", "广东快乐十分"},
        {"mnuKL10_7", "黑龙江快乐十分"},
    };
    for (const auto& item : items) {
      QCOMPARE(world.Action(QString::fromLatin1(item.name))->text(),
               QString::fromUtf8(item.caption));
    }
    QCOMPARE(world.Find<QMenu>("mnuSxCssetup")->title(), QStringLiteral("生肖(肖位)参数设置(&S)"));
    QCOMPARE(world.Find<QMenu>("mnuCaizhong")->title(), QStringLiteral("彩种选择"));
  }

  void editionMenuChecksOneItemAndKeepsOneDrawCountPerEdition() {
    WindowWorld world;
    world.Open();
    const struct {
      int edition;
      int drawsPerDay;
    } editions[] = {{3, 97}, {4, 71}, {5, 86}, {6, 72}, {0, 84}};
    for (const auto& edition : editions) {
      world.Action(QStringLiteral("mnuKL10_%1").arg(edition.edition))->trigger();
      for (int item = 0; item < 8; ++item) {
        QCOMPARE(world.Action(QStringLiteral("mnuKL10_%1").arg(item))->isChecked(),
                 item == edition.edition);
      }
      QCOMPARE(world.StoredSetting("GsZl").toInt(), edition.edition);
      QCOMPARE(IssueRule::From(world.window->settings()).drawsPerDay, edition.drawsPerDay);
    }
  }

  void anotherEditionShowsItsFollowingIssue() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011684, {20, 1, 2, 3, 4, 5, 6, 7}}});
    QCOMPARE(world.Find<QLineEdit>("Text1")->text(), QStringLiteral("2014011701"));
    world.Action("mnuKL10_3")->trigger();  // 97 draws a day
    QCOMPARE(world.Find<QLineEdit>("Text1")->text(), QStringLiteral("2014011685"));
    QVERIFY(world.Outcome().contains(QStringLiteral("下一期 2014011685")));
  }

  void aSegmentBaseRederivesTheStoredDraws() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011601, {20, 1, 2, 3, 4, 5, 6, 7}}});
    QCOMPARE(world.window->index()->Field(0, SearchType::kSegment, 0), 5);
    world.Action("mnuDscs_0")->trigger();
    QVERIFY(world.Action("mnuDscs_0")->isChecked());
    QVERIFY(!world.Action("mnuDscs_1")->isChecked());
    QCOMPARE(world.StoredSetting("DsIni").toString(), QStringLiteral("0"));
    QCOMPARE(world.window->index()->Field(0, SearchType::kSegment, 0), 4);
    auto rows = StoredRows(*HistoryStore::OpenFolder(world.folder()));
    QCOMPARE(rows.front().fields[5][0], 4);

    world.Action("mnuSxcs_0")->trigger();
    QCOMPARE(world.StoredSetting("SxIni").toString(), QStringLiteral("0"));
    rows = StoredRows(*HistoryStore::OpenFolder(world.folder()));
    // 16 January 2014 is before the Spring Festival: zodiac year 2013, the
    // snake (sign 5); number 20 is sign 5 − 19 ≡ 10 (狗), code 10 from base 0.
    QCOMPARE(rows.front().fields[1][0], 10);

    world.Action("mnuBscs_0")->trigger();
    QCOMPARE(world.StoredSetting("BsIni").toString(), QStringLiteral("0"));
    QVERIFY(!world.Action("mnuBscs_1")->isChecked());
  }

  void daySettingAsksUntilAValidAnswer() {
    WindowWorld world;
    world.Open();
    world.dialogs->inputs = {QStringLiteral("1"), QStringLiteral("17"), QStringLiteral("abc"),
                             QStringLiteral("16")};
    world.Action("mnuSetDay")->trigger();
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
    world.Action("mnuSetDay")->trigger();
    QCOMPARE(world.window->settings().keptDays, 16);
    world.dialogs->inputs = {QStringLiteral("2")};
    world.Action("mnuSetDay")->trigger();
    QCOMPARE(world.StoredSetting("IniSerchDay").toString(), QStringLiteral("2"));
  }

  void combo1KeepsOnlyAValidPartSize() {
    WindowWorld world;
    world.Open();
    auto* combo = world.Find<QComboBox>("Combo1");
    auto* other = world.Find<QLineEdit>("Text3_0");
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
    auto* history = world.Find<GridView>("MSFlexGrid1");
    QTest::mouseRelease(history->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!world.Find<QMenu>("mnuLsgl")->isVisible());
    QTest::mouseRelease(history->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(world.Find<QMenu>("mnuLsgl")->isVisible());
    world.Find<QMenu>("mnuLsgl")->hide();
    auto* results = world.Find<GridView>("MSFlexGrid2");
    QTest::mouseRelease(results->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(!world.Find<QMenu>("mnuLsgl")->isVisible());
    ClickButton(world.Find<QPushButton>("Command9"));
    QVERIFY(world.Find<QMenu>("mnuSetup")->isVisible());
    world.Find<QMenu>("mnuSetup")->hide();
  }

  void guideLinksOpenTheShippedPages() {
    WindowWorld world;
    world.Open();
    world.Action("mnuFrontPage")->trigger();
    world.Action("mnuDescrb")->trigger();
    world.Action("numYanshiDown")->trigger();
    QCOMPARE(world.dialogs->links.size(), size_t(3));
    QVERIFY(world.dialogs->links[0].toLocalFile().endsWith(QStringLiteral("docs/index.html")));
    for (const QUrl& link : world.dialogs->links) QVERIFY(QFile::exists(link.toLocalFile()));
  }

  void historyGridScrollsToTheNewestDrawFrom40Rows() {
    for (const int draws : {38, 39}) {
      WindowWorld world;
      world.Open(RotatingDraws(140116001, draws));
      auto* grid = world.Find<GridView>("MSFlexGrid1");
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
    auto* grid = world.Find<GridView>("MSFlexGrid1");
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
    auto* hits = world.Find<GridView>("MSFlexGrid2");
    QCOMPARE(Headings(hits), QStringList({"期号", "平1位", "平2位", "平3位", "平4位", "平5位",
                                          "平6位", "平7位", "平8位", "遗漏次数", "序号"}));
    QCOMPARE(hits->model()->rowCount(), 0);
    auto* summary = world.Find<GridView>("MSFlexGrid3");
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
    for (const char* name : {"MSFlexGrid1", "MSFlexGrid2", "MSFlexGrid3"}) {
      auto* grid = world.Find<GridView>(QString::fromLatin1(name));
      const int last = grid->model()->columnCount() - 1;
      QVERIFY2(
          grid->columnViewportPosition(last) + grid->columnWidth(last) <= grid->viewport()->width(),
          name);
    }
  }

  void manualEntryBoxesFollowEachOtherInTabOrder() {
    WindowWorld world;
    world.Open();
    QWidget* previous = world.Find<QLineEdit>("Text1");
    for (int box = 1; box <= 8; ++box) {
      auto* current = world.Find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(box));
      QCOMPARE(NextFocusable(previous), static_cast<QWidget*>(current));
      previous = current;
    }
  }

  void wheelScrollsOnlyTheFocusedGridByOneRow() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 120));
    auto* grid = world.Find<GridView>("MSFlexGrid1");
    grid->SetTopRow(0);
    grid->setFocus();
    QVERIFY(grid->hasFocus());
    Wheel(grid->viewport(), 120);  // away from the user at the top: nothing
    QCOMPARE(grid->TopRow(), 0);
    Wheel(grid->viewport(), -120);
    QCOMPARE(grid->TopRow(), 1);
    Wheel(grid->viewport(), -360);  // a long turn is still one row
    QCOMPARE(grid->TopRow(), 2);
    Wheel(world.Find<QLineEdit>("Text3_0"), -120);  // over another widget: the focused grid
    QCOMPARE(grid->TopRow(), 3);
    Wheel(grid->viewport(), 120);
    QCOMPARE(grid->TopRow(), 2);

    world.Find<QLineEdit>("Text3_0")->setFocus();
    Wheel(grid->viewport(), -120);
    QCOMPARE(grid->TopRow(), 2);

    // Other widgets keep their own wheel behaviour.
    auto* combo = world.Find<QComboBox>("Combo2");
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
