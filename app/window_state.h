// What the window's commands share: the data folder, the dialogs, the
// opened history (store, settings, analysis index), the command gate and
// the outcome line of the status bar.
//
// The history changes only inside a command that holds a pass of the gate,
// on a worker thread while the window's thread waits behind the progress
// dialog (background_task.h), or on the window's thread for a change of a
// moment. Everything that shows or writes the history holds the snapshot
// it was computed from, so a change never frees what is still shown.
#ifndef ZEPHYRSTAT_APP_WINDOW_STATE_H_
#define ZEPHYRSTAT_APP_WINDOW_STATE_H_

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/command_gate.h"
#include "app/dialogs.h"
#include "core/settings.h"
#include "history/history.h"

class QLabel;
class QWidget;

namespace zs {

struct WindowState {
  std::filesystem::path dataFolder;
  std::unique_ptr<Dialogs> dialogs;
  std::unique_ptr<History> history;  // null when the database could not be opened
  CommandGate gate;
  QLabel* outcome = nullptr;  // the status bar's outcome line
  QWidget* window = nullptr;  // parent of the dialogs

  // Opens the history in the data folder under the saved settings; on
  // failure keeps the settings alone and rethrows.
  void Open(const Settings& saved);
  Settings settings() const;
  // The history as the last change left it; an empty one without a database.
  Snapshot snapshot() const;

  // Puts `text` on the outcome line, which menus and tool tips do not clear.
  void Report(const QString& text) const;
  // A failure the user must act on: the outcome line and a message box.
  void ReportFailure(const QString& title, const QString& text) const;
  // The warning when the history could not be read after the change that is
  // done: the window then still shows the history before it. Said once.
  std::optional<QString> ReadFailureWarning() const;
  // `done`, followed by that warning when there is one.
  QString WithReadFailure(const QString& done) const;
  // False, with the reason on the outcome line, when no database is open.
  bool RequireStore() const;
  QString ShownIssueText(int32_t stored) const;
  // Checks, applies and saves one setting (a zodiac or segment base also
  // re-derives the stored draws, together with the save, on a worker thread
  // behind the progress dialog of the command holding the gate); the reason
  // when nothing changed.
  std::optional<QString> ChangeSetting(SettingKey key, const QString& value);
  // Saves the value `wanted` has for `key`; a failure goes to the outcome line.
  void RememberSetting(SettingKey key, const Settings& wanted);

 private:
  Settings unopenedSettings_;  // the settings while no database is open
};

QString What(const std::exception& error);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_WINDOW_STATE_H_
