// The settings store of the window and the command-line tool: QSettings with
// organisation and application "Zephyrstat", group "IniSetting". Values are
// kept as texts; zs::ReadSettings converts them, falling back to defaults.
#ifndef ZEPHYRSTAT_FRONTEND_SETTINGS_STORE_H_
#define ZEPHYRSTAT_FRONTEND_SETTINGS_STORE_H_

#include "core/settings.h"

namespace zs {

Settings LoadSettings();
// Saves one key of `settings` at once, as every setting is saved when it
// changes. Throws StoreError when the settings file could not be written
// (a full disk, a read-only file); the saved settings are then as before.
void SaveSetting(const Settings& settings, SettingKey key);

}  // namespace zs

#endif  // ZEPHYRSTAT_FRONTEND_SETTINGS_STORE_H_
