// The three deletions from the end of the history: the newest draw, the
// newest N draws, and every draw after a chosen issue. The multi-draw
// deletes rebuild the rest of the history under the current settings.
//
// A deletion is committed before the file is compacted. When the
// compaction fails, the draws are gone all the same: the views follow the
// stored history and the outcome says the deletion was done, with the
// compaction failure as a warning.
#include "analysis/draw_pattern.h"
#include "app/background_task.h"
#include "app/history_commands.h"
#include "app/history_panel.h"
#include "app/window_state.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "store/deletion.h"

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

void HistoryCommands::DeleteLast() {
  if (!state_.RequireStore()) return;
  const auto pass = state_.gate.Enter(QStringLiteral("删除最后历史"));
  if (!pass) return;
  const size_t before = state_.index.DrawCount();
  DeleteOutcome outcome;
  try {
    RunBusy([this, &outcome] { outcome = DeleteLastDraw(*state_.store); });
  } catch (const std::exception& error) {
    AfterFailedDelete(before, error);
    return;
  }
  if (outcome.deleted == 0) {
    state_.Report(QStringLiteral("历史为空，没有可删除的历史号码。"));
    return;
  }
  state_.index.RemoveLast();
  emit historyChanged(RangeAfterChange::kKeep);
  history_.FocusEntry();
  if (state_.index.DrawCount() > 0 || outcome.compactionWarning) {
    state_.Report(Deleted(QStringLiteral("已删除最后一期历史号码。"), outcome));
  }
}

void HistoryCommands::DeleteLastCount() {
  if (!state_.RequireStore()) return;
  const auto pass = state_.gate.Enter(QStringLiteral("删除最后指定数量期历史"));
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
  RunMultiDelete([this, count = *count] {
    return DeleteLastDraws(*state_.store, count, state_.dataFolder,
                           DerivationRules::From(state_.settings));
  });
}

// The issue may be typed as the grid shows it ("2014011701") or as it is
// stored ("14011701"); one that is not in the history deletes nothing.
void HistoryCommands::DeleteDownTo() {
  if (!state_.RequireStore()) return;
  const auto pass = state_.gate.Enter(QStringLiteral("删除到选定期"));
  if (!pass) return;
  const HistoryIndex& index = state_.index;
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
  const std::optional<size_t> draw = lastKept ? DrawAtOrBefore(index, *lastKept) : std::nullopt;
  if (!draw || index.Issue(*draw) != *lastKept) {
    state_.ReportFailure(
        QStringLiteral("删除期数"),
        QStringLiteral("未删除：历史号码中没有第 %1 期；历史号码保持原样。"
                       "请输入历史列表中的一期，例如 %2。")
            .arg(answer.trimmed(), initial.isEmpty() ? QStringLiteral("2014011701") : initial));
    return;
  }
  RunMultiDelete([this, issue = *lastKept] {
    return DeleteDrawsAfter(*state_.store, issue, state_.dataFolder,
                            DerivationRules::From(state_.settings));
  });
}

void HistoryCommands::RunMultiDelete(const std::function<DeleteOutcome()>& remove) {
  const size_t before = state_.index.DrawCount();
  DeleteOutcome outcome;
  try {
    RunBusy([&outcome, &remove] { outcome = remove(); });
  } catch (const std::exception& error) {
    AfterFailedDelete(before, error);
    return;
  }
  state_.ReloadIndex();
  emit historyChanged(RangeAfterChange::kKeep);
  if (state_.index.DrawCount() > 0 || outcome.compactionWarning) {
    state_.Report(Deleted(
        QStringLiteral("已删除 %1 期历史号码，其余历史已按当前设置重建。").arg(outcome.deleted),
        outcome));
  }
}

// The stored history decides what is shown and said: a failure after the
// commit (the compaction) has still deleted the draws.
void HistoryCommands::AfterFailedDelete(size_t drawsBefore, const std::exception& error) {
  try {
    state_.ReloadIndex();
  } catch (const std::exception& reload) {
    state_.ReportFailure(
        QStringLiteral("删除历史"),
        QStringLiteral("删除时出错：%1；无法重新读出历史号码：%2").arg(What(error), What(reload)));
    return;
  }
  const size_t after = state_.index.DrawCount();
  if (after >= drawsBefore) {
    state_.Report(QStringLiteral("未删除，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  emit historyChanged(RangeAfterChange::kKeep);
  state_.ReportFailure(QStringLiteral("删除历史"),
                       QStringLiteral("已删除 %1 期历史号码。警告：之后整理数据库文件失败，"
                                      "删除不受影响：%2")
                           .arg(drawsBefore - after)
                           .arg(What(error)));
}

}  // namespace zs
