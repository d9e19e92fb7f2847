// The one gate that every command reading or changing the history passes
// (import, online update, typed entry, deletions, clearing, base and edition
// changes, analyses, exports): while one command holds a pass, another is
// refused and refused() says which command is still running.
//
// A command that finishes without returning to the event loop is never seen
// as busy by the user. One that lets the event loop run (a worker thread
// behind a progress dialog, an online update waiting for its page) is: once
// the event loop runs while a pass is held, busyChanged(true) lets the window
// disable the controls that would start another command, and
// busyChanged(false) follows when the pass is given back.
#ifndef ZEPHYRSTAT_APP_COMMAND_GATE_H_
#define ZEPHYRSTAT_APP_COMMAND_GATE_H_

#include <QObject>
#include <QString>
#include <optional>
#include <utility>

namespace zs {

class CommandGate : public QObject {
  Q_OBJECT

 public:
  // Held while a command runs; the gate opens again when it is destroyed.
  class Pass {
   public:
    explicit Pass(CommandGate* gate) : gate_(gate) {}
    Pass(Pass&& other) noexcept : gate_(std::exchange(other.gate_, nullptr)) {}
    Pass& operator=(Pass&&) = delete;
    Pass(const Pass&) = delete;
    ~Pass() {
      if (gate_ != nullptr) gate_->Leave();
    }

   private:
    CommandGate* gate_;
  };

  using QObject::QObject;

  // A pass for `command` (its caption, for the refusal of others), or nullopt
  // after refused() when another command holds one.
  std::optional<Pass> Enter(const QString& command);
  bool busy() const { return !running_.isEmpty(); }
  // The caption of the command holding a pass; empty when none does.
  const QString& running() const { return running_; }

 signals:
  void busyChanged(bool busy);
  void refused(const QString& message);

 private:
  void Leave();

  QString running_;
  bool shownBusy_ = false;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_COMMAND_GATE_H_
