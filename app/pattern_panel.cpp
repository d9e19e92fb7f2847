#include "app/pattern_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QVBoxLayout>
#include <array>

#include "analysis/draw_pattern.h"
#include "app/entry_box.h"
#include "app/focus_out.h"
#include "app/widget_factory.h"
#include "app/window_state.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "frontend/settings_store.h"

namespace zs {
namespace {

QString PositionCaption(int position) { return QStringLiteral("第%1位").arg(position); }

// The integer a pattern box holds; nullopt for an empty or unconvertible text
// or one beyond the 16-bit values a pattern position keeps.
std::optional<int> PatternBoxValue(const QString& text) {
  return ParseWhole<int16_t>(text.toStdString());
}

// A saved option that is not already on is clicked, which runs its handler
// exactly as the user's click would; one already on runs nothing.
void ApplyStartOption(QRadioButton* button, bool on) {
  if (on && !button->isChecked()) button->click();
}

// A titled frame holding two radio buttons side by side, `checked` of them
// on. The buttons become the frame's, so they exclude only each other.
QGroupBox* RadioPairFrame(QWidget* area, const QString& name, const QString& title,
                          std::array<QRadioButton*, 2> buttons, int checked) {
  auto* frame = Make<QGroupBox>(area, name);
  frame->setTitle(title);
  auto* row = new QHBoxLayout(frame);
  for (QRadioButton* button : buttons) row->addWidget(button);
  buttons[size_t(checked)]->setChecked(true);
  return frame;
}

}  // namespace

PatternPanel::PatternPanel(WindowState& state, QWidget* parent) : QWidget(parent), state_(state) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuildPatternArea());
  layout->addWidget(BuildOptionArea());
  layout->addStretch(1);

  for (int index = 0; index < 4; ++index) {
    connect(issueAndPosition_[size_t(index)], &QRadioButton::clicked, this,
            [this, index] { OnPositionMode(index); });
  }
  for (QRadioButton* order : orders_) {
    connect(order, &QRadioButton::clicked, this, &PatternPanel::OnNumberOrder);
  }
  for (int type = 0; type < kSearchTypeCount; ++type) {
    connect(types_[size_t(type)], &QRadioButton::clicked, this,
            [this, type] { OnSearchType(static_cast<SearchType>(type)); });
  }
  connect(tabs_, &QTabBar::currentChanged, this, &PatternPanel::OnTab);
  connect(onlyBefore_, &QCheckBox::clicked, this, &PatternPanel::OnCheck4);
  connect(search_, &QPushButton::clicked, this, &PatternPanel::positionSearchRequested);
  connect(partialSearch_, &QPushButton::clicked, this, &PatternPanel::partialSearchRequested);

  for (QRadioButton* option : types_) {
    connect(option, &QRadioButton::toggled, this, &PatternPanel::searchOptionsChanged);
  }
  for (size_t index : {0, 1}) {
    connect(issueAndPosition_[index], &QRadioButton::toggled, this,
            &PatternPanel::searchOptionsChanged);
  }
  for (size_t i = 0; i < size_t(kPositions); ++i) {
    connect(typedChecks_[i], &QCheckBox::toggled, this, &PatternPanel::searchOptionsChanged);
    connect(chosenChecks_[i], &QCheckBox::toggled, this, &PatternPanel::searchOptionsChanged);
  }
  for (QLineEdit* box : range_) {
    connect(box, &QLineEdit::textChanged, this, &PatternPanel::searchOptionsChanged);
  }
  connect(tabs_, &QTabBar::currentChanged, this, &PatternPanel::searchOptionsChanged);
}

