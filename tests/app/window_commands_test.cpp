// The window's commands driven through its widgets with scripted dialogs:
// manual entry, text import, deletions, clearing and the analyses.

#include "analysis/history_index.h"
#include "history/typed_entry.h"
#include "tests/app/window_test_support.h"

namespace zs::testing {

class WindowCommandsTest : public QObject {
  Q_OBJECT

 private:
  // Types into whichever widget has the focus, as a user does.
  static void TypeIntoFocus(const QString& keys) {
    for (QChar key : keys) QTest::keyClicks(QApplication::focusWidget(), QString(key));
  }

  // 14011682, 14011683, 14011684, 14011701, 14011702 under 84 draws a day.
  static void OpenFiveIssueHistory(WindowWorld& world) {
    world.SetSetting("GsZl", QStringLiteral("0"));
    std::vector<Draw> draws;
    for (int32_t issue : {14011682, 14011683, 14011684, 14011701, 14011702}) {
      draws.push_back(Draw{issue, {1, 2, 3, 4, 5, 6, 7, 8}});
    }
    world.Open(draws);
  }
  static std::vector<int32_t> StoredIssues(WindowWorld& world) {
    std::vector<int32_t> issues;
    for (const Draw& draw : world.StoredDraws()) issues.push_back(draw.issue);
    return issues;
  }

 private slots:
  void typingEightNumbersStoresTheDrawAndStartsOver() {
    WindowWorld world;
    world.OpenOneDraw();
    world.EntryBox(1)->setFocus();
    TypeIntoFocus(QStringLiteral("0307150819201114"));
    const auto draws = world.StoredDraws();
    QCOMPARE(draws.size(), size_t(2));
    QCOMPARE(draws.back(), (Draw{14011602, {3, 7, 15, 8, 19, 20, 11, 14}}));
    for (int box = 1; box <= 8; ++box)
      QCOMPARE(world.EntryBox(box)->displayText(), QStringLiteral("__"));
    QVERIFY(world.EntryBox(1)->hasFocus());
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011603"));
    QCOMPARE(world.RangeEnd()->text(), QStringLiteral("2014011602"));
    QCOMPARE(world.HistoryGrid()->model()->rowCount(), 2);
    QCOMPARE(world.window->index()->DrawCount(), size_t(2));

    // The emptied boxes are not typing: a change without a key press stores nothing.
    for (int box = 1; box <= 7; ++box) world.EntryBox(box)->setText(QStringLiteral("0%1").arg(box));
    world.EntryBox(8)->setText(QStringLiteral("1"));
    QCOMPARE(world.EntryBox(8)->displayText(), QStringLiteral("1_"));
    QCOMPARE(world.StoredDraws().size(), size_t(2));
    // The first key re-enables storing.
    world.EntryBox(8)->setFocus();
    world.EntryBox(8)->setCursorPosition(1);
    TypeIntoFocus(QStringLiteral("9"));
    QCOMPARE(world.StoredDraws().size(), size_t(3));
    QCOMPARE(world.StoredDraws().back().numbers, (Numbers{1, 2, 3, 4, 5, 6, 7, 19}));
  }

  void box8StoresEvenWithBox3Incomplete() {
    WindowWorld world;
    world.OpenOneDraw();
    world.TypeEntry({"12", "13", "9", "14", "15", "16", "17", "18"});
    QCOMPARE(world.StoredDraws().back().numbers, (Numbers{12, 13, 9, 14, 15, 16, 17, 18}));

    // An empty first place gives 0, which is refused with a message.
    world.TypeEntry({"12", "13", "", "14", "15", "16", "17", "18"});
    QCOMPARE(world.StoredDraws().size(), size_t(2));
    QCOMPARE(world.dialogs->Count(QStringLiteral("message")), 1);
    QCOMPARE(world.dialogs->asked.back().title, QStringLiteral("输入有误"));

    // Editing box 5 without touching box 8 stores nothing.
    world.EntryBox(5)->setFocus();
    world.EntryBox(5)->selectAll();
    QTest::keyClicks(world.EntryBox(5), QStringLiteral("11"));
    QCOMPARE(world.StoredDraws().size(), size_t(2));
    QCOMPARE(world.dialogs->Count(QStringLiteral("message")), 1);
  }

