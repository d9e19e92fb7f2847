// Changing one setting, the one way the settings menus and the command-line
// tool's `settings KEY VALUE` do it: the value is checked, a new zodiac or
// segment base re-derives every stored draw, and the setting is saved through
// the front end's settings store. The stored rows and the saved bases never
// part: the re-derivation commits only after the save succeeded, and a crash
// between the two is mended when the history is next opened (FollowBases).
#ifndef ZEPHYRSTAT_HISTORY_SETTING_CHANGE_H_
#define ZEPHYRSTAT_HISTORY_SETTING_CHANGE_H_

#include <functional>
#include <string_view>

#include "core/settings.h"
#include "store/history_store.h"

namespace zs {

// Saves one key of the settings; throws StoreError when it was not saved.
using SettingSaver = std::function<void(const Settings& settings, SettingKey key)>;

struct SettingChange {
  Settings settings;       // the settings with the new value
  bool rederived = false;  // every stored draw was derived anew
};

// Throws InputError for an unacceptable value and StoreError when the
// re-derivation or the save fails; then neither the history nor the saved
// settings changed. `store` may be null (no history open): nothing is
// re-derived. A base set to its present value re-derives as well, which
// mends a table written under other bases.
SettingChange ChangeSetting(HistoryStore* store, const Settings& current, SettingKey key,
                            std::string_view value, const SettingSaver& save);

}  // namespace zs

#endif  // ZEPHYRSTAT_HISTORY_SETTING_CHANGE_H_
