// The 走势统计 window: one non-modal window with the tabs 走势 (the trend
// grid of the range or of its newest 30, 50, 100 or 200 draws, newest draw
// at the bottom, 期号 and 开奖号码 kept in place while it scrolls sideways,
// with the footer rows 出现次数, 平均遗漏, 最大遗漏, 最大连出, 最后遗漏 of
// the rows shown and a line saying how omissions count) and 统计 (the
// statistics of every box, sortable by any column, exported to Tongji.xls
// by a double click). It follows the main window's search options through
// `options`, or shows one of the draw's own patterns chosen beside
// "跟随主窗口", and is refreshed after every change of the history; several
// changes in a row cost one refresh, and a closed window none.
//
// The window takes the history from `history` at every refresh and holds
// that index (through its box view) until the next one, so a change of the
// history never frees what it shows.
#ifndef ZEPHYRSTAT_APP_VIEWS_VIEWS_WINDOW_H_
#define ZEPHYRSTAT_APP_VIEWS_VIEWS_WINDOW_H_

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/box_view.h"
#include "core/grid.h"

class QComboBox;
class QLabel;
class QTableView;
class QTabWidget;

namespace zs {

class FileOpener;
class FrozenColumns;
class GridView;
class HistoryIndex;
class TrendModel;

// What the window shows: the request the main window's options make, and
// whether fixed mode has a checked position (else position 1 is shown).
struct ViewOptions {
  BoxViewRequest request;
  bool positionChecked = true;
};

class ViewsWindow : public QWidget {
  Q_OBJECT

 public:
  enum Tab { kTrendTab = 0, kStatisticsTab = 1 };

  using HistorySource = std::function<std::shared_ptr<const HistoryIndex>()>;

  ViewsWindow(HistorySource history, std::function<ViewOptions()> options,
              std::filesystem::path dataFolder, FileOpener& opener, QWidget* parent);

  void ShowTab(Tab tab);
  // Recomputes both tabs now.
  void Refresh();
  // Recomputes once the events already queued have run; while the window
  // is closed, when it is shown again.
  void ScheduleRefresh();

  QTableView* trendView() const { return trend_; }
  // The view of 期号 and 开奖号码 laid over the trend grid's left edge.
  QTableView* frozenTrendView() const;
  // "跟随主窗口", then the draw's own patterns.
  QComboBox* typeChoice() const { return typeChoice_; }
  // 近30, 近50, 近100, 近200, 全部.
  QComboBox* periodChoice() const { return period_; }
  GridView* footerView() const { return footer_; }
  GridView* statisticsView() const { return statistics_; }
  QString caption() const;
  // Opens the omission distribution chart of row `row` of the statistics
  // tab as shown (sorted or not); nullptr for a row that is no box.
  QWidget* ShowDistributionOfRow(int row);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildTrendTab(QWidget* tab);
  void OnStatisticsHeader(int column);
  void OnStatisticsMenu(const QPoint& at);
  void ShowStatistics();
  void FitTrendColumns();
  // The trend rows of the chosen period and their footer.
  void ShowTrendRows();

  HistorySource history_;
  std::function<ViewOptions()> options_;
  std::filesystem::path dataFolder_;
  FileOpener& opener_;
  std::optional<BoxView> view_;
  Grid statisticsGrid_;  // in engine order
  int sortColumn_ = -1;
  bool descending_ = false;
  bool refreshPending_ = false;
  bool stale_ = false;

  QTabWidget* tabs_ = nullptr;
  QLabel* caption_ = nullptr;
  QComboBox* typeChoice_ = nullptr;
  QComboBox* period_ = nullptr;
  FrozenColumns* frozenTrend_ = nullptr;
  TrendModel* trendModel_ = nullptr;
  QTableView* trend_ = nullptr;
  GridView* footer_ = nullptr;
  GridView* statistics_ = nullptr;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_VIEWS_WINDOW_H_
