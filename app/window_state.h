// What the window's commands share: the data folder, the dialogs, the
// settings, the opened history with its analysis index, the command gate
// and the outcome line of the status bar.
//
// The history and the index change only on the window's thread, inside a
// command that holds a pass of the gate; a worker thread gets its own copy
// or reads them while the command that started it holds the pass.
#ifndef ZEPHYRSTAT_APP_WINDOW_STATE_H_
#define ZEPHYRSTAT_APP_WINDOW_STATE_H_

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "analysis/history_index.h"
#include "app/command_gate.h"
#include "app/dialogs.h"
#include "core/settings.h"
#include "store/history_store.h"

class QLabel;
class QWidget;

namespace zs {

struct WindowState {
  std::filesystem::path dataFolder;
  std::unique_ptr<Dialogs> dialogs;
  Settings settings;
  std::unique_ptr<HistoryStore> store;  // null when the database could not be opened
  HistoryIndex index;
  CommandGate gate;
  QLabel* outcome = nullptr;  // the status bar's outcome line
  QWidget* window = nullptr;  // parent of the dialogs

  // Puts `text` on the outcome line, which menus and tool tips do not clear.
  void Report(const QString& text) const;
  // A failure the user must act on: the outcome line and a message box.
  void ReportFailure(const QString& title, const QString& text) const;
  // The index read anew from the store (empty without one).
  void ReloadIndex();
  // False, with the reason on the outcome line, when no database is open.
  bool RequireStore() const;
  QString ShownIssueText(int32_t stored) const;
  // Checks, applies and saves one setting (a zodiac or segment base also
  // re-derives the stored draws, together with the save); the reason when
  // nothing changed.
  std::optional<QString> ChangeSetting(SettingKey key, const QString& value);
  // Saves a setting the window already holds; a failure goes to the outcome line.
  void RememberSetting(SettingKey key);
};

QString What(const std::exception& error);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_WINDOW_STATE_H_
