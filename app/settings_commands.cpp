#include "app/settings_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/window_state.h"
#include "core/errors.h"
#include "frontend/settings_store.h"

namespace zs {
namespace {

template <size_t N>
void CheckOnly(const std::array<QAction*, N>& items, int checked) {
  for (size_t item = 0; item < N; ++item) items[item]->setChecked(int(item) == checked);
}

}  // namespace

SettingsCommands::SettingsCommands(WindowState& state, QObject* parent)
    : QObject(parent), state_(state) {}

void SettingsCommands::ShowChecks() {
  const Settings settings = state_.settings();
  CheckOnly(items_.zodiac, settings.zodiacBase);
  CheckOnly(items_.segment, settings.segmentBase);
  CheckOnly(items_.colour, settings.colourBase);
  const std::optional<size_t> edition = settings.edition.index();
  CheckOnly(items_.editions, edition ? int(*edition) : -1);
}

void SettingsCommands::ChangeZodiacBase(int base) {
  ChangeBase(SettingKey::kZodiacBase, base);
  ShowChecks();
}

void SettingsCommands::ChangeSegmentBase(int base) {
  ChangeBase(SettingKey::kSegmentBase, base);
  ShowChecks();
}

void SettingsCommands::ChangeColourBase(int base) {
  if (const auto failure = state_.ChangeSetting(SettingKey::kColourBase, QString::number(base))) {
    state_.Report(*failure);
  }
  ShowChecks();
}

// A new zodiac or segment base re-derives those fields of every stored draw;
// the base is saved together with that, or neither happens.
void SettingsCommands::ChangeBase(SettingKey key, int value) {
  const auto pass = state_.gate.Enter(QStringLiteral("参数设置"));
  if (!pass) return;
  if (const auto failure = state_.ChangeSetting(key, QString::number(value))) {
    state_.Report(QStringLiteral("参数未改变，历史号码保持原样：%1").arg(*failure));
    return;
  }
  const QString done = state_.WithReadFailure(QStringLiteral("参数已改变，历史号码已重新计算。"));
  emit basesChanged();
  state_.Report(done);
}

void SettingsCommands::ChangeEdition(EditionChoice edition) {
  if (const auto pass = state_.gate.Enter(QStringLiteral("彩种选择"))) {
    Settings wanted = state_.settings();
    wanted.edition = edition;
    const QString value = QString::fromStdString(SettingText(wanted, SettingKey::kEdition));
    if (const auto failure = state_.ChangeSetting(SettingKey::kEdition, value)) {
      state_.Report(*failure);
    } else {
      const std::optional<QString> warning = state_.ReadFailureWarning();
      emit editionChanged();
      if (warning) state_.Report(QStringLiteral("已选择新的彩种。") + *warning);
    }
  }
  ShowChecks();
}

void SettingsCommands::AskKeptYears() {
  const QString title = QStringLiteral("设置年数");
  const QString prompt = QStringLiteral(
      "请输入更新需要保留的历史号码的年数（2~"
      "16中的任意自然数），如果超过年数将删除最早的一年的历史号码");
  for (;;) {
    const QString answer = state_.dialogs->Input(state_.window, title, prompt,
                                                 QString::number(state_.settings().keptDays));
    if (answer.isEmpty()) return;
    // A bad value is asked for again; an accepted one that could not be
    // saved is reported once.
    Settings checked = state_.settings();
    try {
      ApplySetting(checked, SettingKey::kKeptDays, answer.toStdString());
    } catch (const InputError&) {
      state_.dialogs->Message(
          state_.window, QStringLiteral("输入有误"),
          QStringLiteral("为了保证时效性和提高计算效率，软件只能统计16年以内的数据，"
                         "请输入2到16中的自然数。"));
      continue;
    }
    if (const auto failure = state_.ChangeSetting(SettingKey::kKeptDays, answer)) {
      state_.dialogs->Message(state_.window, title, *failure);
    }
    return;
  }
}

// The address of the results page that the online update asks; "{code}"
// stands for the edition code and "{n}" for the number of draws wanted.
void SettingsCommands::AskResultsUrl() {
  const QString answer = state_.dialogs->Input(
      state_.window, QStringLiteral("设置更新网址"),
      QStringLiteral("请输入在线更新所用的开奖结果网页地址（{code} 代表彩种代码，{n} 代表期数）"),
      QString::fromStdString(state_.settings().resultsUrl));
  if (answer.isEmpty()) return;
  if (const auto failure = state_.ChangeSetting(SettingKey::kResultsUrl, answer)) {
    state_.dialogs->Message(state_.window, QStringLiteral("输入有误"), *failure);
  }
}

// The guide ships in docs/ beside the program, or in PREFIX/share/doc when
// installed; a source checkout's docs/ serves when the program runs from its
// build folder.
void SettingsCommands::OpenGuidePage(const QString& page) {
  const QDir programDir(QCoreApplication::applicationDirPath());
  QString file = programDir.filePath(QStringLiteral("docs/") + page);
  if (!QFileInfo::exists(file)) {
    file = programDir.filePath(QStringLiteral("../share/doc/zephyrstat/") + page);
  }
  if (!QFileInfo::exists(file)) file = programDir.filePath(QStringLiteral("../../docs/") + page);
  file = QFileInfo(file).absoluteFilePath();
  if (!QFileInfo::exists(file)) {
    state_.ReportFailure(QStringLiteral("使用说明"),
                         QStringLiteral("找不到说明页面 %1：软件的 docs 文件夹不完整。").arg(file));
    return;
  }
  if (!state_.dialogs->OpenLink(QUrl::fromLocalFile(file))) {
    state_.ReportFailure(QStringLiteral("使用说明"),
                         QStringLiteral("没有可打开说明页面的程序（网页浏览器）。"
                                        "请安装浏览器，或直接用浏览器打开 %1")
                             .arg(file));
  }
}

void SettingsCommands::ShowAbout() {
  state_.dialogs->Message(state_.window, QStringLiteral("关于 Zephyrstat"),
                          QStringLiteral("Zephyrstat 泽风统计 %1\n快乐十分历史号码遗漏分析。\n"
                                         "历史号码保存在 %2")
                              .arg(QCoreApplication::applicationVersion(),
                                   QString::fromStdU16String(state_.dataFolder.u16string())));
}

}  // namespace zs
