// The commands that change the history: the text import, the manual entry
// of a draw, clearing and the online update (the deletions have their own
// file). Each runs
// as one engine call (one transaction), says in the status bar what it did
// or why it did nothing, and ends with the refresh of the views it calls for.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>

#include "acquire/manual_entry.h"
#include "acquire/text_import.h"
#include "app/background_task.h"
#include "app/common/online_updater.h"
#include "app/main_window.h"
#include "core/derivation.h"
#include "core/errors.h"
#include "core/issue_number.h"

namespace zs {
namespace {

QString What(const std::exception& error) { return QString::fromUtf8(error.what()); }

std::filesystem::path ToPath(const QString& file) {
  return std::filesystem::path(file.toStdU16String());
}

// The value of a manual entry box: its leading digits, so that the
// placeholder ends the number ("3_" is 3, "_5" and "__" are 0).
int LeadingNumber(const QString& shown) {
  int value = 0;
  for (QChar c : shown) {
    if (!c.isDigit()) break;
    value = value * 10 + c.digitValue();
  }
  return value;
}

bool IsComplete(const QLineEdit* box) { return !box->displayText().contains(u'_'); }

}  // namespace

void MainWindow::RunBusy(const std::function<void()>& work) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    work();
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
}

bool MainWindow::RequireStore() {
  if (store_ == nullptr) {
    ShowStatus(QStringLiteral("历史数据库没有打开，无法执行该操作。"));
    return false;
  }
  if (updater_ != nullptr && updater_->isRunning()) {
    ShowStatus(QStringLiteral("在线更新正在进行，请等它结束后再改动历史号码。"));
    return false;
  }
  return true;
}

// ------------------------------------------------------------ text import

void MainWindow::OnImportText() {
  if (!dialogs_->Question(
          this, QStringLiteral("读入历史"),
          QStringLiteral("确实要读入最新历史号码吗？点击'确认'读入,点击'取消'放弃该操作。"
                         "确要读入请保证安装目录下存在历史号码的文本文件文件。"
                         "读取时可能要花费一段时间,请耐心等候！"))) {
    return;
  }
  const QString folder = QString::fromStdU16String((dataFolder_ / u8"历史号码").u16string());
  const QString file = dialogs_->OpenFile(this, folder, QStringLiteral("Text(*.txt)"));
  if (!file.toLower().endsWith(QStringLiteral("txt"))) {
    QihaoXianshi();
    return;
  }
  ImportAndRefresh(file);
}

bool MainWindow::ImportAndRefresh(const QString& file) {
  if (!RunImport(file)) {
    QihaoXianshi();
    return false;
  }
  SetRangeToHistory();
  AddHaoma();
  QihaoXianshi();
  PatternRefresh();
  return true;
}

bool MainWindow::RunImport(const QString& file) {
  if (!RequireStore()) return false;
  ImportReport report;
  try {
    const DerivationRules rules = DerivationRules::From(settings_);
    RunWithProgress(this, QStringLiteral("正在读入 %1 …").arg(QFileInfo(file).fileName()),
                    [this, &report, &file, &rules] {
                      report = ImportHistoryFile(*store_, ToPath(file), rules);
                    });
    ReloadIndex();
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未读入，历史号码保持原样：%1").arg(What(error)));
    return false;
  }
  ShowStatus(QStringLiteral("已读入 %1 期历史号码；其中 %2 行沿用了上一期的号码，跳过 %3 行。")
                 .arg(report.stored)
                 .arg(report.inherited)
                 .arg(report.skipped));
  return true;
}

// ------------------------------------------------------------ manual entry

void MainWindow::OnManualEntryChanged(int box) {
  if (entryClearing_) return;
  if (box == 8) {
    if (IsComplete(maskEdBox1_[8])) StoreTypedEntry();
    return;
  }
  if (IsComplete(maskEdBox1_[box])) {
    maskEdBox1_[box + 1]->setFocus();
    maskEdBox1_[box + 1]->setCursorPosition(0);
  }
}

void MainWindow::StoreTypedEntry() {
  Numbers numbers{};
  for (int box = 1; box <= 8; ++box) {
    numbers[size_t(box - 1)] = LeadingNumber(maskEdBox1_[box]->displayText());
  }
  if (!RequireStore()) return;
  int32_t stored = 0;
  try {
    RunBusy([this, &numbers, &stored] {
      stored = StoreTypedDraw(*store_, numbers, DerivationRules::From(settings_));
      index_.Append(*store_->Last());
    });
  } catch (const InputError& refusal) {
    dialogs_->Message(this, QStringLiteral("输入有误"), What(refusal));
    return;
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未保存，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  PatternRefresh();
  ClearManualEntry();
  text3_[1]->setText(ShownIssueText(stored));
  AddHaoma();
  QihaoXianshi();
  ShowStatus(QStringLiteral("已保存第 %1 期。").arg(ShownIssueText(stored)));
}

// The emptied boxes must not count as typing: the flag holds until the next
// key press in a box.
void MainWindow::ClearManualEntry() {
  entryClearing_ = true;
  for (int box = 1; box <= 8; ++box) maskEdBox1_[box]->clear();
  maskEdBox1_[1]->setFocus();
  maskEdBox1_[1]->setCursorPosition(0);
}

void MainWindow::OnClearHistory() {
  if (!dialogs_->Question(this, QStringLiteral("确认清空"),
                          QStringLiteral("确定要清空所有的历史号码吗？"))) {
    return;
  }
  if (!RequireStore()) return;
  try {
    RunBusy([this] { store_->Clear(); });
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未清空，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  ReloadIndex();
  AddHaoma();
}

// ------------------------------------------------------------ online update

void MainWindow::OnOnlineUpdate() {
  if (!dialogs_->Question(this, QStringLiteral("读入历史"),
                          QStringLiteral("确实要在线更新最新历史号码吗？更新可能要花费一段时间，"
                                         "网络不通或者我方服务器更新不及时可能都造成更新失败！"))) {
    return;
  }
  if (!RequireStore()) return;
  if (updater_ == nullptr) {
    updater_ = new OnlineUpdater(this);
    connect(updater_, &OnlineUpdater::finished, this, [this](const UpdateReport& report) {
      QApplication::restoreOverrideCursor();
      ReloadIndex();
      AddHaoma();
      SetRangeToHistory();
      PatternRefresh();
      QihaoXianshi();
      ShowStatus(UpdateSummary(report));
    });
    connect(updater_, &OnlineUpdater::failed, this, [this](const QString& message) {
      QApplication::restoreOverrideCursor();
      ShowStatus(QStringLiteral("在线更新未完成，历史号码保持原样：%1").arg(message));
    });
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ShowStatus(QStringLiteral("正在在线更新历史号码…"));
  updater_->start(*store_, settings_, Today());
}

}  // namespace zs
