// What the window tests share: scripted dialogs that answer from queues and
// record what was asked, and a fixture that gives every test its own data
// folder and settings store, seeds a history and opens the real window.
#ifndef ZEPHYRSTAT_TESTS_APP_WINDOW_TEST_SUPPORT_H_
#define ZEPHYRSTAT_TESTS_APP_WINDOW_TEST_SUPPORT_H_

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <vector>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "core/derivation.h"
#include "core/settings.h"
#include "store/history_store.h"

namespace zs::testing {

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
  // The outcome line of the status bar.
  QString Outcome() { return Find<QLabel>(QStringLiteral("outcomeLine"))->text(); }

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

// Clicks near the left end of a button, where a check or option button has its mark.
inline void ClickButton(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_APP_WINDOW_TEST_SUPPORT_H_
