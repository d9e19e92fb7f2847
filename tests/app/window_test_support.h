// What the window tests share: scripted dialogs that answer from queues and
// record what was asked, and a fixture that gives every test its own data
// folder and settings store, seeds a history, opens the real window and
// finds its controls by what they are for. The historical object names of
// the window's controls are spelt here and nowhere else in the tests.
#ifndef ZEPHYRSTAT_TESTS_APP_WINDOW_TEST_SUPPORT_H_
#define ZEPHYRSTAT_TESTS_APP_WINDOW_TEST_SUPPORT_H_

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <vector>

#include "app/dialogs.h"
#include "app/grid_view.h"
#include "app/main_window.h"
#include "app/widget_factory.h"
#include "core/derivation.h"
#include "core/settings.h"
#include "store/history_store.h"

namespace zs::testing {

// The menu items, for WindowWorld::Action; the numbered ones with Named(items, n).
inline constexpr char kExportHistoryItem[] = "mnuDcls";
inline constexpr char kDeleteLastItem[] = "mnuErase";
inline constexpr char kClearItem[] = "mnuClear";
inline constexpr char kDeleteDownToItem[] = "mnuDlzd";
inline constexpr char kDeleteCountItem[] = "mnuEszhzd";
inline constexpr char kZodiacBaseItems[] = "mnuSxcs";   // _0: 0~11, _1: 1~12
inline constexpr char kSegmentBaseItems[] = "mnuDscs";  // _0: 0~4, _1: 1~5
inline constexpr char kColourBaseItems[] = "mnuBscs";   // _0: 0~2, _1: 1~3
inline constexpr char kKeptYearsItem[] = "mnuSetDay";
inline constexpr char kFrontPageItem[] = "mnuFrontPage";
inline constexpr char kDescriptionItem[] = "mnuDescrb";
inline constexpr char kWalkthroughItem[] = "numYanshiDown";
inline constexpr char kEditionItems[] = "mnuKL10";  // _0 … _7
inline constexpr char kGuideItem[] = "mnuGuide";
inline constexpr char kAboutItem[] = "mnuAbout";
inline constexpr char kTrendItem[] = "mnuTrend";
inline constexpr char kStatisticsItem[] = "mnuStatistics";
inline constexpr char kAutoUpdateItem[] = "mnuAutoUpdate";
inline constexpr char kAutoUpdateMinutesItem[] = "mnuAutoUpdateMinutes";
// The table beside a distribution chart.
inline constexpr char kDistributionGrid[] = "DistributionGrid";

struct Asked {
  QString kind;  // "question", "input", "message", "open"
  QString title;
  QString text;     // question text, prompt, message or folder
  QString initial;  // input default or file filter
  QuestionDefault defaultButton = QuestionDefault::kOk;
};

class ScriptedDialogs : public Dialogs {
 public:
  std::deque<bool> answers;    // questions; OK when the queue is empty
  std::deque<QString> inputs;  // input boxes; cancelled when empty
  std::deque<QString> files;   // open dialogs; cancelled when empty
  std::vector<Asked> asked;
  std::vector<QUrl> links;
  bool canOpenLinks = true;  // false: no application opens a page

  bool Question(QWidget*, const QString& title, const QString& text,
                QuestionDefault defaultButton) override {
    asked.push_back({QStringLiteral("question"), title, text, {}, defaultButton});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString Input(QWidget*, const QString& title, const QString& prompt,
                const QString& initial) override {
    asked.push_back({QStringLiteral("input"), title, prompt, initial});
    return Pop(inputs);
  }
  void Message(QWidget*, const QString& title, const QString& text) override {
    asked.push_back({QStringLiteral("message"), title, text, {}});
  }
  QString OpenFile(QWidget*, const QString& folder, const QString& filter) override {
    asked.push_back({QStringLiteral("open"), {}, folder, filter});
    return Pop(files);
  }
  bool OpenLink(const QUrl& url) override {
    links.push_back(url);
    return canOpenLinks;
  }
  FileOpener& Opener() override { return opener; }

  // Records the exported files instead of starting an application.
  struct RecordingOpener : FileOpener {
    std::vector<std::filesystem::path> opened;
    bool Open(const std::filesystem::path& file) override {
      opened.push_back(file);
      return true;
    }
  } opener;

  int Count(const QString& kind) const {
    int count = 0;
    for (const Asked& a : asked) count += a.kind == kind ? 1 : 0;
    return count;
  }

 private:
  static QString Pop(std::deque<QString>& queue) {
    if (queue.empty()) return {};
    QString value = queue.front();
    queue.pop_front();
    return value;
  }
};

// One test's world: a data folder, a settings store of its own and the window.
class WindowWorld {
 public:
  // QSettings reads XDG_CONFIG_HOME once per process, so every world also
  // points the user scope at its own folder.
  WindowWorld() {
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_.path());
  }
  ~WindowWorld() { window.reset(); }

