// Creates the window's controls and menus with their names, captions, tool
// tips, masks and initial texts, and lays them out in three columns: the
// history with its commands and the manual entry, the search pattern and
// options, and the selection panel with the two result grids.
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "core/edition.h"

namespace zs {
namespace {

QString Named(const char* name, int index) {
  return QString::fromLatin1(name) + u'_' + QString::number(index);
}

QString PositionCaption(int position) { return QStringLiteral("第%1位").arg(position); }

template <typename Widget>
Widget* Make(QWidget* parent, const QString& name) {
  auto* widget = new Widget(parent);
  widget->setObjectName(name);
  return widget;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = Make<QPushButton>(parent, name);
  button->setText(caption);
  return button;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption) {
  auto* box = Make<QCheckBox>(parent, name);
  box->setText(caption);
  return box;
}

QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = Make<QRadioButton>(parent, name);
  button->setText(caption);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption) {
  auto* label = Make<QLabel>(parent, name);
  label->setText(caption);
  return label;
}

QComboBox* MakeSizeCombo(QWidget* parent, const QString& name) {
  auto* combo = Make<QComboBox>(parent, name);
  combo->setEditable(true);
  for (int size = 1; size <= 6; ++size) combo->addItem(QString::number(size));
  combo->setEditText(QStringLiteral("2"));
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

QLineEdit* MakeMaskedBox(QWidget* parent, const QString& name, const QString& mask) {
  auto* box = Make<QLineEdit>(parent, name);
  box->setInputMask(mask + QStringLiteral(";_"));
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
  return box;
}

}  // namespace

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);
  // The history and the pattern keep their natural widths; the results,
  // whose hit list is the widest grid, take what the window has beyond them.
  columns->addWidget(BuildHistoryArea(), 0);

  auto* middle = new QVBoxLayout;
  middle->addWidget(BuildPatternArea());
  middle->addWidget(BuildOptionArea());
  middle->addStretch(1);
  columns->addLayout(middle, 0);

  auto* right = new QVBoxLayout;
  right->addWidget(BuildSelectionPanel());
  grid2_ = new GridView(QStringLiteral("MSFlexGrid2"), central);
  grid2_->setToolTip(QStringLiteral("鼠标双击列表可以将列表导出到EXCEL"));
  grid2_->SetColumnTwips(0, 1480);
  for (int column = 1; column <= 9; ++column) grid2_->SetColumnTwips(column, 800);
  grid2_->SetColumnTwips(10, 680);
  right->addWidget(grid2_, 3);
  grid3_ = new GridView(QStringLiteral("MSFlexGrid3"), central);
  grid3_->setMinimumHeight(grid3_->verticalHeader()->defaultSectionSize() * 4);
  right->addWidget(grid3_, 2);
  columns->addLayout(right, 1);

  setCentralWidget(central);
}

