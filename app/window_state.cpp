#include "app/window_state.h"

#include <QLabel>

#include "core/issue_number.h"

namespace zs {

void WindowState::Report(const QString& text) const {
  outcome->setText(text);
  outcome->setToolTip(text);
}

void WindowState::ReportFailure(const QString& title, const QString& text) const {
  Report(text);
  dialogs->Message(window, title, text);
}

void WindowState::ReloadIndex() { index = store ? HistoryIndex(*store) : HistoryIndex(); }

bool WindowState::RequireStore() const {
  if (store == nullptr) Report(QStringLiteral("历史数据库没有打开，无法执行该操作。"));
  return store != nullptr;
}

QString WindowState::ShownIssueText(int32_t stored) const {
  return QString::fromStdString(ShownIssue(stored, IssueRule::From(settings).threeDigit));
}

QString What(const std::exception& error) { return QString::fromUtf8(error.what()); }

}  // namespace zs
