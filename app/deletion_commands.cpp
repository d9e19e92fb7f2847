// The three deletions from the end of the history: the newest draw, the
// newest N draws, and every draw after a chosen issue. Each is one engine
// call; the multi-draw deletes rebuild the rest of the history under the
// current settings. Each ends with the refresh of the views it calls for.
#include <QLineEdit>

#include "app/main_window.h"
#include "core/derivation.h"
#include "core/text.h"
#include "store/deletion.h"

namespace zs {
namespace {

QString What(const std::exception& error) { return QString::fromUtf8(error.what()); }

}  // namespace

void MainWindow::OnDeleteLast() {
  if (!RequireStore()) return;
  DeleteOutcome outcome;
  try {
    RunBusy([this, &outcome] { outcome = DeleteLastDraw(*store_); });
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未删除，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  if (outcome.deleted == 0) {
    ShowStatus(QStringLiteral("历史为空，没有可删除的历史号码。"));
    return;
  }
  AfterDelete(outcome, QStringLiteral("已删除最后一期历史号码。"));
  maskEdBox1_[1]->setFocus();
}

void MainWindow::OnDeleteLastCount() {
  if (!RequireStore()) return;
  const QString answer = dialogs_->Input(
      this, QStringLiteral("删除期数"),
      QStringLiteral(
          "请输入需要删除最后多少期历史号码（例如输入3，那么就将删除最后的3期历史号码）"),
      QStringLiteral("1"));
  const std::optional<int64_t> count = ParseWhole<int64_t>(answer.toStdString());
  DeleteSeveral(count, [this, count] {
    return DeleteLastDraws(*store_, *count, dataFolder_, DerivationRules::From(settings_));
  });
}

void MainWindow::OnDeleteDownTo() {
  if (!RequireStore()) return;
  const QString initial = index_.DrawCount() == 0
                              ? QString()
                              : QString::number(index_.Issue(index_.DrawCount() - 1) - 1);
  const QString answer =
      dialogs_->Input(this, QStringLiteral("删除期数"),
                      QStringLiteral("请输入需要删除到的期数，例如‘2014016’"), initial);
  const std::optional<int32_t> lastKept = ParseWhole<int32_t>(answer.toStdString());
  DeleteSeveral(lastKept, [this, lastKept] {
    return DeleteDrawsAfter(*store_, *lastKept, dataFolder_, DerivationRules::From(settings_));
  });
}

void MainWindow::DeleteSeveral(std::optional<int64_t> asked,
                               const std::function<DeleteOutcome()>& remove) {
  // No number, or none above 0, deletes nothing.
  if (!asked || *asked <= 0) {
    ShowStatus(QStringLiteral("未删除任何历史号码。"));
    return;
  }
  DeleteOutcome outcome;
  try {
    RunBusy([&outcome, &remove] { outcome = remove(); });
  } catch (const std::exception& error) {
    ShowStatus(QStringLiteral("未删除，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  AfterDelete(
      outcome,
      QStringLiteral("已删除 %1 期历史号码，其余历史已按当前设置重建。").arg(outcome.deleted));
}

// A committed delete is shown as done, with a compaction that failed after
// it as a warning; grid and index are read back from the store, which holds
// what was committed.
void MainWindow::AfterDelete(const DeleteOutcome& outcome, const QString& done) {
  ReloadIndex();
  AddHaoma();
  QihaoXianshi();
  PatternRefresh();
  if (outcome.compactionWarning) {
    ShowStatus(done + QString::fromStdString(*outcome.compactionWarning));
  } else if (index_.DrawCount() > 0) {
    ShowStatus(done);
  }
}

}  // namespace zs
