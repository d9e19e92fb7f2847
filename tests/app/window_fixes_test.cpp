// The window as found trying it: a keystroke that changes no entry box, the
// buttons that must not move under the cursor when the search type changes,
// the outcome line after a zodiac search and the omission table's sort order.
#include <QHeaderView>
#include <utility>

#include "tests/app/window_test_support.h"

namespace zs::testing {

class WindowFixesTest : public QObject {
  Q_OBJECT

 private:
  // Where the buttons a user clicks around a type change are, in the window.
  static QList<QRect> ButtonPlaces(WindowWorld& world) {
    QList<QRect> places;
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             world.TypeOption(0), world.TypeOption(5), world.DrawnOrder(), world.FreePositions(),
             world.SearchButton(), world.PartialSearchButton(), world.GroupButton(),
             world.SelectAllButton()}) {
      places << QRect(button->mapTo(world.window.get(), QPoint(0, 0)), button->size());
    }
    return places;
  }

 private slots:
  // Digits left in the boxes (a draw refused on an empty history, say) wait
  // for a keystroke that changes one: a digit the full box rejects is none.
  void aKeystrokeThatChangesNoBoxStoresNothing() {
    WindowWorld world;
    world.OpenOneDraw();
    for (int box = 1; box <= 8; ++box) {
      world.EntryBox(box)->setText(QStringLiteral("%1").arg(box + 8, 2, 10, QChar(u'0')));
    }
    QLineEdit* first = world.EntryBox(1);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(first->width() - 3, first->height() / 2));
    QTest::keyClicks(first, QStringLiteral("1"));
    QCOMPARE(world.StoredDraws().size(), size_t(1));
    QCOMPARE(first->displayText(), QStringLiteral("09"));
    // A keystroke that does change a box stores the draw the boxes hold.
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("17"));
    QCOMPARE(world.StoredDraws().size(), size_t(2));
    QCOMPARE(world.StoredDraws().back().numbers, (Numbers{17, 10, 11, 12, 13, 14, 15, 16}));
  }

  // The buttons stay under the cursor whichever search type is chosen,
  // although the selection panel shows another number of boxes.
  void aTypeChangeMovesNoButton() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 10));
    const QList<QRect> before = ButtonPlaces(world);
    for (int type : {1, 2, 3, 4, 5, 0}) {
      ClickButton(world.TypeOption(type));
      QApplication::processEvents();
      QCOMPARE(ButtonPlaces(world), before);
    }
  }

  // The outcome line names zodiac values by their signs, under the zodiac
  // base of the history: 9 is 猴 under base 1 and 鸡 under base 0.
  void aZodiacSearchNamesTheSigns() {
    for (const auto& [base, sign] : {std::pair{"1", "猴"}, std::pair{"0", "鸡"}}) {
      WindowWorld world;
      world.SetSetting("SxIni", QString::fromLatin1(base));
      world.Open(RotatingDraws(140116001, 10));
      ClickButton(world.TypeOption(1));
      ClickButton(world.PositionCheck(1));
      world.TypePattern(1, QStringLiteral("9"));
      ClickButton(world.SearchButton());
      QVERIFY2(world.Outcome().contains(QStringLiteral("第1位 ") + QString::fromUtf8(sign)),
               qPrintable(world.Outcome()));
    }
  }

  // The omission table sorts both ways: a second click on the heading
  // reverses, the arrow shows the order, the label column sorts nothing.
  void theOmissionTableSortsBothWaysWithAnArrow() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    for (int box : {1, 2, 3, 5, 8}) {
      ClickButton(world.SelectionBox(box));
    }
    ClickButton(world.GroupButton());
    auto* table = world.Summary();
    QHeaderView* header = table->horizontalHeader();
    const int rows = table->model()->rowCount();
    QCOMPARE(rows, 10);
    const auto expectOrder = [&](int column, Qt::SortOrder order) {
      QCOMPARE(header->sortIndicatorSection(), column);
      QCOMPARE(header->sortIndicatorOrder(), order);
      QVERIFY(Cell(table, 0, column).toDouble() != Cell(table, rows - 1, column).toDouble());
      for (int row = 1; row < rows; ++row) {
        const double earlier = Cell(table, row - 1, column).toDouble();
        const double later = Cell(table, row, column).toDouble();
        QVERIFY(order == Qt::AscendingOrder ? earlier <= later : earlier >= later);
      }
    };
    QVERIFY(header->isSortIndicatorShown());
    expectOrder(3, Qt::AscendingOrder);
    const auto clickHeading = [&](int column) {
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickHeading(3);
    expectOrder(3, Qt::DescendingOrder);
    clickHeading(0);
    expectOrder(3, Qt::DescendingOrder);
    emit table->clicked(table->model()->index(0, 3));  // a cell keeps the direction
    expectOrder(3, Qt::DescendingOrder);
    clickHeading(3);
    expectOrder(3, Qt::AscendingOrder);
    clickHeading(4);
    expectOrder(4, Qt::AscendingOrder);
    clickHeading(4);
    expectOrder(4, Qt::DescendingOrder);
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::WindowFixesTest)
#include "window_fixes_test.moc"