  void repeatedNumbersAndAnEmptyHistoryAreRefused() {
    WindowWorld world;
    world.Open();
    world.EntryBox(1)->setFocus();
    TypeIntoFocus(QStringLiteral("0102030405060708"));
    QCOMPARE(world.StoredDraws().size(), size_t(0));
    QCOMPARE(world.dialogs->Count(QStringLiteral("message")), 1);
  }

  void importAsksThenReadsTheChosenFile() {
    WindowWorld world;
    world.OpenOneDraw();
    auto* import = world.ImportButton();
    const QString file = QString::fromStdString((world.folder() / "NEW.TXT").string());
    WriteFile(file,
              "14011701  01 02 03 04 05 06 07 08\r\n09 10 11 12 13 14 15 16\r\n"
              "no numbers here\r\n14011703  11 12 13\r\n");

    const int questionsBefore = world.dialogs->Count(QStringLiteral("question"));
    ClickButton(import);  // the file dialog is cancelled: nothing is asked
    QCOMPARE(world.dialogs->Count(QStringLiteral("question")), questionsBefore);
    const auto& open = world.dialogs->asked.back();
    QVERIFY(open.text.endsWith(QStringLiteral("历史号码")));
    QCOMPARE(open.initial, QStringLiteral("Text(*.txt)"));

    // Numbers typed before the import are not left for a later keystroke.
    world.EntryBox(1)->setFocus();
    TypeIntoFocus(QStringLiteral("0307"));
    world.dialogs->files = {file};
    world.dialogs->answers = {false};
    ClickButton(import);
    QCOMPARE(world.StoredDraws().size(), size_t(1));
    const auto& question = world.dialogs->asked.back();
    QCOMPARE(question.title, QStringLiteral("读入历史"));
    // The question says what the file holds beside what the history holds, that
    // the import replaces the whole history, and Enter cancels.
    QVERIFY2(question.text.contains(
                 QStringLiteral("中有 3 期历史号码，另有 1 个非空行无法读取；现有历史号码 1 期")),
             qPrintable(question.text));
    QVERIFY2(question.text.contains(QStringLiteral("替换现有的全部历史号码")),
             qPrintable(question.text));
    QVERIFY(!question.text.contains(QStringLiteral("不到一半")));
    QVERIFY(question.defaultButton == QuestionDefault::kCancel);

    world.dialogs->files = {file};
    ClickButton(import);
    for (int box = 1; box <= 8; ++box)
      QCOMPARE(world.EntryBox(box)->displayText(), QStringLiteral("__"));
    QCOMPARE(StoredIssues(world), (std::vector<int32_t>{14011701, 14011702, 14011703}));
    QCOMPARE(world.StoredDraws().back().numbers, (Numbers{11, 12, 13, 12, 13, 14, 15, 16}));
    QVERIFY(world.Outcome().contains(QStringLiteral("3 期")));
    QVERIFY(world.Outcome().contains(QStringLiteral("1 行沿用")));
    QVERIFY(world.Outcome().contains(QStringLiteral("跳过 1 行")));
    QCOMPARE(world.RangeStart()->text(), QStringLiteral("2014011701"));
    QCOMPARE(world.RangeEnd()->text(), QStringLiteral("2014011703"));
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011704"));
    QCOMPARE(world.window->index()->DrawCount(), size_t(3));

    WriteFile(file, "14011801  01 02 03 04 05 06 07 08\r\n\x8f\xfe\r\nnone\r\n");
    world.dialogs->files = {file};
    world.dialogs->answers = {false};
    ClickButton(import);
    QVERIFY(
        world.dialogs->asked.back().text.contains(QStringLiteral("不到一半的非空行是历史号码")));
    QCOMPARE(world.StoredDraws().size(), size_t(3));
  }

  void aFailedImportLeavesTheHistory() {
    WindowWorld world;
    world.OpenOneDraw();
    const QString empty = QString::fromStdString((world.folder() / "empty.txt").string());
    WriteFile(empty, "nothing to read\r\n");
    world.dialogs->files = {empty, QStringLiteral("/no/such/folder/history.txt"),
                            QString::fromStdString((world.folder() / "history.csv").string())};
    for (int attempt = 0; attempt < 3; ++attempt) {
      world.OutcomeLine()->clear();
      ClickButton(world.ImportButton());
      QCOMPARE(StoredIssues(world), (std::vector<int32_t>{14011601}));
      // A file that is not a .txt is not read at all; the others say why.
      QCOMPARE(world.Outcome().startsWith(QStringLiteral("未读入")), attempt < 2);
    }
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011602"));
  }

