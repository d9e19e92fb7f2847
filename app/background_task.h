// Runs one long engine call (an import, a group calculation) on a worker
// thread while the window keeps painting. User input waits until the call is
// done, the busy pointer shows, and a progress dialog appears when the call
// takes more than a moment. Precondition: nothing else touches the data the
// call works on until it returns.
#ifndef ZEPHYRSTAT_APP_BACKGROUND_TASK_H_
#define ZEPHYRSTAT_APP_BACKGROUND_TASK_H_

#include <QString>
#include <functional>

class QWidget;

namespace zs {

// Rethrows what `work` threw.
void RunWithProgress(QWidget* window, const QString& label, const std::function<void()>& work);

// Runs a short engine call on this thread under the busy pointer; rethrows
// what `work` threw.
void RunBusy(const std::function<void()>& work);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_BACKGROUND_TASK_H_
