// The first start of an installed program: the history is empty and the
// program ships a sample history. Reading it in lets a new player try every
// analysis at once; the player's own history replaces it later through
// 读取历史号文本 or the online update.
#include "app/main_window.h"
#include "core/edition.h"

namespace zs {

void MainWindow::OfferSampleHistory(const std::filesystem::path& sample) {
  if (store_ == nullptr || index_.DrawCount() > 0) return;
  const QString name = QString::fromStdU16String(sample.filename().u16string());
  if (!dialogs_->Question(this, QStringLiteral("读入示例历史"),
                          QStringLiteral("历史为空。要读入随程序安装的示例历史“%1”吗？"
                                         "以后随时可以用“读取历史号文本”换成自己的历史号码。")
                              .arg(name))) {
    return;
  }
  // The sample's issues are numbered as its edition numbers them.
  const int chosen = settings_.gsZl;
  const int named = EditionNamedBy(name.toStdString());
  if (!IsEdition(chosen) && IsEdition(named)) OnEdition(named);
  if (!ImportAndRefresh(QString::fromStdU16String(sample.u16string())) &&
      settings_.gsZl != chosen) {
    OnEdition(chosen);
    QihaoXianshi();
  }
}

}  // namespace zs
