// The 走势统计 window and the distribution chart, driven through the main
// window: one window for both menu items, following the search options and
// the history, the trend tab's hits and scrolling, sorting and exporting the
// statistics, and the charts of the three grids.
#include <QHeaderView>
#include <QImage>
#include <QLineSeries>
#include <QScrollBar>
#include <QTableView>
#include <QValueAxis>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "analysis/trend_grid.h"
#include "app/views/distribution_chart.h"
#include "app/views/trend_model.h"
#include "app/views/views_hooks.h"
#include "tests/app/window_test_support.h"

namespace zs::testing {

class ViewsWindowTest : public QObject {
  Q_OBJECT

 private:
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
    world.Action(kTrendItem)->trigger();
    world.Action(kStatisticsItem)->trigger();
    QCOMPARE(world.window->findChildren<ViewsWindow*>().size(), 1);
    ViewsWindow* views = Settled(world);
    QVERIFY(views->isVisible());

    // Trend: a row per draw, newest at the bottom and scrolled to; a cell
    // is a hit exactly when it shows the box's label.
    QAbstractItemModel* trend = views->trendView()->model();
    QCOMPARE(trend->rowCount(), 40);
    QCOMPARE(trend->columnCount(), 22);
    QTableView* trendView = views->trendView();
    QCOMPARE(trendView->verticalScrollBar()->value(), trendView->verticalScrollBar()->maximum());
    QCOMPARE(Cell(trend, 0, 1), QStringLiteral("01 03 05 07 09 11 13 15"));
    for (int row : {0, 39}) {
      for (int column = 2; column <= 21; ++column) {
        const bool hit = trend->data(trend->index(row, column), TrendModel::kHitRole).toBool();
        QCOMPARE(hit, Cell(trend, row, column) == trend->headerData(column, Qt::Horizontal));
      }
    }
    QCOMPARE(views->footerView()->model()->rowCount(), 5);

    // Zodiac, fixed, first checked position 3, a shorter range: the window
    // shows what the engine gives for exactly these options.
    ClickButton(world.TypeOption(1));
    ClickButton(world.FixedPositions());
    ClickButton(world.PositionCheck(5));
    ClickButton(world.PositionCheck(3));
    world.RangeStart()->setText(QStringLiteral("140116011"));
    Settled(world);
    BoxViewRequest request;
    request.type = SearchType::kZodiac;
    request.freePositions = false;
    request.position = 2;
    request.bases = {world.window->settings().zodiacBase, world.window->settings().segmentBase};
    request.startBox = "140116011";
    request.endBox = world.RangeEnd()->text().toStdString();
    const Grid expected = BoxStatisticsGrid(BoxView(world.window->index(), request));
    QVERIFY(Texts(views->statisticsView()->grid()) == Texts(expected));
    QCOMPARE(trend->rowCount(), 30);
    QVERIFY(views->caption().contains(QStringLiteral("第3位")));

    // A range box that is not a number says so and shows nothing.
    world.RangeStart()->setText(QStringLiteral("abc"));
    Settled(world);
    QCOMPARE(trend->rowCount(), 0);
    QVERIFY(views->caption().contains(QStringLiteral("无法显示")));
    world.RangeStart()->setText(QStringLiteral("140116011"));

    // Deleting the newest draw refreshes the window; a closed window
    // catches up when it opens again.
    ClickButton(world.DeleteLastButton());
    Settled(world);
    QCOMPARE(trend->rowCount(), 29);
    views->close();
    ClickButton(world.DeleteLastButton());
    Settled(world);
    world.Action(kTrendItem)->trigger();
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
    QVERIFY(chart->windowTitle().contains(QStringLiteral("号码 自由位 ") + label + " 遗漏分布"));
  }

