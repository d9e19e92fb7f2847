// What a new user runs into: each case drives the window as a user would
// and checks that the trap is mended (entry boxes, layout, cut cells, the
// outcome line, Qt's dialogs, deletions by issue, refused draws, defaults of
// destructive questions, pending edits before a command, opening the guide,
// update failures).
#include <QMessageBox>
#include <QStatusTipEvent>
#include <QTimer>

#include "app/qt_translations.h"
#include "tests/app/window_test_support.h"
#include "tests/support/results_server.h"

namespace zs::testing {

class NewUserTest : public QObject {
  Q_OBJECT

 private:
  static void OpenOneDrawHistory(WindowWorld& world) { world.OpenOneDraw(); }
 private slots:
  void initTestCase() { QVERIFY(InstallQtChineseTranslations()); }

  void anEntryBoxTakesDigitsWhereverItIsClicked() {
    WindowWorld world;
    world.OpenOneDraw();
    auto* box = world.EntryBox(2);
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
      if (!label->isVisibleTo(world.window.get()) || label == world.OutcomeLine()) continue;
      QVERIFY2(label->width() >= label->minimumSizeHint().width(), qPrintable(label->text()));
    }
    world.window->resize(1366, 768 - 60);  // a 1366×768 screen less the panel
    QApplication::processEvents();
    auto* hits = world.HitList();
    const int last = hits->model()->columnCount() - 1;
    QVERIFY(hits->columnViewportPosition(last) + hits->columnWidth(last) <=
            hits->viewport()->width());
  }

  void summaryCellsShowTheirWholeText() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 30));
    for (int position = 1; position <= 8; ++position) {
      world.PatternBox(position)->setText(QString::number(position * 2));
    }
    ClickButton(world.PartialSearchButton());
    auto* summary = world.Summary();
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
    world.OpenOneDraw();
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
    world.OpenOneDraw();
    world.dialogs->answers = {false};
    world.Action(kClearItem)->trigger();
    QVERIFY(world.dialogs->asked.back().defaultButton == QuestionDefault::kCancel);
  }

  void aRefusedDrawNamesItsBoxAndIsStoredOnceCorrected() {
    WindowWorld world;
    world.OpenOneDraw();
    world.TypeEntry({"01", "02", "03", "04", "02", "06", "07", "08"});
    QCOMPARE(world.StoredDraws().size(), size_t(1));
    QVERIFY2(world.dialogs->asked.back().text.contains(QStringLiteral("第5个框")),
             qPrintable(world.dialogs->asked.back().text));
    QVERIFY(world.Outcome().contains(QStringLiteral("第5个框")));
    QCOMPARE(world.window->focusWidget(), world.EntryBox(5));
    QCOMPARE(world.EntryBox(5)->selectedText(), QStringLiteral("02"));
    world.TypeEntry({{}, {}, {}, {}, "15", {}, {}, {}});
    QCOMPARE(world.StoredDraws().size(), size_t(2));
    QCOMPARE(world.StoredDraws().back().numbers, (Numbers{1, 2, 3, 4, 15, 6, 7, 8}));
    QVERIFY(world.Outcome().startsWith(QStringLiteral("已保存")));
  }

  // An access key clicks a button without moving the focus out of the box.
  void pendingEditsApplyBeforeTheCommand() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011601, {1, 2, 3, 4, 5, 6, 7, 8}},
                Draw{14011602, {9, 10, 11, 12, 13, 14, 15, 16}}});
    auto* partSize = world.PartSize();
    partSize->setFocus();
    partSize->lineEdit()->selectAll();
    QTest::keyClicks(partSize->lineEdit(), QStringLiteral("3"));
    world.PartialSearchButton()->click();  // as Alt+G: the focus stays in the box
    QVERIFY(partSize->hasFocus());
    QCOMPARE(world.window->settings().partSize, 3);
    QVERIFY2(world.Outcome().contains(QStringLiteral("分部位数 3")), qPrintable(world.Outcome()));

    world.PatternTabs()->setCurrentIndex(1);
    auto* chosen = world.ChosenIssue();
    chosen->setFocus();
    chosen->selectAll();
    QTest::keyClicks(chosen, QStringLiteral("2014011601"));
    world.SearchButton()->click();
    QVERIFY(chosen->hasFocus());
    QCOMPARE(world.window->pattern()[0], 1);
    QCOMPARE(world.ChosenValue(1)->text(), QStringLiteral("1"));
  }

  void theGuideSaysWhenNothingCanOpenIt() {
    for (const bool canOpen : {true, false}) {
      WindowWorld world;
      world.Open();
      world.dialogs->canOpenLinks = canOpen;
      world.Action(kGuideItem)->trigger();
      QCOMPARE(world.dialogs->links.size(), size_t(1));
      QVERIFY(QFile::exists(world.dialogs->links.front().toLocalFile()));
      QCOMPARE(world.dialogs->Count(QStringLiteral("message")), canOpen ? 0 : 1);
      QCOMPARE(world.Outcome().contains(QStringLiteral("没有可打开")), !canOpen);
    }
    WindowWorld world;
    world.Open();
    world.Action(kAboutItem)->trigger();
    QVERIFY(world.dialogs->asked.back().text.contains(QStringLiteral("Zephyrstat")));
  }

  void aFailedUpdateSaysWhyInChineseAndWhereTheAddressIs() {
    WindowWorld world;
    world.SetSetting("ResultsUrl", QString::fromStdString(UrlTemplateForPort(ClosedPort())));
    world.OpenOneDraw();
    ClickButton(world.UpdateButton());
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
