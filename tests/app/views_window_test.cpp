// The 走势统计 window and the distribution chart, driven through the main
// window: one window for both menu items, following the search options and
// the history, the trend tab's hits and scrolling, sorting and exporting the
// statistics, and the charts of the three grids.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "app/grid_view.h"
#include "app/views/distribution_chart.h"
#include "app/views/trend_model.h"
#include "app/views/views_hooks.h"
#include "tests/app/window_test_support.h"

namespace zs::testing {

class ViewsWindowTest : public QObject {
  Q_OBJECT

 private:
  static QString Cell(QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column)).toString();
  }
  // Every text of a grid, the heading row first.
  static std::vector<std::string> Texts(const GridSource& grid) {
    std::vector<std::string> texts = grid.Headings();
    std::string scratch;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
      for (size_t column = 0; column < grid.ColumnCount(); ++column) {
        texts.emplace_back(grid.CellText(row, column, scratch));
      }
    }
    return texts;
  }
  // The views window after the queued refreshes have run.
  static ViewsWindow* Settled(WindowWorld& world) {
    QCoreApplication::processEvents();
    return world.window->findChild<ViewsWindow*>();
  }

 private slots:
  void bothMenuItemsOpenOneWindowThatFollowsTheOptionsAndTheHistory() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 40));
    world.Action(QStringLiteral("mnuTrend"))->trigger();
    world.Action(QStringLiteral("mnuStatistics"))->trigger();
    QCOMPARE(world.window->findChildren<ViewsWindow*>().size(), 1);
    ViewsWindow* views = Settled(world);
    QVERIFY(views->isVisible());

    // Trend: a row per draw, newest at the bottom and scrolled to; a cell
    // is a hit exactly when it shows the box's label.
    QAbstractItemModel* trend = views->trendView()->model();
    QCOMPARE(trend->rowCount(), 40);
    QCOMPARE(trend->columnCount(), 21);
    QTableView* trendView = views->trendView();
    QCOMPARE(trendView->verticalScrollBar()->value(), trendView->verticalScrollBar()->maximum());
    for (int row : {0, 39}) {
      for (int column = 1; column <= 20; ++column) {
        const bool hit = trend->data(trend->index(row, column), TrendModel::kHitRole).toBool();
        QCOMPARE(hit, Cell(trend, row, column) == trend->headerData(column, Qt::Horizontal));
      }
    }
    QCOMPARE(views->footerView()->model()->rowCount(), 4);

    // Zodiac, fixed, first checked position 3, a shorter range: the window
    // shows what the engine gives for exactly these options.
    ClickButton(world.Find<QRadioButton>("Option3_1"));
    ClickButton(world.Find<QRadioButton>("Option1_0"));
    ClickButton(world.Find<QCheckBox>("Check11_5"));
    ClickButton(world.Find<QCheckBox>("Check11_3"));
    world.Find<QLineEdit>("Text3_0")->setText(QStringLiteral("140116011"));
    Settled(world);
    BoxViewRequest request;
    request.type = SearchType::kZodiac;
    request.freePositions = false;
    request.position = 2;
    request.bases = {world.window->settings().sxIni, world.window->settings().dsIni};
    request.startBox = "140116011";
    request.endBox = world.Find<QLineEdit>("Text3_1")->text().toStdString();
    const Grid expected = BoxStatisticsGrid(BoxView(world.window->index(), request));
    QVERIFY(Texts(views->statisticsView()->grid()) == Texts(expected));
    QCOMPARE(trend->rowCount(), 30);
    QVERIFY(views->caption().contains(QStringLiteral("第3位")));

    // A range box that is not a number says so and shows nothing.
    world.Find<QLineEdit>("Text3_0")->setText(QStringLiteral("abc"));
    Settled(world);
    QCOMPARE(trend->rowCount(), 0);
    QVERIFY(views->caption().contains(QStringLiteral("无法显示")));
    world.Find<QLineEdit>("Text3_0")->setText(QStringLiteral("140116011"));

    // Deleting the newest draw refreshes the window; a closed window
    // catches up when it opens again.
    ClickButton(world.Find<QPushButton>("Command3"));
    Settled(world);
    QCOMPARE(trend->rowCount(), 29);
    views->close();
    ClickButton(world.Find<QPushButton>("Command3"));
    Settled(world);
    world.Action(QStringLiteral("mnuTrend"))->trigger();
    QCOMPARE(trend->rowCount(), 28);
  }

  void statisticsSortByValueAndExportAsShown() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 50));
    ViewsWindow* views = world.window->views().OpenViews(ViewsWindow::kStatisticsTab);
    GridView* statistics = views->statisticsView();
    QHeaderView* header = statistics->horizontalHeader();
    // 最后遗漏 (column 4): numbers by value, ascending then descending.
    for (bool descending : {false, true}) {
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(4) + 5, header->height() / 2));
      for (int row = 1; row < 20; ++row) {
        const int above = Cell(statistics->model(), row - 1, 4).toInt();
        const int below = Cell(statistics->model(), row, 4).toInt();
        QVERIFY2(descending ? above >= below : above <= below, qPrintable(QString::number(row)));
      }
    }
    emit statistics->doubleClicked(statistics->model()->index(0, 0));
    const auto file = world.folder() / "Tongji.xls";
    QVERIFY(std::filesystem::exists(file));
    QCOMPARE(world.dialogs->opener.opened.back(), file);

    // The chart of a sorted row is the chart of the box that row shows.
    const QString label = Cell(statistics->model(), 0, 0);
    QWidget* chart = views->ShowDistributionOfRow(0);
    QVERIFY(chart != nullptr);
    QVERIFY(chart->windowTitle().endsWith(label));
  }

  void resultGridChartsAndSavesAPicture() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    // No search yet: the result grid is an empty omission table.
    QCOMPARE(world.window->views().ShowResultDistribution(0), nullptr);

    world.Find<QLineEdit>("Text22_1")->setFocus();
    QTest::keyClicks(world.Find<QLineEdit>("Text22_1"), QStringLiteral("7"));
    ClickButton(world.Find<QCheckBox>("Check11_1"));
    ClickButton(world.Find<QPushButton>("Command1"));
    auto* chart = qobject_cast<DistributionChart*>(world.window->views().ShowResultDistribution(0));
    QVERIFY(chart != nullptr);
    auto* table = chart->findChild<GridView*>(QStringLiteral("DistributionGrid"));
    int64_t hits = 0;
    std::string scratch;
    for (size_t row = 0; row < table->grid().RowCount(); ++row) {
      hits += std::stoll(std::string(table->grid().CellText(row, 1, scratch)));
    }
    QCOMPARE(hits, int64_t(world.Find<GridView>("MSFlexGrid2")->grid().RowCount()));

    const QString picture = QString::fromStdString((world.folder() / "chart.png").string());
    QVERIFY(chart->SavePicture(picture));
    QVERIFY(!QImage(picture).isNull());
    QVERIFY(!chart->SavePicture(QStringLiteral("/nonexistent-folder/chart.png")));
  }

  // The chart of an omission-table row counts the hits as the table was
  // calculated (type, bases, range, history), whatever the panels show now:
  // "01 03" are digit sums too, and under 合数 would chart other draws.
  void omissionTableRowChartsItsOwnCalculation() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    ClickButton(world.Find<QCheckBox>("Check6_1"));
    ClickButton(world.Find<QCheckBox>("Check6_3"));
    world.Find<QComboBox>("Combo2")->setEditText(QStringLiteral("2"));
    ClickButton(world.Find<QPushButton>("Command5"));
    auto chartTexts = [&world] {
      QWidget* chart = world.window->views().ShowResultDistribution(0);
      if (chart == nullptr) return std::vector<std::string>();
      return Texts(chart->findChild<GridView*>(QStringLiteral("DistributionGrid"))->grid());
    };
    const std::vector<std::string> calculated = chartTexts();
    QVERIFY(calculated.size() > 2);
    ClickButton(world.Find<QRadioButton>("Option3_4"));
    world.Find<QLineEdit>("Text3_1")->setText(QStringLiteral("2014011640"));
    QCOMPARE(chartTexts(), calculated);
  }

  // The trend keeps the history it was computed from while a change
  // replaces it, until the refresh shows the new one.
  void theTrendOutlivesAChangeOfTheHistory() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    const TrendModel& trend = world.window->views().OpenViews(ViewsWindow::kTrendTab)->trendModel();
    QCOMPARE(trend.rowCount(), 60);
    world.dialogs->inputs = {QStringLiteral("10")};
    world.Action("mnuEszhzd")->trigger();
    QCOMPARE(world.StoredDraws().size(), size_t(50));
    QCOMPARE(trend.rowCount(), 60);
    for (int row = 0; row < trend.rowCount(); row += int(TrendModel::kBlockRows) / 4) {
      QVERIFY(trend.data(trend.index(row, 0)).isValid());
      trend.data(trend.index(row, 1), TrendModel::kHitRole);
    }
    QTRY_COMPARE(trend.rowCount(), 50);
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::ViewsWindowTest)
#include "views_window_test.moc"
