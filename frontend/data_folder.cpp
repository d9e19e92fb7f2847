#include "frontend/data_folder.h"

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

// PREFIX/share/zephyrstat when the program runs from PREFIX/bin of an
// installation (the package, or an unpacked copy of it); empty otherwise.
QString InstalledShareFolder() {
  const QString folder =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/zephyrstat");
  return QFileInfo(folder).isDir() ? QDir::cleanPath(folder) : QString();
}

// The window and the command-line tool name their application differently
// (and QStandardPaths::AppDataLocation would add the organisation), so the
// per-user folder is named here once: ~/.local/share/Zephyrstat.
QString PerUserFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/Zephyrstat");
}

std::filesystem::path ToPath(const QString& folder) {
  return std::filesystem::path(folder.toStdU16String());
}

}  // namespace

std::filesystem::path DataFolder() {
  QString folder = QCoreApplication::applicationDirPath();
  if (!InstalledShareFolder().isEmpty() || !IsWritableFolder(folder)) {
    folder = PerUserFolder();
    QDir().mkpath(folder);
  }
  return ToPath(folder);
}

std::filesystem::path InstalledSampleHistory() {
  const QString share = InstalledShareFolder();
  if (share.isEmpty()) return {};
  const QDir samples(share + QStringLiteral("/历史号码"));
  const QStringList texts =
      samples.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name);
  return texts.isEmpty() ? std::filesystem::path() : ToPath(samples.filePath(texts.first()));
}

}  // namespace zs