  // The installed program's first start: the offer of the shipped sample.
  void firstStartOffersTheSample_data() {
    QTest::addColumn<QString>("edition");  // GsZl stored before; empty: none chosen
    QTest::addColumn<bool>("seeded");      // the history already holds a draw
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("sample");  // file name in the data folder; written unless "missing"
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("draws");
    QTest::addColumn<QString>("editionAfter");
    const QString gd = QStringLiteral("广东快乐十分历史号码.txt");
    QTest::newRow("accepted, edition from the name") << "" << false << true << gd << 1 << 2 << "0";
    QTest::newRow("declined") << "" << false << false << gd << 1 << 0 << "";
    QTest::newRow("a chosen edition is kept") << "3" << false << true << gd << 1 << 2 << "3";
    QTest::newRow("a history is never replaced") << "0" << true << true << gd << 0 << 1 << "0";
    QTest::newRow("unnamed sample, no edition")
        << "" << false << true << QStringLiteral("sample.txt") << 1 << 2 << "";
    QTest::newRow("failed read restores the edition")
        << "" << false << true << QStringLiteral("missing") << 1 << 0 << "556";
  }
  void firstStartOffersTheSample() {
    QFETCH(QString, edition);
    QFETCH(bool, seeded);
    QFETCH(bool, answer);
    QFETCH(QString, sample);
    QFETCH(int, asked);
    QFETCH(int, draws);
    QFETCH(QString, editionAfter);
    WindowWorld world;
    if (!edition.isEmpty()) world.SetSetting("GsZl", edition);
    if (seeded) world.Seed({Draw{14011601, {1, 2, 3, 4, 5, 6, 7, 8}}});
    world.Open();
    const std::filesystem::path file =
        world.folder() /
        (sample == QStringLiteral("missing") ? QStringLiteral("广东快乐十分.txt") : sample)
            .toStdU16String();
    if (sample != QStringLiteral("missing")) {
      WriteFile(QString::fromStdU16String(file.u16string()),
                "25120901  11 01 16 19 10 12 09 17\r\n25120902  15 10 02 17 12 11 05 18\r\n");
    }
    world.dialogs->answers = {answer};
    world.window->OfferSampleHistory(file);
    QCOMPARE(world.dialogs->Count(QStringLiteral("question")), asked);
    QCOMPARE(int(world.StoredDraws().size()), draws);
    QCOMPARE(world.StoredSetting("GsZl").toString(), editionAfter);
    // A read sample is shown at once: the next issue follows its last.
    if (draws == 2) QCOMPARE(world.NextIssue()->text(), QStringLiteral("2025120903"));
  }

  void deletingTheLastThreeOfFiveIssues() {
    WindowWorld world;
    OpenFiveIssueHistory(world);
    world.dialogs->inputs = {QStringLiteral("3")};
    world.Action(kDeleteCountItem)->trigger();
    const auto& asked = world.dialogs->asked.back();
    QCOMPARE(asked.title, QStringLiteral("删除期数"));
    QCOMPARE(asked.text, QStringLiteral("请输入需要删除最后多少期历史号码（例如输入3，"
                                        "那么就将删除最后的3期历史号码）"));
    QCOMPARE(asked.initial, QStringLiteral("1"));
    QCOMPARE(StoredIssues(world), (std::vector<int32_t>{14011682, 14011683}));
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011684"));
    QCOMPARE(world.ChosenIssue()->text(), QStringLiteral("2014011683"));
    QCOMPARE(world.HistoryGrid()->model()->rowCount(), 2);
    QCOMPARE(world.window->index()->DrawCount(), size_t(2));

    // An answer that is no number deletes nothing.
    world.dialogs->inputs = {QStringLiteral("abc")};
    world.Action(kDeleteCountItem)->trigger();
    QCOMPARE(StoredIssues(world).size(), size_t(2));
  }

