#include "app/window_state.h"

#include <QLabel>

#include "app/background_task.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "frontend/settings_store.h"
#include "history/setting_change.h"

namespace zs {

void WindowState::Open(const Settings& saved) {
  unopenedSettings_ = saved;
  history = History::OpenFolder(dataFolder, saved);
  // Read now, on this thread, before any command runs on a worker.
  history->snapshot();
}

Settings WindowState::settings() const { return history ? history->settings() : unopenedSettings_; }

Snapshot WindowState::snapshot() const {
  if (history) return history->snapshot();
  auto empty = std::make_shared<const HistoryIndex>();
  const DerivationRules rules = DerivationRules::From(unopenedSettings_);
  auto watches = std::make_shared<const WatchBook>(std::vector<Watch>(), *empty,
                                                   PanelBases{rules.zodiacBase, rules.segmentBase});
  return std::make_shared<const HistorySnapshot>(
      HistorySnapshot{std::move(empty), rules, 0, std::move(watches), {}});
}

void WindowState::Report(const QString& text) const {
  outcome->setText(text);
  outcome->setToolTip(text);
}

void WindowState::ReportFailure(const QString& title, const QString& text) const {
  Report(text);
  dialogs->Message(window, title, text);
}

std::optional<QString> WindowState::ReadFailureWarning() const {
  const std::optional<std::string> failure = history ? history->TakeReadFailure() : std::nullopt;
  if (!failure) return std::nullopt;
  return QStringLiteral(
             "警告：之后无法重新读出历史号码，窗口仍显示改动之前的历史，"
             "请重新启动程序：%1")
      .arg(QString::fromStdString(*failure));
}

QString WindowState::WithReadFailure(const QString& done) const {
  const std::optional<QString> warning = ReadFailureWarning();
  return warning ? done + QLatin1Char(' ') + *warning : done;
}

bool WindowState::RequireStore() const {
  if (history == nullptr) Report(QStringLiteral("历史数据库没有打开，无法执行该操作。"));
  return history != nullptr;
}

QString WindowState::ShownIssueText(int32_t stored) const {
  return QString::fromStdString(ShownIssue(stored, IssueRule::From(settings()).threeDigit));
}

std::optional<QString> WindowState::ChangeSetting(SettingKey key, const QString& value) {
  const std::string text = value.toStdString();
  try {
    if (history == nullptr) {
      unopenedSettings_ =
          zs::ChangeSetting(nullptr, unopenedSettings_, key, text, SaveSetting).settings;
    } else if (IsDerivationBase(key) || key == SettingKey::kEdition) {
      RunWithProgress(window, gate.running(),
                      [this, key, &text] { history->ChangeSetting(key, text, SaveSetting); });
    } else {
      history->ChangeSetting(key, text, SaveSetting);
    }
  } catch (const std::exception& error) {
    return What(error);
  }
  return std::nullopt;
}

void WindowState::RememberSetting(SettingKey key, const Settings& wanted) {
  const QString value = QString::fromStdString(SettingText(wanted, key));
  if (const std::optional<QString> failure = ChangeSetting(key, value)) Report(*failure);
}

QString What(const std::exception& error) { return QString::fromUtf8(error.what()); }

}  // namespace zs