QWidget* PatternPanel::BuildPatternArea() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);

  tabs_ = Make<QTabBar>(area, QStringLiteral("TabStrip1"));
  tabs_->addTab(QStringLiteral("手动输入号"));
  tabs_->addTab(QStringLiteral("历史指定期"));
  layout->addWidget(tabs_);

  // Both frames sit in the same place; the tab shows one of them.
  manualFrame_ = Make<QFrame>(area, QStringLiteral("manualPatternFrame"));
  chosenFrame_ = Make<QFrame>(area, QStringLiteral("chosenPatternFrame"));
  auto* manualLayout = new QGridLayout(manualFrame_);
  auto* chosenLayout = new QGridLayout(chosenFrame_);
  manualFrame_->setFrameShape(QFrame::StyledPanel);
  chosenFrame_->setFrameShape(QFrame::StyledPanel);
  // A pattern value is a few characters: narrow boxes leave the width to
  // the result grids.
  const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16;
  // Text keys other than digits and "-" are refused; editing and moving keys
  // (Ctrl+A, Tab, Delete, Enter) work as in any box.
  auto* digits =
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9]*")), this);
  for (int position = 1; position <= kPositions; ++position) {
    const size_t i = size_t(position - 1);
    const int row = (position - 1) / 4 * 2;
    const int column = (position - 1) % 4;
    typedChecks_[i] = MakeCaptioned<QCheckBox>(manualFrame_, Named("Check11", position),
                                               PositionCaption(position));
    typed_[i] = Make<QLineEdit>(manualFrame_, Named("Text22", position));
    typed_[i]->setValidator(digits);
    typed_[i]->setMaximumWidth(boxWidth);
    OnFocusOut(typed_[i], [this, position] { TakeTypedValue(position); });
    connect(typed_[i], &QLineEdit::returnPressed, this,
            [this, position] { TakeTypedValue(position); });
    manualLayout->addWidget(typedChecks_[i], row, column);
    manualLayout->addWidget(typed_[i], row + 1, column);

    chosenChecks_[i] = MakeCaptioned<QCheckBox>(chosenFrame_, Named("Check1", 10 + position),
                                                PositionCaption(position));
    chosen_[i] = Make<QLineEdit>(chosenFrame_, Named("Text2", 10 + position));
    chosen_[i]->setMaximumWidth(boxWidth);
    chosenLayout->addWidget(chosenChecks_[i], row, column);
    chosenLayout->addWidget(chosen_[i], row + 1, column);
  }
  chosenFrame_->hide();
  layout->addWidget(manualFrame_);
  layout->addWidget(chosenFrame_);

  auto* chosenIssue = new QHBoxLayout;
  chosenIssue_ = Make<QLineEdit>(area, QStringLiteral("Text4"));
  onlyBefore_ =
      MakeCaptioned<QCheckBox>(area, QStringLiteral("Check4"), QStringLiteral("仅检索该期前"));
  chosenIssue_->hide();
  onlyBefore_->hide();
  OnFocusOut(chosenIssue_, [this] { TakeChosenIssue(); });
  chosenIssue->addWidget(chosenIssue_);
  chosenIssue->addWidget(onlyBefore_);
  layout->addLayout(chosenIssue);

  auto* range = Make<QGroupBox>(area, QStringLiteral("rangeFrame"));
  range->setTitle(QStringLiteral("检索起止期数"));
  auto* rangeLayout = new QHBoxLayout(range);
  range_[0] = Make<QLineEdit>(range, Named("Text3", 0));
  range_[1] = Make<QLineEdit>(range, Named("Text3", 1));
  // An issue has at most eleven digits; the rest of the width goes to the results.
  for (QLineEdit* box : range_) {
    box->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000000000")) + 16);
  }
  rangeLayout->addWidget(MakeCaptioned<QLabel>(range, Named("Label3", 0), QStringLiteral("起")));
  rangeLayout->addWidget(range_[0]);
  rangeLayout->addWidget(
      MakeCaptioned<QLabel>(range, QStringLiteral("Label4"), QStringLiteral("～")));
  rangeLayout->addWidget(MakeCaptioned<QLabel>(range, Named("Label3", 1), QStringLiteral("止")));
  rangeLayout->addWidget(range_[1]);
  layout->addWidget(range);
  return area;
}