  std::filesystem::path folder() const { return std::filesystem::path(data_.path().toStdString()); }

  void SetSetting(const char* key, const QString& value) {
    Store().setValue(QStringLiteral("IniSetting/") + QString::fromLatin1(key), value);
  }
  QVariant StoredSetting(const char* key) {
    return Store().value(QStringLiteral("IniSetting/") + QString::fromLatin1(key));
  }
  QStringList StoredKeys() { return Store().allKeys(); }

  // Stores draws (issue, eight numbers) under the settings saved so far.
  void Seed(const std::vector<Draw>& draws) {
    Settings settings;
    if (StoredSetting("GsZl").isValid()) {
      settings.edition = EditionChoice::FromStored(StoredSetting("GsZl").toInt());
    }
    const DerivationRules rules = DerivationRules::From(settings);
    HistoryStore::OpenFolder(folder())->ReplaceAllDraws(draws, rules);
  }

  // Seeds `draws`, then opens the window on them.
  MainWindow& Open(const std::vector<Draw>& draws) {
    Seed(draws);
    return Open();
  }
  // The draw 14011601 (01 … 08) under the first edition, then the window.
  MainWindow& OpenOneDraw() {
    SetSetting("GsZl", QStringLiteral("0"));
    return Open({Draw{14011601, {1, 2, 3, 4, 5, 6, 7, 8}}});
  }

  MainWindow& Open() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    window = std::make_unique<MainWindow>(folder(), std::move(scripted));
    window->resize(1280, 800);
    window->show();
    QApplication::setActiveWindow(window.get());
    return *window;
  }

  template <typename T>
  T* Find(const QString& name) {
    T* found = window->findChild<T*>(name);
    if (found == nullptr) qWarning("no widget %s", qPrintable(name));
    return found;
  }
  QAction* Action(const QString& name) { return Find<QAction>(name); }

  // The history panel.
  GridView* HistoryGrid() { return Find<GridView>("MSFlexGrid1"); }
  QPushButton* ImportButton() { return Find<QPushButton>("cmdRdLst"); }
  QPushButton* UpdateButton() { return Find<QPushButton>("Command21"); }
  QPushButton* DeleteLastButton() { return Find<QPushButton>("Command3"); }
  QPushButton* SettingsButton() { return Find<QPushButton>("Command9"); }
  QLineEdit* NextIssue() { return Find<QLineEdit>("Text1"); }
  // The pattern panel.
  QTabBar* PatternTabs() { return Find<QTabBar>("TabStrip1"); }
  QRadioButton* FixedPositions() { return Find<QRadioButton>("Option1_0"); }
  QRadioButton* FreePositions() { return Find<QRadioButton>("Option1_1"); }
  QRadioButton* IssuesBackOption() { return Find<QRadioButton>("Option1_2"); }  // 前 N 期
  QRadioButton* PreviousIssueOption() { return Find<QRadioButton>("Option1_3"); }
  QRadioButton* DrawnOrder() { return Find<QRadioButton>("Option2_4"); }  // 落地码
  QRadioButton* SortedOrder() { return Find<QRadioButton>("Option2_5"); }
  QLineEdit* ChosenIssue() { return Find<QLineEdit>("Text4"); }
  QCheckBox* BeforeChosenIssue() { return Find<QCheckBox>("Check4"); }
  QLineEdit* RangeStart() { return Find<QLineEdit>("Text3_0"); }
  QLineEdit* RangeEnd() { return Find<QLineEdit>("Text3_1"); }
  QComboBox* PartSize() { return Find<QComboBox>("Combo1"); }
  QPushButton* PartialSearchButton() { return Find<QPushButton>("Command2"); }
  QPushButton* SearchButton() { return Find<QPushButton>("Command1"); }
  // The selection panel.
  QPushButton* SelectAllButton() { return Find<QPushButton>("cmdZH_0"); }
  QPushButton* InvertButton() { return Find<QPushButton>("cmdZH_2"); }
  QLineEdit* CheckedCount() { return Find<QLineEdit>("Text5"); }
  QComboBox* GroupSize() { return Find<QComboBox>("Combo2"); }
  QPushButton* GroupButton() { return Find<QPushButton>("Command5"); }
  // The results panel: the hit list, and the summary or omission table.
  GridView* HitList() { return Find<GridView>("MSFlexGrid2"); }
  GridView* Summary() { return Find<GridView>("MSFlexGrid3"); }
  // The menus 历史管理 and 设置 and two of the submenus of 设置.
  QMenu* HistoryMenu() { return Find<QMenu>("mnuLsgl"); }
  QMenu* SetupMenu() { return Find<QMenu>("mnuSetup"); }
  QMenu* ZodiacBaseMenu() { return Find<QMenu>("mnuSxCssetup"); }
  QMenu* EditionMenu() { return Find<QMenu>("mnuCaizhong"); }
  // The status bar: the outcome line and the automatic update's label.
  QLabel* OutcomeLine() { return Find<QLabel>("outcomeLine"); }
  QLabel* AutoUpdateStatus() { return Find<QLabel>("autoUpdateStatus"); }
  QString Outcome() { return OutcomeLine()->text(); }

