#include "app/window_state.h"

#include <QLabel>

#include "app/background_task.h"
#include "app/common/settings_store.h"
#include "core/issue_number.h"
#include "store/setting_change.h"

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

std::optional<QString> WindowState::ChangeSetting(SettingKey key, const QString& value) {
  HistoryStore* rederived = IsDerivationBase(key) ? store.get() : nullptr;
  try {
    SettingChange change;
    RunBusy([&] {
      change = zs::ChangeSetting(rederived, settings, key, value.toStdString(), SaveSetting);
    });
    settings = change.settings;
    if (change.rederived) ReloadIndex();
  } catch (const std::exception& error) {
    return What(error);
  }
  return std::nullopt;
}

void WindowState::RememberSetting(SettingKey key) {
  const QString value = QString::fromStdString(SettingText(settings, key));
  if (const std::optional<QString> failure = ChangeSetting(key, value)) Report(*failure);
}

QString What(const std::exception& error) { return QString::fromUtf8(error.what()); }

}  // namespace zs
