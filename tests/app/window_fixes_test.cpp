// The window as found trying it: a keystroke that changes no entry box, the
// buttons that must not move under the cursor when the search type changes,
// the outcome line after a zodiac search and the omission table's sort order.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "app/grid_view.h"
#include "tests/app/window_test_support.h"

namespace zs::testing {

class WindowFixesTest : public QObject {
  Q_OBJECT

 private:
  static QLineEdit* Box(WindowWorld& world, int box) {
    return world.Find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(box));
  }
  static QString Cell(GridView* grid, int row, int column) {
    return grid->model()->data(grid->model()->index(row, column)).toString();
  }
  // Where the buttons a user clicks around a type change are, in the window.
  static QList<QRect> ButtonPlaces(WindowWorld& world) {
    QList<QRect> places;
    for (const char* name : {"Option3_0", "Option3_5", "Option2_4", "Option1_1", "Command1",
                             "Command2", "Command5", "cmdZH_0"}) {
      auto* button = world.Find<QAbstractButton>(QString::fromLatin1(name));
      places << QRect(button->mapTo(world.window.get(), QPoint(0, 0)), button->size());
    }
    return places;
  }

 private slots:
  // Digits left in the boxes (a draw refused on an empty history, say) wait
  // for a keystroke that changes one: a digit the full box rejects is none.
  void aKeystrokeThatChangesNoBoxStoresNothing() {
    WindowWorld world;
    world.SetSetting("GsZl", QStringLiteral("0"));
    world.Open({Draw{14011601, {1, 2, 3, 4, 5, 6, 7, 8}}});
    for (int box = 1; box <= 8; ++box) {
      Box(world, box)->setText(QStringLiteral("%1").arg(box + 8, 2, 10, QChar(u'0')));
    }
    QLineEdit* first = Box(world, 1);
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
      ClickButton(world.Find<QRadioButton>(QStringLiteral("Option3_%1").arg(type)));
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
      ClickButton(world.Find<QRadioButton>("Option3_1"));
      ClickButton(world.Find<QCheckBox>("Check11_1"));
      world.Find<QLineEdit>("Text22_1")->setFocus();
      QTest::keyClicks(world.Find<QLineEdit>("Text22_1"), QStringLiteral("9"));
      ClickButton(world.Find<QPushButton>("Command1"));
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
      ClickButton(world.Find<QCheckBox>(QStringLiteral("Check6_%1").arg(box)));
    }
    ClickButton(world.Find<QPushButton>("Command5"));
    auto* table = world.Find<GridView>("MSFlexGrid3");
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
