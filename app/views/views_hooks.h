// The main window's side of the views: the menu 走势统计(&A) that opens the
// one 走势统计 window, the options that window follows (the pattern panel's
// search type, position mode, first checked position and range boxes), its
// refresh after every change of the history, and the 遗漏分布图 and 加入关注…
// items of the result grid's context menu.
//
// Preconditions: `state`, `pattern` and `results` outlive the hooks (they
// are the main window's). The views take the history's snapshot on the
// window's thread and only while no command holds the gate; a refresh asked
// for while one does runs when it is done.
#ifndef ZEPHYRSTAT_APP_VIEWS_VIEWS_HOOKS_H_
#define ZEPHYRSTAT_APP_VIEWS_VIEWS_HOOKS_H_

#include <QObject>
#include <memory>
#include <optional>

#include "analysis/hit_scan.h"
#include "app/analysis_commands.h"
#include "app/views/views_window.h"

class QMenuBar;

namespace zs {

class PatternPanel;
class ResultsPanel;
struct WindowState;

class ViewsHooks : public QObject {
  Q_OBJECT

 public:
  ViewsHooks(WindowState& state, PatternPanel& pattern, ResultsPanel& results, QWidget* window);

  // Adds the menu 走势统计(&A) to `bar`.
  void AddMenu(QMenuBar* bar);
  // Opens the 走势统计 window on `tab`; nullptr when another command holds
  // the gate (the outcome line says which).
  ViewsWindow* OpenViews(ViewsWindow::Tab tab);
  ViewOptions CurrentViewOptions() const;
  // Opens the omission distribution chart of row `row` of the result grid
  // (the summary of the last search, or a combination of the omission
  // table); nullptr when there is nothing to chart and the outcome line
  // says why.
  QWidget* ShowResultDistribution(int row);

  // What the result grid shows now.
  void RememberSearchHits(const HitList& hits);
  // The omission table of `origin` (null: of unknown origin).
  void RememberOmissionTable(std::shared_ptr<const OmissionTableOrigin> origin);
  // The history or the options the views follow changed.
  void ScheduleRefresh();

 signals:
  // 加入关注… was chosen on row `row` of the result grid.
  void watchRequested(int row);

 private:
  WindowState& state_;
  PatternPanel& pattern_;
  ResultsPanel& results_;
  QWidget* window_;
  ViewsWindow* views_ = nullptr;
  std::optional<HitList> searchHits_;                       // of the summary the result grid shows
  std::shared_ptr<const OmissionTableOrigin> tableOrigin_;  // of the omission table it shows
  bool refreshAfterCommand_ = false;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_VIEWS_HOOKS_H_
