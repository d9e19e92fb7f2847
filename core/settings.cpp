#include "core/settings.h"

#include "core/errors.h"
#include "core/text.h"

namespace zs {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<bool> ParseBoolean(std::string_view text) {
  text = TrimBlanks(text);
  if (EqualsIgnoringCase(text, "true") || text == "1") return true;
  if (EqualsIgnoringCase(text, "false") || text == "0") return false;
  return std::nullopt;
}

// One key: its stored name, how a value is converted and checked (false
// when it is not acceptable), what is accepted (for the refusal) and how the
// value is written back.
struct KeyRule {
  SettingKey key;
  std::string_view name;
  bool (*apply)(Settings&, std::string_view value);
  std::string (*accepted)();
  std::string (*text)(const Settings&);
};

template <int Settings::*field, int low, int high>
bool ApplyInteger(Settings& settings, std::string_view value) {
  const std::optional<int> number = ParseWhole<int>(value);
  if (!number || *number < low || *number > high) return false;
  settings.*field = *number;
  return true;
}

template <int low, int high>
std::string IntegerRange() {
  return low + 1 == high ? std::to_string(low) + " 或 " + std::to_string(high)
                         : std::to_string(low) + " 到 " + std::to_string(high) + " 的整数";
}

bool ApplyEdition(Settings& settings, std::string_view value) {
  const std::optional<int> number = ParseWhole<int>(value);
  if (!number) return false;
  settings.edition = EditionChoice::FromStored(*number);
  return true;
}

std::string EditionText(const Settings& settings) {
  return std::to_string(settings.edition.stored());
}

bool ApplySearchType(Settings& settings, std::string_view value) {
  const std::optional<int> number = ParseWhole<int>(value);
  if (!number || *number < 0 || *number >= kSearchTypeCount) return false;
  settings.searchType = static_cast<SearchType>(*number);
  return true;
}

std::string SearchTypeText(const Settings& settings) {
  return std::to_string(static_cast<int>(settings.searchType));
}

std::string EditionNumber() { return "整数（0 到 7 选择版本，其他值表示未选择版本）"; }

template <bool Settings::*field>
bool ApplyBoolean(Settings& settings, std::string_view value) {
  const std::optional<bool> flag = ParseBoolean(value);
  if (!flag) return false;
  settings.*field = *flag;
  return true;
}

std::string TrueOrFalse() { return "true 或 false（也可写 1 或 0）"; }

bool ApplyResultsUrl(Settings& settings, std::string_view value) {
  const std::string_view address = TrimBlanks(value);
  const bool web = address.starts_with("http://") || address.starts_with("https://");
  if (!web || address.find("{n}") == std::string_view::npos) return false;
  settings.resultsUrl = std::string(address);
  return true;
}

std::string WebAddress() {
  return "以 http:// 或 https:// 开头并含有 {n} 的网址（{code} 代表版本代码）";
}

template <int Settings::*field>
std::string IntegerText(const Settings& settings) {
  return std::to_string(settings.*field);
}

template <bool Settings::*field>
std::string BooleanText(const Settings& settings) {
  return settings.*field ? "true" : "false";
}

std::string ResultsUrlText(const Settings& settings) { return settings.resultsUrl; }

template <int Settings::*field, int low, int high>
KeyRule IntegerRule(SettingKey key, std::string_view name) {
  return {key, name, ApplyInteger<field, low, high>, IntegerRange<low, high>, IntegerText<field>};
}

template <bool Settings::*field>
KeyRule BooleanRule(SettingKey key, std::string_view name) {
  return {key, name, ApplyBoolean<field>, TrueOrFalse, BooleanText<field>};
}

// In the order of SettingKey, so a key indexes its rule.
const std::vector<KeyRule>& KeyRules() {
  using K = SettingKey;
  static const std::vector<KeyRule> rules = {
      {K::kEdition, "GsZl", ApplyEdition, EditionNumber, EditionText},
      BooleanRule<&Settings::freePositions>(K::kFreePositions, "bolZyw"),
      {K::kSearchType, "intLei", ApplySearchType, IntegerRange<0, kSearchTypeCount - 1>,
       SearchTypeText},
      IntegerRule<&Settings::segmentBase, 0, 1>(K::kSegmentBase, "DsIni"),
      IntegerRule<&Settings::zodiacBase, 0, 1>(K::kZodiacBase, "SxIni"),
      IntegerRule<&Settings::colourBase, 0, 1>(K::kColourBase, "BsIni"),
      IntegerRule<&Settings::partSize, 1, 6>(K::kPartSize, "intZhWSetup"),
      BooleanRule<&Settings::drawnOrder>(K::kDrawnOrder, "bolLdm"),
      IntegerRule<&Settings::keptDays, 2, 16>(K::kKeptDays, "IniSerchDay"),
      {K::kResultsUrl, "ResultsUrl", ApplyResultsUrl, WebAddress, ResultsUrlText},
      IntegerRule<&Settings::fetchTimeoutSeconds, 1, 600>(K::kFetchTimeout, "FetchTimeout"),
      BooleanRule<&Settings::autoUpdate>(K::kAutoUpdate, "AutoUpdate"),
      IntegerRule<&Settings::autoUpdateMinutes, 1, 60>(K::kAutoUpdateMinutes, "AutoUpdateMinutes"),
  };
  return rules;
}

const KeyRule& RuleOf(SettingKey key) { return KeyRules()[static_cast<size_t>(key)]; }

}  // namespace

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = [] {
    std::vector<SettingKey> all;
    for (const KeyRule& rule : KeyRules()) all.push_back(rule.key);
    return all;
  }();
  return keys;
}

std::string_view SettingName(SettingKey key) { return RuleOf(key).name; }

SettingKey SettingKeyNamed(std::string_view name) {
  std::string known;
  for (const KeyRule& rule : KeyRules()) {
    if (rule.name == name) return rule.key;
    known += (known.empty() ? "" : ", ") + std::string(rule.name);
  }
  throw InputError("没有设置项 " + std::string(name) + "；可用的设置项: " + known);
}

bool IsDerivationBase(SettingKey key) {
  return key == SettingKey::kZodiacBase || key == SettingKey::kSegmentBase;
}

// A stored value is held to the same checks as a typed one: an out-of-range
// search type or base would otherwise index past the program's tables.
Settings ReadSettings(const StoredSettingLookup& stored) {
  Settings settings;
  for (const KeyRule& rule : KeyRules()) {
    if (const std::optional<std::string> text = stored(rule.name)) rule.apply(settings, *text);
  }
  return settings;
}

std::string SettingText(const Settings& settings, SettingKey key) {
  return RuleOf(key).text(settings);
}

void ApplySetting(Settings& settings, SettingKey key, std::string_view value) {
  const KeyRule& rule = RuleOf(key);
  if (!rule.apply(settings, value)) {
    throw InputError("设置项 " + std::string(rule.name) + " 只接受 " + rule.accepted() +
                     "，不接受“" + std::string(value) + "”；设置保持原样");
  }
}

}  // namespace zs
