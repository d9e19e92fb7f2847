#include "app/deletion_commands.h"

#include "analysis/draw_pattern.h"
#include "app/background_task.h"
#include "app/history_panel.h"
#include "app/window_state.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "history/deletion.h"

namespace zs {
namespace {

// The outcome line after a committed delete: `done`, and the compaction
// failure as a warning when there was one.
QString Deleted(const QString& done, const DeleteOutcome& outcome) {
  if (!outcome.compactionWarning) return done;
  return done + QStringLiteral(" 警告：之后整理数据库文件失败，删除不受影响：%1")
                    .arg(QString::fromStdString(*outcome.compactionWarning));
}

}  // namespace

void DeletionCommands::DeleteLast() {
  if (!state_.RequireStore()) return;
  const QString command = QStringLiteral("删除最后历史");
  auto pass = state_.gate.Enter(command);
  if (!pass) return;
  RunDelete(
      pass, command, [this] { return state_.history->DeleteLast(); },
      [](const DeleteOutcome&) { return QStringLiteral("已删除最后一期历史号码。"); });
}

void DeletionCommands::DeleteLastCount() {
  if (!state_.RequireStore()) return;
  const QString command = QStringLiteral("删除最后指定数量期历史");
  auto pass = state_.gate.Enter(command);
  if (!pass) return;
  const QString answer = state_.dialogs->Input(
      state_.window, QStringLiteral("删除期数"),
      QStringLiteral(
          "请输入需要删除最后多少期历史号码（例如输入3，那么就将删除最后的3期历史号码）"),
      QStringLiteral("1"));
  const std::optional<int64_t> count = ParseWhole<int64_t>(answer.toStdString());
  if (!count || *count <= 0) {
    state_.Report(QStringLiteral("未删除任何历史号码。"));
    return;
  }
  RunDelete(
      pass, command, [this, count = *count] { return state_.history->DeleteLastDraws(count); },
      &Rebuilt);
}

// The issue may be typed as the grid shows it ("2014011701") or as it is
// stored ("14011701"). One that is not in the history keeps every draw up
// to it, and the outcome says that it was not stored.
void DeletionCommands::DeleteDownTo() {
  if (!state_.RequireStore()) return;
  const QString command = QStringLiteral("删除到选定期");
  auto pass = state_.gate.Enter(command);
  if (!pass) return;
  const Snapshot shown = state_.snapshot();
  const HistoryIndex& index = *shown->index;
  const QString initial =
      index.DrawCount() < 2 ? QString() : state_.ShownIssueText(index.Issue(index.DrawCount() - 2));
  const QString answer =
      state_.dialogs->Input(state_.window, QStringLiteral("删除期数"),
                            QStringLiteral("请输入需要删除到的期数，例如‘2014016’"), initial);
  if (answer.trimmed().isEmpty()) {
    state_.Report(QStringLiteral("未删除任何历史号码。"));
    return;
  }
  const std::optional<int32_t> lastKept = RangeBoxIssue(answer.toStdString());
  if (!lastKept) {
    state_.ReportFailure(
        QStringLiteral("删除期数"),
        QStringLiteral("未删除：“%1”不是期号；历史号码保持原样。"
                       "请输入历史列表中的一期，例如 %2。")
            .arg(answer.trimmed(), initial.isEmpty() ? QStringLiteral("2014011701") : initial));
    return;
  }
  const std::optional<size_t> draw = DrawAtOrBefore(index, *lastKept);
  const bool stored = draw && index.Issue(*draw) == *lastKept;
  RunDelete(
      pass, command, [this, issue = *lastKept] { return state_.history->DeleteDrawsAfter(issue); },
      [stored, typed = answer.trimmed()](const DeleteOutcome& outcome) {
        if (stored) return Rebuilt(outcome);
        return QStringLiteral(
                   "历史号码中没有第 %1 期；已删除它之后的 %2 期历史号码，"
                   "其余历史已按当前设置重建。")
            .arg(typed)
            .arg(outcome.deleted);
      });
}

void DeletionCommands::ClearHistory() {
  if (!state_.RequireStore()) return;
  const auto pass = state_.gate.Enter(QStringLiteral("清空历史号码"));
  if (!pass) return;
  if (!state_.dialogs->Question(state_.window, QStringLiteral("确认清空"),
                                QStringLiteral("确定要清空所有的历史号码吗？"),
                                QuestionDefault::kCancel)) {
    return;
  }
  try {
    RunWithProgress(state_.window, QStringLiteral("清空历史号码"),
                    [this] { state_.history->Clear(); });
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("未清空，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  const QString done = state_.WithReadFailure(QStringLiteral("已清空历史号码。"));
  history_.ClearEntry();
  emit historyChanged(RangeAfterChange::kKeep);
  // An emptied window says how to fill the history again instead.
  if (!state_.snapshot()->Empty()) state_.Report(done);
}

QString DeletionCommands::Rebuilt(const DeleteOutcome& outcome) {
  return QStringLiteral("已删除 %1 期历史号码，其余历史已按当前设置重建。").arg(outcome.deleted);
}

void DeletionCommands::RunDelete(std::optional<CommandGate::Pass>& pass, const QString& command,
                                 const std::function<DeleteOutcome()>& remove,
                                 const std::function<QString(const DeleteOutcome&)>& done) {
  DeleteOutcome outcome;
  try {
    RunWithProgress(state_.window, command, [&outcome, &remove] { outcome = remove(); });
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("未删除，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  // Given back first, so that the entry boxes are enabled and take the focus.
  pass.reset();
  if (outcome.deleted == 0) {
    state_.Report(state_.snapshot()->Empty() ? QStringLiteral("历史为空，没有可删除的历史号码。")
                                             : QStringLiteral("未删除任何历史号码。"));
    return;
  }
  const QString report = state_.WithReadFailure(Deleted(done(outcome), outcome));
  emit historyChanged(RangeAfterChange::kKeep);
  history_.ClearEntry();
  // An emptied window says how to fill the history again instead.
  if (!state_.snapshot()->Empty() || outcome.compactionWarning) state_.Report(report);
}

}  // namespace zs