  // The issue is taken in the form the grid shows or the stored one; an
  // issue not in the history keeps the draws up to it and says it was not
  // stored; a text that is no issue deletes nothing.
  void deletingDownToAChosenIssue() {
    const struct {
      const char* answer;
      std::vector<int32_t> kept;
      const char* outcome;
    } cases[] = {
        {"2014011684", {14011682, 14011683, 14011684}, "已删除 2 期"},
        {"14011683", {14011682, 14011683}, "已删除 3 期"},
        {" 2014011701 ", {14011682, 14011683, 14011684, 14011701}, "已删除 1 期"},
        {"14011690", {14011682, 14011683, 14011684}, "没有第 14011690 期；已删除它之后的 2 期"},
        {"abc", {14011682, 14011683, 14011684, 14011701, 14011702}, "未删除"},
    };
    for (const auto& c : cases) {
      WindowWorld world;
      OpenFiveIssueHistory(world);
      world.dialogs->inputs = {QString::fromLatin1(c.answer)};
      world.Action(kDeleteDownToItem)->trigger();
      QCOMPARE(StoredIssues(world), c.kept);
      QVERIFY2(world.Outcome().contains(QString::fromUtf8(c.outcome)), qPrintable(world.Outcome()));
      QCOMPARE(world.HistoryGrid()->model()->rowCount(), int(c.kept.size()));
    }
  }

  void theDefaultAnswerDeletesExactlyTheLastDraw() {
    WindowWorld world;
    OpenFiveIssueHistory(world);
    world.Action(kDeleteDownToItem)->trigger();  // cancelled
    const auto& asked = world.dialogs->asked.back();
    QCOMPARE(asked.title, QStringLiteral("删除期数"));
    QCOMPARE(asked.initial, QStringLiteral("2014011701"));
    QCOMPARE(StoredIssues(world).size(), size_t(5));
    world.dialogs->inputs = {asked.initial};
    world.Action(kDeleteDownToItem)->trigger();
    QCOMPARE(StoredIssues(world), (std::vector<int32_t>{14011682, 14011683, 14011684, 14011701}));
  }

  // Another program (the command-line tool) adds a draw while the window is
  // open: the window's delete leaves the history it shows equal to the store.
  void deleteLastAfterAnotherProgramAddedADraw() {
    WindowWorld world;
    OpenFiveIssueHistory(world);
    StoreTypedDraw(*HistoryStore::OpenFolder(world.folder()), {2, 3, 4, 5, 6, 7, 8, 9},
                   DerivationRules::From(world.window->settings()));
    world.Action(kDeleteLastItem)->trigger();
    const std::shared_ptr<const HistoryIndex> shown = world.window->index();
    std::vector<int32_t> shownIssues;
    for (size_t draw = 0; draw < shown->DrawCount(); ++draw)
      shownIssues.push_back(shown->Issue(draw));
    QCOMPARE(shownIssues, StoredIssues(world));
    QCOMPARE(shownIssues.size(), size_t(5));
  }

  void deleteLastButtonAndMenu() {
    WindowWorld world;
    OpenFiveIssueHistory(world);
    ClickButton(world.DeleteLastButton());
    QCOMPARE(StoredIssues(world).size(), size_t(4));
    QVERIFY(world.EntryBox(1)->hasFocus());
    QCOMPARE(world.NextIssue()->text(), QStringLiteral("2014011702"));
    world.Action(kDeleteLastItem)->trigger();
    QCOMPARE(StoredIssues(world).size(), size_t(3));
    QCOMPARE(world.window->index()->DrawCount(), size_t(3));
    QCOMPARE(world.dialogs->asked.size(), size_t(0));  // no question
  }

  void clearingAsksFirst() {
    WindowWorld world;
    OpenFiveIssueHistory(world);
    world.dialogs->answers = {false, true};
    world.Action(kClearItem)->trigger();
    QCOMPARE(StoredIssues(world).size(), size_t(5));
    QCOMPARE(world.dialogs->asked.back().title, QStringLiteral("确认清空"));
    QCOMPARE(world.dialogs->asked.back().text, QStringLiteral("确定要清空所有的历史号码吗？"));
    world.Action(kClearItem)->trigger();
    QCOMPARE(StoredIssues(world).size(), size_t(0));
    QCOMPARE(world.HistoryGrid()->model()->rowCount(), 0);
    QCOMPARE(world.window->index()->DrawCount(), size_t(0));
  }

