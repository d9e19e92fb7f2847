// What a new user runs into: each case drives the window as a user would
// and checks that the trap is mended (entry boxes, layout, cut cells, the
// outcome line, Qt's dialogs, deletions by issue, refused draws, defaults of
// destructive questions, keys in the pattern boxes, pending edits before a
// command, opening the guide, update failures).
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>

#include "app/grid_view.h"
#include "app/qt_translations.h"
#include "tests/app/window_test_support.h"
#include "tests/support/results_server.h"

namespace zs::testing {

class NewUserTest : public QObject {
  Q_OBJECT

 private:
  static QLineEdit* Box(WindowWorld& world, int box) {
    return world.Find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(box));
  }
  static void OpenOneDrawHistory(WindowWorld& world) {
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011601, {1, 2, 3, 4, 5, 6, 7, 8}}});
  }
  static void TypeBoxes(WindowWorld& world, const QStringList& texts) {
    for (int box = 1; box <= 8; ++box) {
      if (texts[box - 1].isNull()) continue;
      Box(world, box)->setFocus();
      Box(world, box)->selectAll();
      QTest::keyClicks(Box(world, box), texts[box - 1]);
    }
  }

 private slots:
  void initTestCase() { QVERIFY(InstallQtChineseTranslations()); }

  void anEntryBoxTakesDigitsWhereverItIsClicked() {
    WindowWorld world;
    OpenOneDrawHistory(world);
    auto* box = Box(world, 2);
    for (const int x : {2, box->width() / 2, box->width() - 3}) {
      box->clear();
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, box->height() / 2));
      QTest::keyClicks(box, QStringLiteral("07"));
      QCOMPARE(box->displayText(), QStringLiteral("07"));
    }
  }

  void theWindowKeepsCaptionsWholeAndTheHitListInView() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    world.window->resize(1, 1);  // as small as the window lets itself be
    QApplication::processEvents();
    for (auto* button : world.window->findChildren<QAbstractButton*>()) {
      if (!button->isVisibleTo(world.window.get()) || button->text().isEmpty()) continue;
      QVERIFY2(button->width() >= button->minimumSizeHint().width(), qPrintable(button->text()));
    }
    for (auto* label : world.window->findChildren<QLabel*>()) {
      if (!label->isVisibleTo(world.window.get()) || label->objectName() == "outcomeLine") continue;
      QVERIFY2(label->width() >= label->minimumSizeHint().width(), qPrintable(label->text()));
    }
    world.window->resize(1366, 768 - 60);  // a 1366×768 screen less the panel
    QApplication::processEvents();
    auto* hits = world.Find<GridView>("MSFlexGrid2");
    const int last = hits->model()->columnCount() - 1;
    QVERIFY(hits->columnViewportPosition(last) + hits->columnWidth(last) <=
            hits->viewport()->width());
  }

  void summaryCellsShowTheirWholeText() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 30));
    for (int position = 1; position <= 8; ++position) {
      world.Find<QLineEdit>(QStringLiteral("Text22_%1").arg(position))
          ->setText(QString::number(position * 2));
    }
    ClickButton(world.Find<QPushButton>("Command2"));
    auto* summary = world.Find<GridView>("MSFlexGrid3");
    for (int column = 0; column < summary->model()->columnCount(); ++column) {
      const QModelIndex cell = summary->model()->index(0, column);
      const QString text = cell.data().toString();
      QCOMPARE(cell.data(Qt::ToolTipRole).toString(), text);
      QVERIFY2(summary->columnWidth(column) > summary->fontMetrics().horizontalAdvance(text),
               qPrintable(text));
    }
  }

  void theOutcomeStaysWhenAMenuShowsItsHint() {
    WindowWorld world;
    OpenOneDrawHistory(world);
    const QString outcome = world.Outcome();
    QVERIFY(outcome.contains(QStringLiteral("共 1 期")));
    QStatusTipEvent hint{QString()};  // what hovering a menu sends
    QApplication::sendEvent(world.window.get(), &hint);
    QCOMPARE(world.Outcome(), outcome);
  }

  void qtDialogsSpeakChinese() {
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
  }

  // Enter answers a question with its default button.
  void enterCancelsADestructiveQuestion() {
    const struct {
      QuestionDefault defaultButton;
      bool answer;
    } cases[] = {{QuestionDefault::kCancel, false}, {QuestionDefault::kOk, true}};
    auto dialogs = MakeWidgetDialogs();
    for (const auto& c : cases) {
      QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box != nullptr);
        QTest::keyClick(box, Qt::Key_Return);
      });
      QCOMPARE(dialogs->Question(nullptr, QStringLiteral("确认清空"), QStringLiteral("?"),
                                 c.defaultButton),
               c.answer);
    }
    WindowWorld world;
    OpenOneDrawHistory(world);
    world.dialogs->answers = {false};
    world.Action("mnuClear")->trigger();
    QVERIFY(world.dialogs->asked.back().defaultButton == QuestionDefault::kCancel);
  }

  void aRefusedDrawNamesItsBoxAndIsStoredOnceCorrected() {
    WindowWorld world;
    OpenOneDrawHistory(world);
    TypeBoxes(world, {"01", "02", "03", "04", "02", "06", "07", "08"});
    QCOMPARE(world.StoredDraws().size(), size_t(1));
    QVERIFY2(world.dialogs->asked.back().text.contains(QStringLiteral("第5个框")),
             qPrintable(world.dialogs->asked.back().text));
    QVERIFY(world.Outcome().contains(QStringLiteral("第5个框")));
    QCOMPARE(world.window->focusWidget(), Box(world, 5));
    QCOMPARE(Box(world, 5)->selectedText(), QStringLiteral("02"));
    TypeBoxes(world, {{}, {}, {}, {}, "15", {}, {}, {}});
    QCOMPARE(world.StoredDraws().size(), size_t(2));
    QCOMPARE(world.StoredDraws().back().numbers, (Numbers{1, 2, 3, 4, 15, 6, 7, 8}));
    QVERIFY(world.Outcome().startsWith(QStringLiteral("已保存")));
  }

  void editingKeysWorkInAPatternBox() {
    WindowWorld world;
    OpenOneDrawHistory(world);
    auto* box = world.Find<QLineEdit>("Text22_1");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("12x"));
    QCOMPARE(box->text(), QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("5"));
    QCOMPARE(box->text(), QStringLiteral("5"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, QStringLiteral("9"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(world.window->pattern()[0], 9);
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(!box->hasFocus());
  }

  // An access key clicks a button without moving the focus out of the box.
  void pendingEditsApplyBeforeTheCommand() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011601, {1, 2, 3, 4, 5, 6, 7, 8}},
                Draw{14011602, {9, 10, 11, 12, 13, 14, 15, 16}}});
    auto* partSize = world.Find<QComboBox>("Combo1");
    partSize->setFocus();
    partSize->lineEdit()->selectAll();
    QTest::keyClicks(partSize->lineEdit(), QStringLiteral("3"));
    world.Find<QPushButton>("Command2")->click();  // as Alt+G: the focus stays in the box
    QVERIFY(partSize->hasFocus());
    QCOMPARE(world.window->settings().partSize, 3);
    QVERIFY2(world.Outcome().contains(QStringLiteral("分部位数 3")), qPrintable(world.Outcome()));

    world.Find<QTabBar>("TabStrip1")->setCurrentIndex(1);
    auto* chosen = world.Find<QLineEdit>("Text4");
    chosen->setFocus();
    chosen->selectAll();
    QTest::keyClicks(chosen, QStringLiteral("2014011601"));
    world.Find<QPushButton>("Command1")->click();
    QVERIFY(chosen->hasFocus());
    QCOMPARE(world.window->pattern()[0], 1);
    QCOMPARE(world.Find<QLineEdit>("Text2_11")->text(), QStringLiteral("1"));
  }

  void theGuideSaysWhenNothingCanOpenIt() {
    for (const bool canOpen : {true, false}) {
      WindowWorld world;
      world.Open();
      world.dialogs->canOpenLinks = canOpen;
      world.Action("mnuGuide")->trigger();
      QCOMPARE(world.dialogs->links.size(), size_t(1));
      QVERIFY(QFile::exists(world.dialogs->links.front().toLocalFile()));
      QCOMPARE(world.dialogs->Count(QStringLiteral("message")), canOpen ? 0 : 1);
      QCOMPARE(world.Outcome().contains(QStringLiteral("没有可打开")), !canOpen);
    }
    WindowWorld world;
    world.Open();
    world.Action("mnuAbout")->trigger();
    QVERIFY(world.dialogs->asked.back().text.contains(QStringLiteral("Zephyrstat")));
  }

  void aFailedUpdateSaysWhyInChineseAndWhereTheAddressIs() {
    WindowWorld world;
    world.SetSetting("ResultsUrl", QString::fromStdString(UrlTemplateForPort(ClosedPort())));
    OpenOneDrawHistory(world);
    ClickButton(world.Find<QPushButton>("Command21"));
    QTRY_COMPARE_WITH_TIMEOUT(world.dialogs->Count(QStringLiteral("message")), 1, 10000);
    const QString message = world.dialogs->asked.back().text;
    QVERIFY2(message.contains(QStringLiteral("拒绝连接")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("设置 → 历史号码更新网址")), qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("refused")), qPrintable(message));
    QCOMPARE(world.StoredDraws().size(), size_t(1));
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::NewUserTest)
#include "new_user_test.moc"
