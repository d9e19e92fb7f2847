// The user settings (section IniSetting of the settings store) as a plain
// value, with their defaults, conversion from stored texts and checking of a
// value typed by the user. Where the texts are kept is the front ends' job.
#ifndef ZEPHYRSTAT_CORE_SETTINGS_H_
#define ZEPHYRSTAT_CORE_SETTINGS_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw.h"
#include "core/edition.h"

namespace zs {

struct Settings {
  EditionChoice edition;      // whose issue numbering and results page apply
  bool freePositions = true;  // a search starts free of positions, else at fixed ones
  SearchType searchType = SearchType::kNumber;  // the attribute a search starts with
  int segmentBase = 1;                          // code of the first segment, 0 or 1
  int zodiacBase = 1;                           // code of the first zodiac sign (鼠), 0 or 1
  int colourBase = 1;      // code of the first colour, 0 or 1 (remembered only)
  int partSize = 2;        // numbers in a part of the partial search, 1..6
  bool drawnOrder = true;  // a draw's numbers in drawn order, else sorted
  int keptDays = 6;        // days the online update keeps and fetches, 2..16
  std::string resultsUrl = "http://127.0.0.1:8090/{code}/?n={n}";  // the online update's page
  int fetchTimeoutSeconds = 30;  // time limit of the online update's wait
  bool autoUpdate = false;       // the window runs the online update by itself
  int autoUpdateMinutes = 5;     // its interval, 1..60 minutes

  friend bool operator==(const Settings&, const Settings&) = default;
};

// The keys of the settings; the settings store keeps each under its name
// (SettingName).
enum class SettingKey {
  kEdition,
  kFreePositions,
  kSearchType,
  kSegmentBase,
  kZodiacBase,
  kColourBase,
  kPartSize,
  kDrawnOrder,
  kKeptDays,
  kResultsUrl,
  kFetchTimeout,
  kAutoUpdate,
  kAutoUpdateMinutes,
};

// Every key, in the order `settings` lists them.
const std::vector<SettingKey>& SettingKeys();

// The name the settings store keeps a key under ("GsZl", "bolZyw", …).
std::string_view SettingName(SettingKey key);

// The key of a name spelt exactly as SettingName gives it; throws InputError
// naming every key for any other text.
SettingKey SettingKeyNamed(std::string_view name);

// Whether the stored history's fields follow the key's value (the zodiac and
// segment bases): a change of it re-derives every stored draw.
bool IsDerivationBase(SettingKey key);

// Looks up the stored text of a key name; nullopt when the key is absent.
using StoredSettingLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Builds the settings from stored texts. An absent key, or a text that cannot
// be converted to the key's type, gives the key's default. Booleans accept
// "True"/"False" and "true"/"false" (any case) and "1"/"0".
Settings ReadSettings(const StoredSettingLookup& stored);

// The text stored for a key ("true"/"false" for booleans, decimal integers).
std::string SettingText(const Settings& settings, SettingKey key);

// Checks a value typed by the user and applies it. Throws InputError (and
// leaves `settings` unchanged) when the value is not acceptable for the key.
void ApplySetting(Settings& settings, SettingKey key, std::string_view value);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_SETTINGS_H_