  // A draw pattern chosen beside 跟随主窗口 replaces the main window's type
  // and mode; a period shows the newest rows with their own footer; a hit
  // tells its omission.
  void typeChoiceAndPeriods() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 50));
    ClickButton(world.FixedPositions());  // fixed mode in the main window
    ViewsWindow* views = world.window->views().OpenViews(ViewsWindow::kTrendTab);
    views->typeChoice()->setCurrentIndex(1 + int(PatternType::kOddEven));
    BoxViewRequest request = world.window->views().CurrentViewOptions().request;
    request.pattern = PatternType::kOddEven;
    const BoxView view(world.window->index(), request);
    QVERIFY(Texts(views->statisticsView()->grid()) == Texts(BoxStatisticsGrid(view)));
    QAbstractItemModel* trend = views->trendView()->model();
    QCOMPARE(trend->columnCount(), 2 + 9);
    QVERIFY(views->caption().startsWith(QStringLiteral("奇偶比 · ")));

    views->periodChoice()->setCurrentIndex(0);  // 近30
    QCOMPARE(trend->rowCount(), 30);
    QCOMPARE(Cell(trend, 0, 0).toStdString(), std::string(TrendGrid(view, 20, 1).Cell(0, 0)));
    QVERIFY(Texts(views->footerView()->grid()) == Texts(TrendFooterGrid(view, 20, 30)));
    // Every draw holds eight odd or eight even numbers, alternately: a hit
    // two draws after the last one.
    const QModelIndex hit = trend->index(29, Cell(trend, 29, 2) == "0:8" ? 2 : 10);
    QCOMPARE(hit.data(TrendModel::kHitRole).toBool(), true);
    QCOMPARE(hit.data(Qt::ToolTipRole).toString(), QStringLiteral("出现，遗漏 2 期（距上次出现）"));
    QVERIFY(!trend->index(29, 5).data(Qt::ToolTipRole).isValid());

    views->typeChoice()->setCurrentIndex(0);
    QCOMPARE(trend->columnCount(), 22);
    QVERIFY(views->caption().contains(QStringLiteral("号码 固定位 第1位")));
  }

  // At 1366 pixels every box column of the numbers is in sight; scrolled
  // sideways over the 125 boxes of 区间比, 期号 and 开奖号码 stay in place,
  // in line with the rows.
  void frozenColumnsAndWidths() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 400));
    ViewsWindow* views = world.window->views().OpenViews(ViewsWindow::kTrendTab);
    views->resize(1366, 720);
    QCoreApplication::processEvents();
    QTableView* trend = views->trendView();
    const int last = trend->model()->columnCount() - 1;
    QVERIFY(trend->columnViewportPosition(last) + trend->columnWidth(last) <=
            trend->viewport()->width());

    views->typeChoice()->setCurrentIndex(1 + int(PatternType::kZones));
    QCoreApplication::processEvents();
    QTableView* frozen = views->frozenTrendView();
    QCOMPARE(trend->model()->columnCount(), 2 + 125);
    trend->horizontalScrollBar()->setValue(trend->horizontalScrollBar()->maximum());
    trend->verticalScrollBar()->setValue(100);
    QVERIFY(frozen->isVisible());
    QCOMPARE(frozen->geometry().left(), trend->viewport()->geometry().left());
    QCOMPARE(frozen->width(), trend->columnWidth(0) + trend->columnWidth(1));
    QCOMPARE(frozen->columnViewportPosition(0), 0);
    QVERIFY(!frozen->isColumnHidden(1) && frozen->isColumnHidden(2));
    const int row = trend->rowAt(trend->viewport()->height() / 2);
    QVERIFY(row > 0);
    QCOMPARE(frozen->viewport()->mapTo(views, QPoint(0, frozen->rowViewportPosition(row))).y(),
             trend->viewport()->mapTo(views, QPoint(0, trend->rowViewportPosition(row))).y());
    // The footer follows by pixels, its one lead column as wide as both.
    QCOMPARE(views->footerView()->horizontalScrollBar()->value(),
             trend->horizontalScrollBar()->value());
    QCOMPARE(views->footerView()->columnWidth(0), frozen->width());
  }

  void resultGridChartsAndSavesAPicture() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    // No search yet: the result grid is an empty omission table.
    QCOMPARE(world.window->views().ShowResultDistribution(0), nullptr);

    world.TypePattern(1, QStringLiteral("7"));
    ClickButton(world.PositionCheck(1));
    ClickButton(world.SearchButton());
    auto* chart = qobject_cast<DistributionChart*>(world.window->views().ShowResultDistribution(0));
    QVERIFY(chart != nullptr);
    auto* table = chart->findChild<GridView*>(kDistributionGrid);
    int64_t hits = 0;
    std::string scratch;
    for (size_t row = 0; row < table->grid().RowCount(); ++row) {
      hits += std::stoll(std::string(table->grid().CellText(row, 1, scratch)));
    }
    QCOMPARE(hits, int64_t(world.HitList()->grid().RowCount()));

    const QString picture = QString::fromStdString((world.folder() / "chart.png").string());
    QVERIFY(chart->SavePicture(picture));
    QVERIFY(!QImage(picture).isNull());
    QVERIFY(!chart->SavePicture(QStringLiteral("/nonexistent-folder/chart.png")));
  }

  // More than 40 omissions are binned 1, 2, 5, 10, … wide; the 最后遗漏
  // marker spans the chart's height wherever it lies; the picture is named
  // after the title.
  void chartBinsAndMarker() {
    std::vector<OmissionCount> counts;
    for (int32_t omission = 1; omission <= 100; ++omission)
      counts.push_back({omission, omission % 3});
    DistributionChart chart(QStringLiteral("号码 自由位 07 遗漏分布 1/2"), counts, 250, nullptr);
    QVERIFY(chart.bins() == OmissionBins(counts));
    QCOMPARE(chart.bins().size(), size_t(21));
    QCOMPARE(chart.ToolTipAt(7.2), QStringLiteral("遗漏 5–9：5 期"));
    QCOMPARE(chart.ToolTipAt(250), QString());
    const auto points = chart.marker()->points();
    QCOMPARE(points.size(), 2);
    QCOMPARE(points[0], QPointF(250, 0));
    QCOMPARE(points[1].x(), 250.0);
    const auto* axis = qobject_cast<QValueAxis*>(chart.marker()->attachedAxes().back());
    QCOMPARE(points[1].y(), axis->max());
    for (const OmissionBin& bin : chart.bins()) QVERIFY(axis->max() >= double(bin.hits));
    const auto* omissions = qobject_cast<QValueAxis*>(chart.marker()->attachedAxes().front());
    QVERIFY(omissions->max() > 250 && omissions->min() < 1);
    QCOMPARE(chart.PictureFileName(), QStringLiteral("号码 自由位 07 遗漏分布 1_2.png"));
    // Few omissions: one bar each.
    DistributionChart few(QStringLiteral("t"), {{3, 2}, {9, 1}}, 1, nullptr);
    QCOMPARE(few.bins().size(), size_t(2));
    QCOMPARE(few.ToolTipAt(9), QStringLiteral("遗漏 9：1 期"));
  }

  // A 最后遗漏 equal to a hit's omission, between two or beyond the last
  // marks its place without a bar of its own.
  void theLastOmissionAddsNoBar() {
    for (const int32_t last : {3, 5, 9}) {
      DistributionChart chart(QStringLiteral("07"), {{0, 2}, {3, 5}, {7, 1}}, last, nullptr);
      QCOMPARE(chart.bins().size(), size_t(3));
      QCOMPARE(chart.marker()->points().front().x(), double(last));
    }
  }

  // The chart of an omission-table row counts the hits as the table was
  // calculated (type, bases, range, history), whatever the panels show now:
  // "01 03" are digit sums too, and under 合数 would chart other draws.
  void omissionTableRowChartsItsOwnCalculation() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    ClickButton(world.SelectionBox(1));
    ClickButton(world.SelectionBox(3));
    world.GroupSize()->setEditText(QStringLiteral("2"));
    ClickButton(world.GroupButton());
    auto chartTexts = [&world] {
      QWidget* chart = world.window->views().ShowResultDistribution(0);
      if (chart == nullptr) return std::vector<std::string>();
      return Texts(chart->findChild<GridView*>(kDistributionGrid)->grid());
    };
    const std::vector<std::string> calculated = chartTexts();
    QVERIFY(calculated.size() > 2);
    ClickButton(world.TypeOption(4));
    world.RangeEnd()->setText(QStringLiteral("2014011640"));
    QCOMPARE(chartTexts(), calculated);
  }

  // The trend keeps the history it was computed from while a change
  // replaces it, until the refresh shows the new one.
  void theTrendOutlivesAChangeOfTheHistory() {
    WindowWorld world;
    world.Open(RotatingDraws(140116001, 60));
    auto* trend = world.window->views().OpenViews(ViewsWindow::kTrendTab)->trendView()->model();
    QCOMPARE(trend->rowCount(), 60);
    world.dialogs->inputs = {QStringLiteral("10")};
    world.Action(kDeleteCountItem)->trigger();
    QCOMPARE(world.StoredDraws().size(), size_t(50));
    QCOMPARE(trend->rowCount(), 60);
    for (int row = 0; row < trend->rowCount(); row += int(TrendModel::kBlockRows) / 4) {
      QVERIFY(trend->data(trend->index(row, 0)).isValid());
      trend->data(trend->index(row, 1), TrendModel::kHitRole);
    }
    QTRY_COMPARE(trend->rowCount(), 50);
  }
};

}  // namespace zs::testing

QTEST_MAIN(zs::testing::ViewsWindowTest)
#include "views_window_test.moc"