  // Range start idx 101, newest idx 115, number 20 in position 1 at idx 101,
  // 104, 105 and 110 only.
  void positionSearchWorkedExample() {
    WindowWorld world;
    std::vector<Draw> draws;
    for (int idx = 1; idx <= 115; ++idx) {
      const bool hit = idx == 101 || idx == 104 || idx == 105 || idx == 110;
      Draw draw{140116000 + idx, {}};
      draw.numbers[0] = hit ? 20 : idx % 19 + 1;
      int next = 1;
      for (int p = 1; p < 8; ++p) {
        while (next == draw.numbers[0] || next == 20) ++next;
        draw.numbers[size_t(p)] = next++;
      }
      draws.push_back(draw);
    }
    world.Open(draws);
    ClickButton(world.FixedPositions());  // fixed positions
    ClickButton(world.PositionCheck(1));
    world.TypePattern(1, QStringLiteral("20"));
    world.RangeStart()->setText(QStringLiteral("20140116101"));
    ClickButton(world.SearchButton());

    auto* hits = world.HitList();
    QCOMPARE(hits->model()->rowCount(), 4);
    QCOMPARE(hits->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("遗漏次数"));
    const QStringList omissions = {"1", "3", "1", "5"};
    for (int row = 0; row < 4; ++row) {
      QCOMPARE(Cell(hits, row, 9), omissions[row]);
      QCOMPARE(Cell(hits, row, 10), QString::number(row + 1));
    }
    QCOMPARE(Cell(hits, 0, 0), QStringLiteral("20140116101"));
    auto* summary = world.Summary();
    QCOMPARE(summary->model()->rowCount(), 1);
    QCOMPARE(Cell(summary, 0, 0), QStringLiteral("20 "));
    QCOMPARE(Cell(summary, 0, 1), QStringLiteral("1"));
    QCOMPARE(Cell(summary, 0, 2), QStringLiteral("5"));
    QCOMPARE(Cell(summary, 0, 3), QStringLiteral("6"));
    QCOMPARE(Cell(summary, 0, 4), QStringLiteral("0.833333333333333"));

    // A range box that is not a number touches nothing.
    world.RangeStart()->setText(QStringLiteral("abc"));
    ClickButton(world.SearchButton());
    QCOMPARE(hits->model()->rowCount(), 4);
    QVERIFY(world.Outcome().contains(QStringLiteral("未检索")));
  }

  void partialSearchLabelsItsSummary() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 30));
    const char* values[] = {"05", "11", "03", "18", "07", "12", "01", "20"};
    for (int position = 1; position <= 8; ++position) {
      auto* box = world.PatternBox(position);
      box->setFocus();
      box->setText(QString::fromLatin1(values[position - 1]));
    }
    ClickButton(world.PartialSearchButton());
    auto* summary = world.Summary();
    QCOMPARE(Cell(summary, 0, 0), QStringLiteral("05 11 03 18 07 12 01 20 (2)"));
    QCOMPARE(world.window->pattern()[7], 20);
    QVERIFY(world.HitList()->model()->rowCount() > 0);
  }

  void groupCalculationThenAColumnClick() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    for (int box : {1, 2, 3, 4}) ClickButton(world.SelectionBox(box));
    QCOMPARE(world.CheckedCount()->text(), QStringLiteral("4"));
    ClickButton(world.GroupButton());
    auto* table = world.Summary();
    QCOMPARE(table->model()->rowCount(), 6);
    QCOMPARE(table->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("最后遗漏"));
    for (int row = 1; row < 6; ++row) {
      QVERIFY(Cell(table, row - 1, 3).toInt() <= Cell(table, row, 3).toInt());
    }
    QSet<QString> labels;
    for (int row = 0; row < 6; ++row) labels.insert(Cell(table, row, 0));
    QCOMPARE(labels, (QSet<QString>{"01 02", "01 03", "01 04", "02 03", "02 04", "03 04"}));

    emit table->clicked(table->model()->index(0, 2));  // 最大遗漏
    QCOMPARE(table->model()->rowCount(), 6);
    for (int row = 1; row < 6; ++row) {
      QVERIFY(Cell(table, row - 1, 2).toInt() <= Cell(table, row, 2).toInt());
    }
  }

  void tooManyBoxesForTheGroupSizeAreRefused() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 10));
    ClickButton(world.SelectAllButton());
    ClickButton(world.SelectionBox(20));
    ClickButton(world.SelectionBox(19));
    ClickButton(world.SelectionBox(18));
    world.GroupSize()->setEditText(QStringLiteral("6"));
    ClickButton(world.GroupButton());
    QCOMPARE(world.dialogs->Count(QStringLiteral("message")), 1);
    QCOMPARE(world.dialogs->asked.back().title, QStringLiteral("数据溢出"));
    QCOMPARE(world.dialogs->asked.back().text,
             QStringLiteral("6个分组请选择16个（含）以内的个数的号码"));
    QCOMPARE(world.Summary()->model()->rowCount(), 0);
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::WindowCommandsTest)
#include "window_commands_test.moc"
