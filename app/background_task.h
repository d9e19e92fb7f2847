// Runs the window's long commands (imports, deletes, base changes, group
// calculations, exports, the update) off the window's thread.
//
// While such a command runs, a window-modal progress dialog names it and
// the user's input to every window is dropped, never queued: a click
// or a key press made during the command is not run when it ends. Paint
// and timer events keep being served, so the window redraws and the
// progress dialog moves. Precondition: the caller holds a pass of the
// command gate, so nothing else changes the data the work touches.
#ifndef ZEPHYRSTAT_APP_BACKGROUND_TASK_H_
#define ZEPHYRSTAT_APP_BACKGROUND_TASK_H_

#include <QString>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace zs {

// Shows that `command` runs (progress dialog, busy pointer) and drops the
// user's input for as long as it lives. On destruction the input that is
// still pending is taken and dropped before input is let through again.
class CommandProgress {
 public:
  CommandProgress(QWidget* window, const QString& command);
  ~CommandProgress();
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

  // For a command that reports steps (an export's rows).
  QProgressDialog& dialog() { return *dialog_; }

  // Runs `work` on a worker thread while the dialog is shown and returns
  // when it is done; rethrows what `work` threw.
  void Run(const std::function<void()>& work);

 private:
  class InputDrop;

  std::unique_ptr<InputDrop> drop_;
  std::unique_ptr<QProgressDialog> dialog_;
};

// CommandProgress(window, command).Run(work).
void RunWithProgress(QWidget* window, const QString& command, const std::function<void()>& work);

// Runs a call of a few milliseconds (a search) on this thread under the
// busy pointer; rethrows what `work` threw.
void RunBusy(const std::function<void()>& work);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_BACKGROUND_TASK_H_
