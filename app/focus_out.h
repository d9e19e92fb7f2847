// Runs a function when a widget loses the keyboard focus to anything but a
// pop-up (a menu or a list opening over it), as the window's boxes apply
// what was typed into them on leaving.
#ifndef ZEPHYRSTAT_APP_FOCUS_OUT_H_
#define ZEPHYRSTAT_APP_FOCUS_OUT_H_

#include <QObject>
#include <functional>

namespace zs {

// The watcher is a child of `widget` and lives as long as it.
void OnFocusOut(QObject* widget, std::function<void()> left);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_FOCUS_OUT_H_