QWidget* MainWindow::BuildHistoryArea() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);

  grid1_ = new GridView(QStringLiteral("MSFlexGrid1"), area);
  grid1_->setToolTip(QStringLiteral("鼠标双击列表可以将列表导出到EXCEL"));
  grid1_->SetColumnTwips(0, 1480);
  for (int column = 1; column <= 8; ++column) grid1_->SetColumnTwips(column, 600);
  grid1_->FitWidthToColumns();
  grid1_->viewport()->installEventFilter(this);
  layout->addWidget(grid1_, 1);

  auto* buttons = new QGridLayout;
  command3_ = MakeButton(area, QStringLiteral("Command3"), QStringLiteral("删除最后历史(&D)"));
  command4_ =
      MakeButton(area, QStringLiteral("Command4"), QStringLiteral("历史号码导出文本文件(&O)"));
  cmdRdLst_ = MakeButton(area, QStringLiteral("cmdRdLst"), QStringLiteral("读取历史号文本(&W)"));
  cmdRdLst_->setToolTip(
      QStringLiteral("从历史号码文本文件中读取历史号中最后一期之后的新的历史号码"));
  command21_ = MakeButton(area, QStringLiteral("Command21"), QStringLiteral("历史号在线更新(&O)"));
  command21_->setToolTip(QStringLiteral("从官方服务器更新历史号码"));
  command9_ = MakeButton(area, QStringLiteral("Command9"), QStringLiteral("软件设置(&T)"));
  buttons->addWidget(cmdRdLst_, 0, 0);
  buttons->addWidget(command21_, 0, 1);
  buttons->addWidget(command3_, 0, 2);
  buttons->addWidget(command4_, 1, 0, 1, 2);
  buttons->addWidget(command9_, 1, 2);
  layout->addLayout(buttons);

  auto* entry = new QGroupBox(area);
  entry->setObjectName(QStringLiteral("manualEntryFrame"));
  auto* entryLayout = new QGridLayout(entry);
  entryLayout->addWidget(MakeLabel(entry, QStringLiteral("Label12"),
                                   QStringLiteral("在下面输入     2007001 期历史号码:")),
                         0, 0, 1, 5);
  text1_ = Make<QLineEdit>(entry, QStringLiteral("Text1"));
  entryLayout->addWidget(text1_, 0, 5, 1, 3);
  for (int box = 1; box <= 8; ++box) {
    maskEdBox1_[box] = MakeMaskedBox(entry, Named("MaskEdBox1", box), QStringLiteral("99"));
    maskEdBox1_[box]->setToolTip(QStringLiteral("在此补充输入最新历史号码"));
    maskEdBox1_[box]->installEventFilter(this);
    entryLayout->addWidget(maskEdBox1_[box], 1, box - 1);
  }
  layout->addWidget(entry);
  return area;
}

QWidget* MainWindow::BuildPatternArea() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);

  tabStrip1_ = Make<QTabBar>(area, QStringLiteral("TabStrip1"));
  tabStrip1_->addTab(QStringLiteral("手动输入号"));
  tabStrip1_->addTab(QStringLiteral("历史指定期"));
  layout->addWidget(tabStrip1_);

  // Both frames sit in the same place; the tab shows one of them.
  auto* manual = Make<QFrame>(area, QStringLiteral("manualPatternFrame"));
  manual->setFrameShape(QFrame::StyledPanel);
  auto* manualLayout = new QGridLayout(manual);
  auto* chosen = Make<QFrame>(area, QStringLiteral("chosenPatternFrame"));
  chosen->setFrameShape(QFrame::StyledPanel);
  auto* chosenLayout = new QGridLayout(chosen);
  // A pattern value is a few characters: narrow boxes leave the width to
  // the result grids.
  const int patternBoxWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16;
  for (int position = 1; position <= 8; ++position) {
    const int row = (position - 1) / 4 * 2;
    const int column = (position - 1) % 4;
    check11_[position] = MakeCheck(manual, Named("Check11", position), PositionCaption(position));
    text22_[position] = Make<QLineEdit>(manual, Named("Text22", position));
    text22_[position]->installEventFilter(this);
    text22_[position]->setMaximumWidth(patternBoxWidth);
    manualLayout->addWidget(check11_[position], row, column);
    manualLayout->addWidget(text22_[position], row + 1, column);

    check1_[position] =
        MakeCheck(chosen, Named("Check1", 10 + position), PositionCaption(position));
    text2_[position] = Make<QLineEdit>(chosen, Named("Text2", 10 + position));
    text2_[position]->setMaximumWidth(patternBoxWidth);
    chosenLayout->addWidget(check1_[position], row, column);
    chosenLayout->addWidget(text2_[position], row + 1, column);
  }
  manualFrame_ = manual;
  chosenFrame_ = chosen;
  chosen->hide();
  layout->addWidget(manual);
  layout->addWidget(chosen);

  auto* chosenIssue = new QHBoxLayout;
  text4_ = Make<QLineEdit>(area, QStringLiteral("Text4"));
  check4_ = MakeCheck(area, QStringLiteral("Check4"), QStringLiteral("仅检索该期前"));
  text4_->hide();
  check4_->hide();
  chosenIssue->addWidget(text4_);
  chosenIssue->addWidget(check4_);
  layout->addLayout(chosenIssue);

  auto* range = Make<QGroupBox>(area, QStringLiteral("rangeFrame"));
  range->setTitle(QStringLiteral("检索起止期数"));
  auto* rangeLayout = new QHBoxLayout(range);
  text3_[0] = Make<QLineEdit>(range, Named("Text3", 0));
  text3_[1] = Make<QLineEdit>(range, Named("Text3", 1));
  rangeLayout->addWidget(MakeLabel(range, Named("Label3", 0), QStringLiteral("起")));
  rangeLayout->addWidget(text3_[0]);
  rangeLayout->addWidget(MakeLabel(range, QStringLiteral("Label4"), QStringLiteral("～")));
  rangeLayout->addWidget(MakeLabel(range, Named("Label3", 1), QStringLiteral("止")));
  rangeLayout->addWidget(text3_[1]);
  layout->addWidget(range);
  return area;
}

