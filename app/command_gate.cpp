#include "app/command_gate.h"

#include <QTimer>

namespace zs {

std::optional<CommandGate::Pass> CommandGate::Enter(const QString& command) {
  if (busy()) {
    emit refused(
        QStringLiteral("“%1”正在进行，请等它结束后再试；刚才的操作没有执行。").arg(running_));
    return std::nullopt;
  }
  running_ = command;
  // Fires only if the event loop runs before the command ends.
  QTimer::singleShot(0, this, [this] {
    if (busy() && !shownBusy_) {
      shownBusy_ = true;
      emit busyChanged(true);
    }
  });
  return Pass(this);
}

void CommandGate::Leave() {
  running_.clear();
  if (shownBusy_) {
    shownBusy_ = false;
    emit busyChanged(false);
  }
}

}  // namespace zs
