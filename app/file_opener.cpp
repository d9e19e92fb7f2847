#include "app/file_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>

namespace zs {

bool DesktopFileOpener::Open(const std::filesystem::path& file) {
  const QString path = QString::fromStdString(file.string());
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
  // Detached: the application outlives this call and is not tracked.
  return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

}  // namespace zs
