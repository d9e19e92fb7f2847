// The history panel: the history grid MSFlexGrid1, the history buttons
// (读取历史号文本, 历史号在线更新, 删除最后历史, 历史号码导出文本文件, 软件设置)
// and the typed entry of a new draw (Label12, the next issue Text1 and the
// eight boxes MaskEdBox1_1 … 8).
//
// The panel runs no command: it says what the user asked for through its
// signals. drawTyped() follows a user's edit that changes and completes the
// last box, or any box while all eight hold a number, so a draw refused for
// one wrong box is stored as soon as that box is corrected; a keystroke that
// changes no box (a digit a full box rejects) offers nothing. A right-button release over the grid
// asks for the history menu.
#ifndef ZEPHYRSTAT_APP_HISTORY_PANEL_H_
#define ZEPHYRSTAT_APP_HISTORY_PANEL_H_

#include <QPoint>
#include <QWidget>
#include <array>

#include "core/draw.h"

class QLineEdit;
class QPushButton;

namespace zs {

class EntryBox;
class GridView;
class HistoryIndex;

class HistoryPanel : public QWidget {
  Q_OBJECT

 public:
  explicit HistoryPanel(QWidget* parent);

  GridView* grid() const { return grid_; }
  // Shows the draws of `index` in the grid, scrolled to the newest from 40
  // rows on. The only place the grid gets its content.
  void ShowHistory(const HistoryIndex& index, bool threeDigit);
  void SetNextIssue(const QString& shown);
  QString nextIssue() const;
  // Empties the eight boxes and puts the cursor in the first.
  void ClearEntry();
  // Focus on entry box `box` (1..8), its text selected for correcting.
  void FocusEntry(int box = 1);
  // The buttons and boxes that start a command.
  void SetCommandsEnabled(bool enabled);

 signals:
  void importRequested();
  void updateRequested();
  void deleteLastRequested();
  void exportTextRequested();
  void settingsRequested();
  void gridExportRequested();
  void drawTyped(const zs::Numbers& numbers);
  void historyMenuRequested(const QPoint& globalPosition);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnBoxEdited(int box);

  GridView* grid_;
  QLineEdit* nextIssue_;
  std::array<EntryBox*, 8> boxes_{};
  std::array<QPushButton*, 5> buttons_{};
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_HISTORY_PANEL_H_