QWidget* MainWindow::BuildOptionArea() {
  auto* area = new QWidget(this);
  auto* layout = new QGridLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* types = Make<QGroupBox>(area, QStringLiteral("searchTypeFrame"));
  types->setTitle(QStringLiteral("搜索类型选择"));
  auto* typesLayout = new QGridLayout(types);
  const char* typeCaptions[] = {"号码", "生肖", "头数", "尾数", "合数", "段数"};
  for (int type = 0; type < 6; ++type) {
    option3_[type] =
        MakeOption(types, Named("Option3", type), QString::fromUtf8(typeCaptions[type]));
    typesLayout->addWidget(option3_[type], type / 3, type % 3);
  }
  option3_[0]->setChecked(true);
  layout->addWidget(types, 0, 0, 1, 2);

  auto* order = Make<QGroupBox>(area, QStringLiteral("numberOrderFrame"));
  order->setTitle(QStringLiteral("号码序选择"));
  auto* orderLayout = new QHBoxLayout(order);
  option2_[4] = MakeOption(order, Named("Option2", 4), QStringLiteral("落地码"));
  option2_[5] = MakeOption(order, Named("Option2", 5), QStringLiteral("顺序码"));
  option2_[4]->setChecked(true);
  orderLayout->addWidget(option2_[4]);
  orderLayout->addWidget(option2_[5]);
  layout->addWidget(order, 1, 0);

  auto* issues = Make<QGroupBox>(area, QStringLiteral("issueChoiceFrame"));
  issues->setTitle(QStringLiteral("检索期选择"));
  auto* issuesLayout = new QHBoxLayout(issues);
  option1_[2] = MakeOption(issues, Named("Option1", 2), QStringLiteral("前    期"));
  maskEdBox2_ = MakeMaskedBox(issues, QStringLiteral("MaskEdBox2"), QStringLiteral("9"));
  option1_[3] = MakeOption(issues, Named("Option1", 3), QStringLiteral("上期"));
  option1_[3]->setChecked(true);
  issuesLayout->addWidget(option1_[2]);
  issuesLayout->addWidget(maskEdBox2_);
  issuesLayout->addWidget(option1_[3]);
  layout->addWidget(issues, 1, 1);

  auto* positions = Make<QGroupBox>(area, QStringLiteral("positionModeFrame"));
  positions->setTitle(QStringLiteral("检索位选择"));
  auto* positionsLayout = new QHBoxLayout(positions);
  option1_[0] = MakeOption(positions, Named("Option1", 0), QStringLiteral("固定位"));
  option1_[1] = MakeOption(positions, Named("Option1", 1), QStringLiteral("自由位"));
  option1_[1]->setChecked(true);
  positionsLayout->addWidget(option1_[0]);
  positionsLayout->addWidget(option1_[1]);
  layout->addWidget(positions, 2, 0);

  auto* partial = Make<QGroupBox>(area, QStringLiteral("partialSearchFrame"));
  partial->setTitle(QStringLiteral("多位检索"));
  auto* partialLayout = new QHBoxLayout(partial);
  partialLayout->addWidget(
      MakeLabel(partial, QStringLiteral("Label1"), QStringLiteral("分部位数")));
  combo1_ = MakeSizeCombo(partial, QStringLiteral("Combo1"));
  combo1_->installEventFilter(this);
  partialLayout->addWidget(combo1_);
  command2_ = MakeButton(partial, QStringLiteral("Command2"), QStringLiteral("分部检索(&G)"));
  partialLayout->addWidget(command2_);
  layout->addWidget(partial, 2, 1);

  command1_ = MakeButton(area, QStringLiteral("Command1"), QStringLiteral("检索(&S)"));
  command1_->setMinimumHeight(command1_->sizeHint().height() * 3 / 2);
  layout->addWidget(command1_, 3, 0, 1, 2);
  return area;
}