  // The numbered controls: entry boxes 1..8, the search types as SearchType
  // counts them, positions and selection boxes from 1.
  QLineEdit* EntryBox(int box) { return Find<QLineEdit>(Named("MaskEdBox1", box)); }
  QRadioButton* TypeOption(int type) { return Find<QRadioButton>(Named("Option3", type)); }
  QCheckBox* PositionCheck(int position) { return Find<QCheckBox>(Named("Check11", position)); }
  QLineEdit* PatternBox(int position) { return Find<QLineEdit>(Named("Text22", position)); }
  QLineEdit* ChosenValue(int position) { return Find<QLineEdit>(Named("Text2", 10 + position)); }
  QCheckBox* SelectionBox(int box) { return Find<QCheckBox>(Named("Check6", box)); }

  // Types each text over the entry box of its place, as a user does; a null
  // text skips its box.
  void TypeEntry(const QStringList& texts) {
    for (int box = 1; box <= 8; ++box) {
      if (texts[box - 1].isNull()) continue;
      EntryBox(box)->setFocus();
      EntryBox(box)->selectAll();
      QTest::keyClicks(EntryBox(box), texts[box - 1]);
    }
  }
  void TypePattern(int position, const QString& text) {
    PatternBox(position)->setFocus();
    QTest::keyClicks(PatternBox(position), text);
  }

  std::vector<Draw> StoredDraws() { return HistoryStore::OpenFolder(folder())->LoadDraws(); }

  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<MainWindow> window;

 private:
  QSettings Store() {
    return QSettings(QStringLiteral("Zephyrstat"), QStringLiteral("Zephyrstat"));
  }

  QTemporaryDir config_;
  QTemporaryDir data_;
};

// Draws with consecutive two-digit issues from `first` on (no day rollover:
// callers stay within one day's 84 draws or pass issues themselves), numbers
// rotating through 1..20.
inline std::vector<Draw> RotatingDraws(int32_t first, int count) {
  std::vector<Draw> draws;
  for (int i = 0; i < count; ++i) {
    Draw draw{first + i, {}};
    for (int p = 0; p < kPositions; ++p) draw.numbers[size_t(p)] = (i + p * 2) % 20 + 1;
    draws.push_back(draw);
  }
  return draws;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// The text of a cell of a grid.
inline QString Cell(const QAbstractItemModel* model, int row, int column) {
  return model->data(model->index(row, column)).toString();
}
inline QString Cell(const QAbstractItemView* grid, int row, int column) {
  return Cell(grid->model(), row, column);
}

// Clicks near the left end of a button, where a check or option button has its mark.
inline void ClickButton(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_APP_WINDOW_TEST_SUPPORT_H_
