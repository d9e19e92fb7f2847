// The analyses: 检索, 分部检索 and 分组计算 read the window's inputs, run
// the analysis engine over the history index and show its grids; a click on
// the omission table shows YL again sorted by the clicked column.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "analysis/group_calculation.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/result_grids.h"
#include "app/background_task.h"
#include "app/main_window.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "store/omission_table.h"

namespace zs {
namespace {

QString What(const std::exception& error) { return QString::fromUtf8(error.what()); }

}  // namespace

// A pattern box being edited counts as left: a command reached by its
// access key takes no focus, yet must see what was typed.
void MainWindow::CommitFocusedPatternBox() {
  for (int position = 1; position <= 8; ++position) {
    if (text22_[position]->hasFocus()) OnPatternBoxEdited(position);
  }
}

SearchPattern MainWindow::CurrentPattern() const {
  SearchPattern pattern;
  pattern.type = static_cast<SearchType>(settings_.intLei);
  pattern.freePositions = !option1_[0]->isChecked();
  pattern.values = pattern_;
  for (int position = 1; position <= 8; ++position) {
    const QLineEdit* box = manualTab_ ? text22_[position] : text2_[position];
    pattern.boxTexts[size_t(position - 1)] = box->text().toStdString();
  }
  return pattern;
}

void MainWindow::OnPositionSearch() {
  CommitFocusedPatternBox();
  PositionSearchRequest request;
  request.pattern = CurrentPattern();
  for (int position = 1; position <= 8; ++position) {
    const QCheckBox* box = manualTab_ ? check11_[position] : check1_[position];
    request.chosen[size_t(position - 1)] = box->checkState() != Qt::Unchecked;
  }
  request.startBox = text3_[0]->text().toStdString();
  request.endBox = text3_[1]->text().toStdString();
  request.show = ShowRules{settings_.sxIni, IssueRule::From(settings_).threeDigit};
  SearchResult result;
  try {
    RunBusy([this, &request, &result] { result = RunPositionSearch(index_, request); });
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未检索：%1").arg(What(error)));
    return;
  }
  grid2_->SetGrid(std::move(result.hitGrid));
  grid3_->SetGrid(std::move(result.summaryGrid));
  searchHits_ = std::move(result.hits);
  ShowStatus(QStringLiteral("检索完成：范围内命中 %1 期。").arg(searchHits_->hits.size()));
}

void MainWindow::OnPartialSearch() {
  CommitFocusedPatternBox();
  PartialSearchRequest request;
  request.pattern = CurrentPattern();
  request.partSize = settings_.intZhWSetup;
  request.partSizeText = combo1_->currentText().toStdString();
  request.startBox = text3_[0]->text().toStdString();
  request.endBox = text3_[1]->text().toStdString();
  request.show = ShowRules{settings_.sxIni, IssueRule::From(settings_).threeDigit};
  SearchResult result;
  try {
    RunBusy([this, &request, &result] { result = RunPartialSearch(index_, request); });
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未检索：%1").arg(What(error)));
    return;
  }
  grid2_->SetGrid(std::move(result.hitGrid));
  grid3_->SetGrid(std::move(result.summaryGrid));
  searchHits_ = std::move(result.hits);
  ShowStatus(QStringLiteral("分部检索完成：范围内命中 %1 期。").arg(searchHits_->hits.size()));
}

void MainWindow::OnGroupCalculation() {
  if (!RequireStore()) return;
  GroupRequest request;
  request.type = panel_.type();
  for (int box = 1; box <= kSelectionBoxes; ++box) {
    if (panel_.Checked(box)) request.checkedBoxes.push_back(box);
  }
  // A group size that is not a whole number keeps the one of the last run.
  if (const auto typedSize = ParseWhole<int>(combo2_->currentText().toStdString())) {
    groupSize_ = *typedSize;
  }
  request.groupSize = groupSize_;
  request.bases = Bases();
  request.startBox = text3_[0]->text().toStdString();
  request.endBox = text3_[1]->text().toStdString();
  size_t rows = 0;
  try {
    RunWithProgress(this, QStringLiteral("正在分组计算…"), [this, &request, &rows] {
      rows = RunGroupCalculation(index_, request, *store_).size();
    });
  } catch (const GroupSizeRefusal& refusal) {
    dialogs_->Message(this, QStringLiteral("数据溢出"), What(refusal));
    return;
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未计算，遗漏表保持原样：%1").arg(What(error)));
    return;
  }
  OnOmissionTableClick(3);
  ShowStatus(QStringLiteral("分组计算完成：%1 组。").arg(rows));
}

void MainWindow::OnOmissionTableClick(int column) {
  const std::optional<OmissionSortKey> key = SortKeyOfColumn(column);
  if (!key || store_ == nullptr) return;
  try {
    grid3_->SetGrid(OmissionTableGrid(LoadOmissionRecords(store_->db(), *key)));
    searchHits_.reset();
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("无法读出遗漏表：%1").arg(What(error)));
  }
}

}  // namespace zs
