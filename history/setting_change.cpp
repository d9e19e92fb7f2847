#include "history/setting_change.h"

#include "core/derivation.h"
#include "core/errors.h"

namespace zs {

SettingChange ChangeSetting(HistoryStore* store, const Settings& current, SettingKey key,
                            std::string_view value, const SettingSaver& save) {
  SettingChange change{current, false};
  ApplySetting(change.settings, key, value);
  if (store == nullptr || !IsDerivationBase(key)) {
    save(change.settings, key);
    return change;
  }
  HistoryStore::Change rederivation(*store);
  store->Rederive(DerivationRules::From(change.settings));
  save(change.settings, key);
  try {
    rederivation.Commit();
  } catch (...) {
    // The rows stay under the old base, so the old value goes back; should
    // that save fail too, the next opening follows the saved base.
    try {
      save(current, key);
    } catch (const StoreError&) {
    }
    throw;
  }
  change.rederived = true;
  return change;
}

}  // namespace zs