QWidget* MainWindow::BuildSelectionPanel() {
  auto* panel = Make<QGroupBox>(this, QStringLiteral("selectionFrame"));
  panel->setTitle(QStringLiteral("组合检索"));
  auto* layout = new QGridLayout(panel);
  for (int box = 1; box <= 20; ++box) {
    check6_[box] =
        MakeCheck(panel, Named("Check6", box), QStringLiteral("%1").arg(box, 2, 10, QChar(u'0')));
    layout->addWidget(check6_[box], (box - 1) / 5, (box - 1) % 5);
  }
  const char* buttonCaptions[] = {"全选", "清空", "反选"};
  for (int index = 0; index < 3; ++index) {
    cmdZH_[index] =
        MakeButton(panel, Named("cmdZH", index), QString::fromUtf8(buttonCaptions[index]));
    layout->addWidget(cmdZH_[index], 4, index);
  }
  text5_ = Make<QLineEdit>(panel, QStringLiteral("Text5"));
  text5_->setText(QStringLiteral("0"));
  text5_->setReadOnly(true);
  layout->addWidget(text5_, 4, 3, 1, 2);
  layout->addWidget(MakeLabel(panel, QStringLiteral("Label5"), QStringLiteral("组合位数")), 5, 0);
  combo2_ = MakeSizeCombo(panel, QStringLiteral("Combo2"));
  layout->addWidget(combo2_, 5, 1);
  command5_ = MakeButton(panel, QStringLiteral("Command5"), QStringLiteral("分组计算(&P)"));
  layout->addWidget(command5_, 5, 2, 1, 3);
  return panel;
}

QAction* MainWindow::AddAction(QMenu* menu, const QString& caption, const QString& name) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

