#include "app/background_task.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <exception>

namespace zs {

void RunWithProgress(QWidget* window, const QString& label, const std::function<void()>& work) {
  std::exception_ptr failure;
  QThread* thread = QThread::create([&work, &failure] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  QProgressDialog progress(label, QString(), 0, 0, window);
  progress.setWindowModality(Qt::WindowModal);
  progress.setCancelButton(nullptr);
  progress.setMinimumDuration(400);
  QEventLoop loop;
  QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  thread->start();
  // Input events stay queued while the call runs, as they would while a
  // blocking call runs on this thread; paint events are served.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  thread->wait();
  delete thread;
  progress.reset();
  QApplication::restoreOverrideCursor();
  if (failure) std::rethrow_exception(failure);
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
