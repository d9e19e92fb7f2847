// The pattern panel: how a search is posed. The tabs TabStrip1 (手动输入号:
// Check11_1 … 8 with the typed values Text22_1 … 8; 历史指定期: Check1_11 … 18
// with the values Text2_11 … 18 of the chosen issue Text4, and Check4), the
// range boxes Text3_0/1, the option groups (search type Option3, number
// order Option2, issue choice Option1_2/3 with MaskEdBox2, position mode
// Option1_0/1), the part size Combo1 with 分部检索 Command2, and 检索 Command1.
//
// The panel owns the search pattern (one value per position; an empty or
// unconvertible box keeps the previous value) and saves its own options
// (position mode, number order, search type, part size) in the window's
// settings. It reads the history index for the chosen issue and the range
// boxes.
#ifndef ZEPHYRSTAT_APP_PATTERN_PANEL_H_
#define ZEPHYRSTAT_APP_PATTERN_PANEL_H_

#include <QWidget>
#include <array>

#include "analysis/partial_search.h"
#include "analysis/position_search.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace zs {

struct WindowState;

class PatternPanel : public QWidget {
  Q_OBJECT

 public:
  PatternPanel(WindowState& state, QWidget* parent);

  const Numbers& pattern() const { return pattern_; }
  bool manualTab() const { return manualTab_; }

  // Sets the saved options on at start, running their handlers.
  void ApplySavedOptions();
  // The pattern anew: from the typed boxes on tab 1, from the chosen issue on tab 2.
  void Refresh();
  // The chosen issue box shows the newest draw.
  void ShowNewestIssue();
  // The range from the first to the newest draw; or only its end, or only its start.
  void SetRangeToHistory();
  void SetRangeEndToNewest();
  void SetRangeStartToFirst();
  // Applies what is typed but not yet taken: a pattern box, Combo1 and the
  // chosen issue. Every analysis calls it first, since an access key starts
  // one without moving the focus out of the box.
  void CommitEdits();

  PositionSearchRequest PositionRequest() const;
  PartialSearchRequest PartialRequest() const;
  std::string RangeStartText() const;
  std::string RangeEndText() const;
  void SetCommandsEnabled(bool enabled);

 signals:
  void searchTypeChanged(zs::SearchType type);
  void positionSearchRequested();
  void partialSearchRequested();
  // The search type, the position mode, a position check box, the tab or a
  // range box changed.
  void searchOptionsChanged();

 private:
  QWidget* BuildPatternArea();
  QWidget* BuildOptionArea();
  void OnPositionMode(int index);
  void OnNumberOrder();
  void OnSearchType(SearchType type);
  void OnTab(int tab);
  void OnCheck4();
  void TakeTypedValue(int position);
  void TakeTypedValues();
  void TakeChosenIssue();
  void CommitPartSize();
  SearchPattern CurrentPattern() const;
  ShowRules Show() const;

  WindowState& state_;
  Numbers pattern_{};
  bool manualTab_ = true;

  QTabBar* tabs_ = nullptr;
  QFrame* manualFrame_ = nullptr;
  QFrame* chosenFrame_ = nullptr;
  std::array<QCheckBox*, kPositions> typedChecks_{};   // Check11
  std::array<QLineEdit*, kPositions> typed_{};         // Text22
  std::array<QCheckBox*, kPositions> chosenChecks_{};  // Check1
  std::array<QLineEdit*, kPositions> chosen_{};        // Text2
  QLineEdit* chosenIssue_ = nullptr;                   // Text4
  QCheckBox* onlyBefore_ = nullptr;                    // Check4
  std::array<QLineEdit*, 2> range_{};                  // Text3
  std::array<QRadioButton*, 6> types_{};               // Option3
  std::array<QRadioButton*, 2> orders_{};              // Option2_4, 5
  std::array<QRadioButton*, 4> issueAndPosition_{};    // Option1
  QComboBox* partSize_ = nullptr;                      // Combo1
  QPushButton* search_ = nullptr;                      // Command1
  QPushButton* partialSearch_ = nullptr;               // Command2
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_PATTERN_PANEL_H_
