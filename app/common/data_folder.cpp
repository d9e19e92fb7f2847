#include "app/common/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace zs {
namespace {

bool IsWritableFolder(const QString& folder) {
  // QFileInfo::isWritable answers from the mode bits; a real probe also
  // catches read-only mounts.
  QTemporaryFile probe(folder + QStringLiteral("/.zephyrstat-probe-XXXXXX"));
  return probe.open();
}

}  // namespace

std::filesystem::path DataFolder() {
  QString folder = QCoreApplication::applicationDirPath();
  if (!IsWritableFolder(folder)) {
    folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
  }
  return std::filesystem::path(folder.toStdU16String());
}

}  // namespace zs
