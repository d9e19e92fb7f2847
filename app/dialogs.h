// The boxes the window asks and tells through: a question with OK and
// Cancel, an input box, a message box, the open-file dialog, and opening a
// documentation page or an exported file. The window holds them behind this
// interface so that tests answer them from a script.
#ifndef ZEPHYRSTAT_APP_DIALOGS_H_
#define ZEPHYRSTAT_APP_DIALOGS_H_

#include <QString>
#include <QUrl>
#include <memory>

#include "app/file_opener.h"

class QWidget;

namespace zs {

// The button that Enter presses in a question: Cancel for a question whose
// OK destroys something (clearing or replacing the history).
enum class QuestionDefault { kOk, kCancel };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // True when the user answers OK.
  virtual bool Question(QWidget* parent, const QString& title, const QString& text,
                        QuestionDefault defaultButton) = 0;
  // The answer; empty when the box is cancelled, as an input box answers.
  virtual QString Input(QWidget* parent, const QString& title, const QString& prompt,
                        const QString& initial) = 0;
  // A message with an OK button.
  virtual void Message(QWidget* parent, const QString& title, const QString& text) = 0;
  // The chosen file; empty when the dialog is cancelled. `filter` is in
  // Qt's form, e.g. "Text(*.txt)".
  virtual QString OpenFile(QWidget* parent, const QString& folder, const QString& filter) = 0;
  // Opens a page with the desktop's default handler; false when no
  // application could be started for it.
  virtual bool OpenLink(const QUrl& url) = 0;
  // Opens the files the exports write.
  virtual FileOpener& Opener() = 0;
};

// The real boxes: QMessageBox, QInputDialog, QFileDialog, and the desktop's
// URL handler with xdg-open as a second way.
std::unique_ptr<Dialogs> MakeWidgetDialogs();

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_DIALOGS_H_
