// The 设置 menu: numbering bases, the kept-days input loop, the edition, the
// partial-search width box Combo1, the settings button and the three links
// to the user guide.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>

#include "app/common/settings_store.h"
#include "app/main_window.h"
#include "core/errors.h"
#include "store/setting_change.h"

namespace zs {

std::optional<QString> MainWindow::ChangeOneSetting(SettingKey key, const QString& value) {
  HistoryStore* store = IsDerivationBase(key) ? store_.get() : nullptr;
  try {
    SettingChange change;
    RunBusy(
        [&] { change = ChangeSetting(store, settings_, key, value.toStdString(), SaveSetting); });
    settings_ = change.settings;
    if (change.rederived) ReloadIndex();
  } catch (const std::exception& error) {
    return QString::fromUtf8(error.what());
  }
  return std::nullopt;
}

void MainWindow::RememberSetting(SettingKey key) {
  const QString value = QString::fromStdString(SettingText(settings_, key));
  if (const std::optional<QString> failure = ChangeOneSetting(key, value)) ShowStatus(*failure);
}

void MainWindow::OnZodiacBase(int base) {
  ChangeBase(SettingKey::kSxIni, base);
  for (int item = 0; item < 2; ++item) {
    mnuSxcs_[size_t(item)]->setChecked(item == settings_.sxIni);
  }
}

void MainWindow::OnSegmentBase(int base) {
  ChangeBase(SettingKey::kDsIni, base);
  for (int item = 0; item < 2; ++item) {
    mnuDscs_[size_t(item)]->setChecked(item == settings_.dsIni);
  }
}

void MainWindow::OnColourBase(int base) {
  if (const auto failure = ChangeOneSetting(SettingKey::kBsIni, QString::number(base))) {
    ShowStatus(*failure);
  }
  for (int item = 0; item < 2; ++item) {
    mnuBscs_[size_t(item)]->setChecked(item == settings_.bsIni);
  }
}

// A new zodiac or segment base re-derives those fields of every stored draw;
// the base is saved together with that, or neither happens.
bool MainWindow::ChangeBase(SettingKey key, int value) {
  if (const auto failure = ChangeOneSetting(key, QString::number(value))) {
    ShowStatus(QStringLiteral("参数未改变，历史号码保持原样：%1").arg(*failure));
    return false;
  }
  PatternRefresh();
  const SearchType type = panel_.type();
  if (type == SearchType::kZodiac || type == SearchType::kSegment) {
    panel_.ChangeType(type);
    RelabelSelectionBoxes();
  }
  return true;
}

void MainWindow::OnEdition(int edition) {
  if (const auto failure = ChangeOneSetting(SettingKey::kGsZl, QString::number(edition))) {
    ShowStatus(*failure);
  }
  for (int item = 0; item < 8; ++item) {
    mnuKL10_[size_t(item)]->setChecked(item == settings_.gsZl);
  }
}

void MainWindow::OnSetDays() {
  const QString title = QStringLiteral("设置年数");
  const QString prompt = QStringLiteral(
      "请输入更新需要保留的历史号码的年数（2~"
      "16中的任意自然数），如果超过年数将删除最早的一年的历史号码");
  for (;;) {
    const QString answer =
        dialogs_->Input(this, title, prompt, QString::number(settings_.iniSerchDay));
    if (answer.isEmpty()) return;
    // A bad value is asked for again; an accepted one that could not be
    // saved is reported once.
    Settings checked = settings_;
    try {
      ApplySetting(checked, SettingKey::kIniSerchDay, answer.toStdString());
    } catch (const InputError&) {
      dialogs_->Message(this, QStringLiteral("输入有误"),
                        QStringLiteral("为了保证时效性和提高计算效率，软件只能统计16年以内的数据，"
                                       "请输入2到16中的自然数。"));
      continue;
    }
    if (const auto failure = ChangeOneSetting(SettingKey::kIniSerchDay, answer)) {
      dialogs_->Message(this, title, *failure);
    }
    return;
  }
}

// The address of the results page that the online update asks; "{code}"
// stands for the edition code and "{n}" for the number of draws wanted.
void MainWindow::OnResultsUrl() {
  const QString answer = dialogs_->Input(
      this, QStringLiteral("设置更新网址"),
      QStringLiteral("请输入在线更新所用的开奖结果网页地址（{code} 代表彩种代码，{n} 代表期数）"),
      QString::fromStdString(settings_.resultsUrl));
  if (answer.isEmpty()) return;
  if (const auto failure = ChangeOneSetting(SettingKey::kResultsUrl, answer)) {
    dialogs_->Message(this, QStringLiteral("输入有误"), *failure);
  }
}

void MainWindow::OnCombo1FocusLost() {
  const QString text = combo1_->currentText();
  if (const auto failure = ChangeOneSetting(SettingKey::kIntZhWSetup, text)) {
    ShowStatus(
        QStringLiteral("分部位数无效，仍为 %1：%2").arg(settings_.intZhWSetup).arg(*failure));
    combo1_->setEditText(QString::number(settings_.intZhWSetup));
  }
}

void MainWindow::OnSettingsButton() { mnuSetup_->popup(QCursor::pos()); }

// The guide ships in docs/ beside the program, or in PREFIX/share/doc when
// installed; a source checkout's docs/ serves when the program runs from its
// build folder.
void MainWindow::OpenGuidePage(const QString& page) {
  const QDir programDir(QCoreApplication::applicationDirPath());
  QString file = programDir.filePath(QStringLiteral("docs/") + page);
  if (!QFileInfo::exists(file)) {
    file = programDir.filePath(QStringLiteral("../share/doc/zephyrstat/") + page);
  }
  if (!QFileInfo::exists(file)) file = programDir.filePath(QStringLiteral("../../docs/") + page);
  dialogs_->OpenLink(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}

}  // namespace zs