QWidget* PatternPanel::BuildOptionArea() {
  auto* area = new QWidget(this);
  auto* layout = new QGridLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* types = Make<QGroupBox>(area, QStringLiteral("searchTypeFrame"));
  types->setTitle(QStringLiteral("搜索类型选择"));
  auto* typesLayout = new QGridLayout(types);
  const char* typeCaptions[] = {"号码", "生肖", "头数", "尾数", "合数", "段数"};
  for (int type = 0; type < 6; ++type) {
    types_[size_t(type)] = MakeCaptioned<QRadioButton>(types, Named("Option3", type),
                                                       QString::fromUtf8(typeCaptions[type]));
    typesLayout->addWidget(types_[size_t(type)], type / 3, type % 3);
  }
  types_[0]->setChecked(true);
  layout->addWidget(types, 0, 0, 1, 2);

  orders_[0] = MakeCaptioned<QRadioButton>(nullptr, Named("Option2", 4), QStringLiteral("落地码"));
  orders_[1] = MakeCaptioned<QRadioButton>(nullptr, Named("Option2", 5), QStringLiteral("顺序码"));
  layout->addWidget(RadioPairFrame(area, QStringLiteral("numberOrderFrame"),
                                   QStringLiteral("号码序选择"), {orders_[0], orders_[1]}, 0),
                    1, 0);

  auto* issues = Make<QGroupBox>(area, QStringLiteral("issueChoiceFrame"));
  issues->setTitle(QStringLiteral("检索期选择"));
  auto* issuesLayout = new QHBoxLayout(issues);
  issueAndPosition_[2] =
      MakeCaptioned<QRadioButton>(issues, Named("Option1", 2), QStringLiteral("前    期"));
  issueAndPosition_[3] =
      MakeCaptioned<QRadioButton>(issues, Named("Option1", 3), QStringLiteral("上期"));
  issueAndPosition_[3]->setChecked(true);
  issuesLayout->addWidget(issueAndPosition_[2]);
  issuesLayout->addWidget(new EntryBox(QStringLiteral("MaskEdBox2"), QStringLiteral("9"), issues));
  issuesLayout->addWidget(issueAndPosition_[3]);
  layout->addWidget(issues, 2, 0, 1, 2);

  issueAndPosition_[0] =
      MakeCaptioned<QRadioButton>(nullptr, Named("Option1", 0), QStringLiteral("固定位"));
  issueAndPosition_[1] =
      MakeCaptioned<QRadioButton>(nullptr, Named("Option1", 1), QStringLiteral("自由位"));
  layout->addWidget(
      RadioPairFrame(area, QStringLiteral("positionModeFrame"), QStringLiteral("检索位选择"),
                     {issueAndPosition_[0], issueAndPosition_[1]}, 1),
      1, 1);

  auto* partial = Make<QGroupBox>(area, QStringLiteral("partialSearchFrame"));
  partial->setTitle(QStringLiteral("多位检索"));
  auto* partialLayout = new QHBoxLayout(partial);
  partialLayout->addWidget(
      MakeCaptioned<QLabel>(partial, QStringLiteral("Label1"), QStringLiteral("分部位数")));
  partSize_ = MakeSizeCombo(partial, QStringLiteral("Combo1"));
  OnFocusOut(partSize_, [this] { CommitPartSize(); });
  partialLayout->addWidget(partSize_);
  partialSearch_ = MakeCaptioned<QPushButton>(partial, QStringLiteral("Command2"),
                                              QStringLiteral("分部检索(&G)"));
  partialLayout->addWidget(partialSearch_);
  layout->addWidget(partial, 3, 0, 1, 2);

  search_ =
      MakeCaptioned<QPushButton>(area, QStringLiteral("Command1"), QStringLiteral("检索(&S)"));
  search_->setMinimumHeight(search_->sizeHint().height() * 3 / 2);
  layout->addWidget(search_, 4, 0, 1, 2);
  return area;
}

