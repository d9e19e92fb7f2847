// The first start of an installed program: the history is empty and the
// program ships a sample history. Reading it in lets a new player try every
// analysis at once; the player's own history replaces it later through
// 读取历史号文本 or the online update.
#include "app/main_window.h"
#include "app/settings_commands.h"
#include "core/edition.h"

namespace zs {

void MainWindow::OfferSampleHistory(const std::filesystem::path& sample) {
  if (state_.history == nullptr || !state_.snapshot()->Empty()) return;
  const QString name = QString::fromStdU16String(sample.filename().u16string());
  if (!state_.dialogs->Question(this, QStringLiteral("读入示例历史"),
                                QStringLiteral("历史为空。要读入随程序安装的示例历史“%1”吗？"
                                               "以后随时可以用“读取历史号文本”换成自己的历史号码。")
                                    .arg(name),
                                QuestionDefault::kOk)) {
    return;
  }
  // The sample's issues are numbered as its edition numbers them.
  const EditionChoice chosen = state_.settings().edition;
  const EditionChoice named = EditionNamedBy(name.toStdString());
  if (!chosen.index() && named.index()) settingsCommands_->ChangeEdition(named);
  if (!historyCommands_->ImportFile(QString::fromStdU16String(sample.u16string())) &&
      state_.settings().edition != chosen) {
    settingsCommands_->ChangeEdition(chosen);
    ShowHistory(RangeAfterChange::kKeep);
  }
}

}  // namespace zs
