#include "frontend/settings_store.h"

#include <QSettings>
#include <QString>

#include "core/errors.h"

namespace zs {
namespace {

constexpr const char* kGroup = "IniSetting";

QSettings OpenStore() {
  return QSettings(QStringLiteral("Zephyrstat"), QStringLiteral("Zephyrstat"));
}

QString KeyPath(std::string_view key) {
  return QString::fromLatin1(kGroup) + u'/' + QString::fromUtf8(key.data(), qsizetype(key.size()));
}

}  // namespace

Settings LoadSettings() {
  QSettings store = OpenStore();
  return ReadSettings([&store](std::string_view key) -> std::optional<std::string> {
    const QVariant value = store.value(KeyPath(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
  });
}

void SaveSetting(const Settings& settings, SettingKey key) {
  QSettings store = OpenStore();
  store.setValue(KeyPath(SettingName(key)), QString::fromStdString(SettingText(settings, key)));
  store.sync();
  if (store.status() != QSettings::NoError) {
    throw StoreError("设置未保存：无法写入设置文件 " + store.fileName().toStdString() +
                     "；设置保持原样");
  }
}

}  // namespace zs