void MainWindow::BuildMenus() {
  mnuLsgl_ = menuBar()->addMenu(QStringLiteral("历史管理"));
  mnuLsgl_->setObjectName(QStringLiteral("mnuLsgl"));
  QAction* export_ =
      AddAction(mnuLsgl_, QStringLiteral("导出历史号码(&O)"), QStringLiteral("mnuDcls"));
  QAction* erase =
      AddAction(mnuLsgl_, QStringLiteral("删除最后历史(&E)"), QStringLiteral("mnuErase"));
  QAction* clear =
      AddAction(mnuLsgl_, QStringLiteral("清空历史号码(&C)"), QStringLiteral("mnuClear"));
  QAction* downTo =
      AddAction(mnuLsgl_, QStringLiteral("删除到选定期(&D)"), QStringLiteral("mnuDlzd"));
  QAction* lastCount = AddAction(mnuLsgl_, QStringLiteral("删除最后指定数量期历史(&E)"),
                                 QStringLiteral("mnuEszhzd"));
  connect(export_, &QAction::triggered, this, [this] { OnExportGrid(grid1_); });
  connect(erase, &QAction::triggered, this, &MainWindow::OnDeleteLast);
  connect(clear, &QAction::triggered, this, &MainWindow::OnClearHistory);
  connect(downTo, &QAction::triggered, this, &MainWindow::OnDeleteDownTo);
  connect(lastCount, &QAction::triggered, this, &MainWindow::OnDeleteLastCount);

  mnuSetup_ = menuBar()->addMenu(QStringLiteral("设置"));
  mnuSetup_->setObjectName(QStringLiteral("mnuSetup"));
  struct BaseMenu {
    const char* caption;
    const char* name;
    const char* itemName;
    const char* items[2];
    std::array<QAction*, 2>* actions;
    void (MainWindow::*handler)(int);
  };
  const BaseMenu baseMenus[] = {
      {"生肖(肖位)参数设置(&S)",
       "mnuSxCssetup",
       "mnuSxcs",
       {"生肖(肖位)参数0~11", "生肖(肖位)参数1~12"},
       &mnuSxcs_,
       &MainWindow::OnZodiacBase},
      {"段数参数设置(&A)",
       "mnuDssetup",
       "mnuDscs",
       {"段数参数0~4", "段数参数1~5"},
       &mnuDscs_,
       &MainWindow::OnSegmentBase},
      {"波色参数设置(&B)",
       "mnuBssetup",
       "mnuBscs",
       {"波色参数0~2", "波色参数1~3"},
       &mnuBscs_,
       &MainWindow::OnColourBase},
  };
  for (const BaseMenu& base : baseMenus) {
    QMenu* menu = mnuSetup_->addMenu(QString::fromUtf8(base.caption));
    menu->setObjectName(QString::fromLatin1(base.name));
    for (int item = 0; item < 2; ++item) {
      QAction* action =
          AddAction(menu, QString::fromUtf8(base.items[item]), Named(base.itemName, item));
      action->setCheckable(true);
      (*base.actions)[size_t(item)] = action;
      const auto handler = base.handler;
      connect(action, &QAction::triggered, this, [this, handler, item] { (this->*handler)(item); });
    }
  }
  mnuSetup_->addSeparator();
  QAction* setDay =
      AddAction(mnuSetup_, QStringLiteral("历史号码更新检索天(&Y)"), QStringLiteral("mnuSetDay"));
  connect(setDay, &QAction::triggered, this, &MainWindow::OnSetDays);
  QAction* resultsUrl =
      AddAction(mnuSetup_, QStringLiteral("历史号码更新网址(&U)"), QStringLiteral("mnuResultsUrl"));
  connect(resultsUrl, &QAction::triggered, this, &MainWindow::OnResultsUrl);
  const struct {
    const char* caption;
    const char* name;
    const char* page;
  } links[] = {
      {"软件服务主页(&P)", "mnuFrontPage", "index.html"},
      {"软件介绍说明(&R)", "mnuDescrb", "functions.html"},
      {"软件演示说明录像下载(&D)", "numYanshiDown", "walkthrough.html"},
  };
  for (const auto& link : links) {
    QAction* action =
        AddAction(mnuSetup_, QString::fromUtf8(link.caption), QString::fromLatin1(link.name));
    const QString page = QString::fromLatin1(link.page);
    connect(action, &QAction::triggered, this, [this, page] { OpenGuidePage(page); });
  }
  mnuSetup_->addSeparator();
  QMenu* editions = mnuSetup_->addMenu(QStringLiteral("彩种选择"));
  editions->setObjectName(QStringLiteral("mnuCaizhong"));
  for (int edition = 0; edition < 8; ++edition) {
    const std::string_view caption = Editions()[size_t(edition)].caption;
    QAction* action =
        AddAction(editions, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                  Named("mnuKL10", edition));
    action->setCheckable(true);
    mnuKL10_[size_t(edition)] = action;
    connect(action, &QAction::triggered, this, [this, edition] { OnEdition(edition); });
  }
}

}  // namespace zs
