#include "app/focus_out.h"

#include <QFocusEvent>

namespace zs {
namespace {

class FocusOutWatcher : public QObject {
 public:
  FocusOutWatcher(QObject* widget, std::function<void()> left)
      : QObject(widget), left_(std::move(left)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
      left_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> left_;
};

}  // namespace

void OnFocusOut(QObject* widget, std::function<void()> left) {
  widget->installEventFilter(new FocusOutWatcher(widget, std::move(left)));
}

}  // namespace zs