void PatternPanel::ApplySavedOptions() {
  const Settings settings = state_.settings();
  ApplyStartOption(issueAndPosition_[1], settings.freePositions);
  ApplyStartOption(issueAndPosition_[0], !settings.freePositions);
  partSize_->setEditText(QString::number(settings.partSize));
  ShowNewestIssue();
  ApplyStartOption(orders_[0], settings.drawnOrder);
  ApplyStartOption(orders_[1], !settings.drawnOrder);
  ApplyStartOption(types_[size_t(settings.searchType)], true);
}

// ------------------------------------------------------------ history views

void PatternPanel::ShowNewestIssue() {
  const Snapshot shown = state_.snapshot();
  if (!shown->Empty()) chosenIssue_->setText(state_.ShownIssueText(shown->NewestIssue()));
}

void PatternPanel::SetRangeToHistory() {
  SetRangeStartToFirst();
  SetRangeEndToNewest();
}

void PatternPanel::SetRangeStartToFirst() {
  const Snapshot shown = state_.snapshot();
  if (!shown->Empty()) range_[0]->setText(state_.ShownIssueText(shown->index->Issue(0)));
}

void PatternPanel::SetRangeEndToNewest() {
  const Snapshot shown = state_.snapshot();
  if (!shown->Empty()) range_[1]->setText(state_.ShownIssueText(shown->NewestIssue()));
}

void PatternPanel::Refresh() {
  if (tabs_->currentIndex() == 1) {
    TakeChosenIssue();
    return;
  }
  manualTab_ = true;
  TakeTypedValues();
}

// ---------------------------------------------------------- option handlers

void PatternPanel::OnPositionMode(int index) {
  Settings wanted = state_.settings();
  if (index == 0 || index == 1) wanted.freePositions = index == 1;
  state_.RememberSetting(SettingKey::kFreePositions, wanted);
  Refresh();
  SetRangeStartToFirst();
}

void PatternPanel::OnNumberOrder() {
  Settings wanted = state_.settings();
  wanted.drawnOrder = orders_[0]->isChecked();
  state_.RememberSetting(SettingKey::kDrawnOrder, wanted);
  Refresh();
}

void PatternPanel::OnSearchType(SearchType type) {
  Settings wanted = state_.settings();
  wanted.searchType = type;
  state_.RememberSetting(SettingKey::kSearchType, wanted);
  Refresh();
  emit searchTypeChanged(type);
}

void PatternPanel::OnTab(int tab) {
  const bool manual = tab == 0;
  manualFrame_->setVisible(manual);
  chosenFrame_->setVisible(!manual);
  chosenIssue_->setVisible(!manual);
  onlyBefore_->setVisible(!manual);
  if (!manual) {
    TakeChosenIssue();
    return;
  }
  manualTab_ = true;
  TakeTypedValues();
  SetRangeEndToNewest();
}

void PatternPanel::OnCheck4() {
  if (!onlyBefore_->isChecked()) {
    SetRangeEndToNewest();
    return;
  }
  if (auto end = RangeEndBefore(chosenIssue_->text().trimmed().toStdString(),
                                IssueRule::From(state_.settings()))) {
    range_[1]->setText(state_.ShownIssueText(*end));
  }
}

// --------------------------------------------------------------- the pattern

void PatternPanel::TakeTypedValue(int position) {
  QLineEdit* box = typed_[size_t(position - 1)];
  box->setModified(false);
  if (auto value = PatternBoxValue(box->text())) pattern_[size_t(position - 1)] = *value;
}

void PatternPanel::TakeTypedValues() {
  for (int position = 1; position <= kPositions; ++position) TakeTypedValue(position);
}

