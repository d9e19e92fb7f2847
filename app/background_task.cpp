#include "app/background_task.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QWidget>
#include <exception>

namespace zs {
namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

// Swallows the user's input to every widget, the progress dialog's too (it
// offers nothing to press, and Escape would only hide it). An event filter
// on the application sees every event before its receiver does, so what it
// swallows is gone, unlike the input that an event loop excluding user
// input leaves queued for later.
class CommandProgress::InputDrop : public QObject {
 public:
  InputDrop() { qApp->installEventFilter(this); }
  ~InputDrop() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    return receiver->isWidgetType() && IsUserInput(event->type());
  }
};

CommandProgress::CommandProgress(QWidget* window, const QString& command)
    : dialog_(std::make_unique<QProgressDialog>(
          QStringLiteral("“%1”正在进行，请稍候……").arg(command), QString(), 0, 0, window)) {
  dialog_->setWindowTitle(command);
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setCancelButton(nullptr);
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
  // A command that ends within a moment does not flash a dialog; the
  // dialog's timer to show it starts with its first value.
  dialog_->setMinimumDuration(300);
  dialog_->setValue(0);
  drop_ = std::make_unique<InputDrop>();
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

CommandProgress::~CommandProgress() {
  // Input that reached the application while the command ran but has not
  // been delivered yet is dropped too.
  QCoreApplication::processEvents();
  QApplication::restoreOverrideCursor();
  dialog_.reset();
  drop_.reset();
}

void CommandProgress::Run(const std::function<void()>& work) {
  std::exception_ptr failure;
  std::unique_ptr<QThread> thread(QThread::create([&work, &failure] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  QEventLoop loop;
  QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
  thread->start();
  loop.exec();
  thread->wait();
  if (failure) std::rethrow_exception(failure);
}

void RunWithProgress(QWidget* window, const QString& command, const std::function<void()>& work) {
  CommandProgress(window, command).Run(work);
}

void RunBusy(const std::function<void()>& work) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    work();
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
}

}  // namespace zs
