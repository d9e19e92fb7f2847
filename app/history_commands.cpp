#include "app/history_commands.h"

#include <QFileInfo>

#include "app/background_task.h"
#include "app/export_actions.h"
#include "app/grid_view.h"
#include "app/history_panel.h"
#include "app/window_state.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "frontend/online_updater.h"
#include "history/import.h"
#include "history/typed_entry.h"

namespace zs {
namespace {

std::filesystem::path ToPath(const QString& file) {
  return std::filesystem::path(file.toStdU16String());
}

}  // namespace

HistoryCommands::HistoryCommands(WindowState& state, HistoryPanel& history, QObject* parent)
    : HistoryChangeCommands(state, history, parent) {}

// Out of line: CommandProgress is complete only here.
HistoryCommands::~HistoryCommands() = default;

// ------------------------------------------------------------ text import

void HistoryCommands::ImportText() {
  if (!state_.RequireStore()) return;
  auto pass = state_.gate.Enter(QStringLiteral("读取历史号文本"));
  if (!pass) return;
  const QString folder = QString::fromStdU16String((state_.dataFolder / u8"历史号码").u16string());
  const QString file =
      state_.dialogs->OpenFile(state_.window, folder, QStringLiteral("Text(*.txt)"));
  if (!file.toLower().endsWith(QStringLiteral("txt"))) return;
  // The file is read first, so that the question can say what it holds.
  HistoryFileInspection inspection;
  int64_t storedDraws = 0;
  try {
    RunWithProgress(state_.window,
                    QStringLiteral("读取历史号文本 %1").arg(QFileInfo(file).fileName()),
                    [this, &inspection, &storedDraws, path = ToPath(file)] {
                      inspection = state_.history->Inspect(path);
                      storedDraws = state_.history->store().Count();
                    });
  } catch (const std::exception& error) {
    state_.ReportFailure(QStringLiteral("读入历史"),
                         QStringLiteral("未读入，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  const QString warning =
      inspection.MostlyUnreadable()
          ? QStringLiteral("不到一半的非空行是历史号码，它多半不是历史号码文件。")
          : QString();
  if (!state_.dialogs->Question(
          state_.window, QStringLiteral("读入历史"),
          QString::fromStdString(DescribeInspection(inspection, storedDraws)) + warning +
              QStringLiteral("读入会用所选文本文件中的历史号码替换现有的全部历史号码"
                             "（包括手动输入的各期）。确实要读入吗？点击“确定”读入，"
                             "点击“取消”放弃该操作。读入时可能要花费一段时间，请耐心等候！"),
          QuestionDefault::kCancel)) {
    return;
  }
  RunImport(pass, file, &inspection);
}

bool HistoryCommands::ImportFile(const QString& file) {
  if (!state_.RequireStore()) return false;
  auto pass = state_.gate.Enter(QStringLiteral("读取历史号文本"));
  return pass && RunImport(pass, file, nullptr);
}

bool HistoryCommands::RunImport(std::optional<CommandGate::Pass>& pass, const QString& file,
                                const HistoryFileInspection* inspection) {
  ImportReport report;
  try {
    RunWithProgress(
        state_.window, QStringLiteral("读取历史号文本 %1").arg(QFileInfo(file).fileName()),
        [this, &report, inspection, path = ToPath(file)] {
          report = inspection ? state_.history->Import(*inspection) : state_.history->Import(path);
        });
  } catch (const std::exception& error) {
    state_.ReportFailure(QStringLiteral("读入历史"),
                         QStringLiteral("未读入，历史号码保持原样：%1").arg(What(error)));
    return false;
  }
  // Given back first, so that the entry boxes are enabled and take the focus.
  pass.reset();
  const QString done = state_.WithReadFailure(
      QStringLiteral("已读入 %1 期历史号码；其中 %2 行沿用了上一期的号码，跳过 %3 行。")
          .arg(report.stored)
          .arg(report.inherited)
          .arg(report.skipped));
  emit historyChanged(RangeAfterChange::kWholeHistory);
  history_.ClearEntry();
  state_.Report(done);
  return true;
}

// ------------------------------------------------------------ typed draw

void HistoryCommands::StoreTypedDraw(const Numbers& numbers) {
  if (!state_.RequireStore()) return;
  auto pass = state_.gate.Enter(QStringLiteral("手动输入历史号码"));
  if (!pass) return;
  int32_t stored = 0;
  try {
    // One row appended: a moment, on this thread.
    RunBusy([this, &numbers, &stored] { stored = state_.history->AddTypedDraw(numbers); });
  } catch (const WrongBoxError& refusal) {
    // Given back before the message, so the entry boxes stay enabled and
    // the focus can go to the box to correct.
    pass.reset();
    state_.ReportFailure(QStringLiteral("输入有误"), What(refusal));
    history_.FocusEntry(refusal.box());
    return;
  } catch (const InputError& refusal) {
    pass.reset();
    state_.ReportFailure(QStringLiteral("输入有误"), What(refusal));
    return;
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("未保存，历史号码保持原样：%1").arg(What(error)));
    return;
  }
  history_.ClearEntry();
  emit historyChanged(RangeAfterChange::kEndAtNewest);
  state_.Report(state_.WithReadFailure(
      QStringLiteral("已保存第 %1 期。").arg(state_.ShownIssueText(stored))));
}

// ------------------------------------------------------------ online update

void HistoryCommands::OnlineUpdate() {
  if (!state_.RequireStore()) return;
  auto pass = state_.gate.Enter(QStringLiteral("历史号在线更新"));
  if (!pass) return;
  if (!state_.dialogs->Question(
          state_.window, QStringLiteral("读入历史"),
          QStringLiteral("确实要在线更新最新历史号码吗？更新可能要花费一段时间，"
                         "网络不通或者我方服务器更新不及时可能都造成更新失败！"),
          QuestionDefault::kOk)) {
    return;
  }
  updatePass_.emplace(std::move(*pass));
  if (updater_ == nullptr) {
    updater_ = new OnlineUpdater(this);
    connect(updater_, &OnlineUpdater::finished, this, [this](const UpdateReport& report) {
      updateProgress_.reset();
      updatePass_.reset();
      if (report.added > 0 || report.dropped > 0) history_.ClearEntry();
      emit historyChanged(RangeAfterChange::kWholeHistory);
      state_.Report(state_.WithReadFailure(UpdateSummary(report)));
    });
    connect(updater_, &OnlineUpdater::failed, this, [this](const QString& message) {
      updateProgress_.reset();
      updatePass_.reset();
      state_.ReportFailure(
          QStringLiteral("在线更新"),
          QStringLiteral("在线更新未完成，历史号码保持原样：%1。\n"
                         "更新网址可在菜单“设置 → 历史号码更新网址(U)”中查看和修改。")
              .arg(message));
    });
  }
  // The page is fetched and stored off this thread; the progress dialog
  // stays until the updater says it is done.
  updateProgress_ =
      std::make_unique<CommandProgress>(state_.window, QStringLiteral("历史号在线更新"));
  state_.Report(QStringLiteral("正在在线更新历史号码…"));
  updater_->start(*state_.history, state_.settings(), Today());
}

// ------------------------------------------------------------ exports

void HistoryCommands::ExportText() {
  const auto pass = state_.gate.Enter(QStringLiteral("历史号码导出文本文件"));
  if (!pass) return;
  // The newest issue of the history the grid shows.
  const Snapshot shown = state_.snapshot();
  const std::string newest =
      shown->Empty()
          ? std::string()
          : StoredDigits(shown->NewestIssue(), IssueRule::From(state_.settings()).threeDigit);
  state_.Report(ExportHistoryToText(state_.window, history_.grid()->snapshot(), newest,
                                    state_.dataFolder, state_.dialogs->Opener()));
}

void HistoryCommands::ExportGrid(GridView* grid, const char* sheetName) {
  const auto pass = state_.gate.Enter(QStringLiteral("导出到EXCEL"));
  if (!pass) return;
  state_.Report(ExportGridToSheet(state_.window, grid->snapshot(), state_.dataFolder, sheetName,
                                  state_.dialogs->Opener()));
}

}  // namespace zs