// The pattern of the chosen issue (the newest draw at or before it). A text
// that names no draw leaves the previous pattern and says why; one that is
// no issue of 2000..2099 also leaves the range end.
void PatternPanel::TakeChosenIssue() {
  chosenIssue_->setModified(false);
  manualTab_ = false;
  const std::string text = chosenIssue_->text().trimmed().toStdString();
  const Settings settings = state_.settings();
  if (!ShownIssueRefusal(text)) {
    if (!onlyBefore_->isChecked()) {
      SetRangeEndToNewest();
    } else if (auto end = RangeEndBefore(text, IssueRule::From(settings))) {
      range_[1]->setText(state_.ShownIssueText(*end));
    }
  }
  const Snapshot shown = state_.snapshot();
  size_t draw = 0;
  try {
    draw = ChosenIssueDraw(*shown->index, text);
  } catch (const InputError& refusal) {
    state_.Report(What(refusal) + QStringLiteral("；检索条件未改变"));
    return;
  }
  SearchPattern taken;
  taken.type = settings.searchType;
  TakePatternFromDraw(*shown->index, draw, shown->rules.zodiacBase, taken);
  for (size_t i = 0; i < size_t(kPositions); ++i) {
    pattern_[i] = taken.values[i];
    chosen_[i]->setText(QString::fromStdString(taken.boxTexts[i]));
  }
}

void PatternPanel::CommitPartSize() {
  if (const auto failure = state_.ChangeSetting(SettingKey::kPartSize, partSize_->currentText())) {
    state_.Report(
        QStringLiteral("分部位数无效，仍为 %1：%2").arg(state_.settings().partSize).arg(*failure));
    partSize_->setEditText(QString::number(state_.settings().partSize));
  }
}

void PatternPanel::CommitEdits() {
  for (int position = 1; position <= kPositions; ++position) {
    QLineEdit* box = typed_[size_t(position - 1)];
    if (box->isModified() || box->hasFocus()) TakeTypedValue(position);
  }
  if (partSize_->currentText() != QString::number(state_.settings().partSize)) CommitPartSize();
  if (!manualTab_ && (chosenIssue_->isModified() || chosenIssue_->hasFocus())) TakeChosenIssue();
}

// ------------------------------------------------------------ the requests

SearchPattern PatternPanel::CurrentPattern() const {
  SearchPattern pattern;
  pattern.type = state_.settings().searchType;
  pattern.freePositions = !issueAndPosition_[0]->isChecked();
  pattern.values = pattern_;
  for (size_t i = 0; i < size_t(kPositions); ++i) {
    pattern.boxTexts[i] = (manualTab_ ? typed_[i] : chosen_[i])->text().toStdString();
  }
  return pattern;
}

ShowRules PatternPanel::Show() const {
  return ShowRules{state_.settings().zodiacBase, IssueRule::From(state_.settings()).threeDigit};
}

std::string PatternPanel::RangeStartText() const { return range_[0]->text().toStdString(); }

std::string PatternPanel::RangeEndText() const { return range_[1]->text().toStdString(); }

PositionSearchRequest PatternPanel::PositionRequest() const {
  PositionSearchRequest request;
  request.pattern = CurrentPattern();
  for (size_t i = 0; i < size_t(kPositions); ++i) {
    const QCheckBox* box = manualTab_ ? typedChecks_[i] : chosenChecks_[i];
    request.chosen[i] = box->checkState() != Qt::Unchecked;
  }
  request.startBox = RangeStartText();
  request.endBox = RangeEndText();
  request.show = Show();
  return request;
}

PartialSearchRequest PatternPanel::PartialRequest() const {
  PartialSearchRequest request;
  request.pattern = CurrentPattern();
  request.partSize = state_.settings().partSize;
  request.partSizeText = partSize_->currentText().toStdString();
  request.startBox = RangeStartText();
  request.endBox = RangeEndText();
  request.show = Show();
  return request;
}

void PatternPanel::SetCommandsEnabled(bool enabled) {
  search_->setEnabled(enabled);
  partialSearch_->setEnabled(enabled);
}

}  // namespace zs
