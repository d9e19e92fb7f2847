#include "core/settings.h"

#include <charconv>

namespace zs {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::optional<int> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

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

// One key: how its value is converted, checked and written back. Every
// conversion or check failure yields the message shown to the user.
struct KeyRule {
  std::string_view key;
  std::optional<std::string> (*apply)(Settings&, std::string_view key, std::string_view value);
  std::string (*text)(const Settings&);
};

std::string Refusal(std::string_view key, std::string_view accepted, std::string_view value) {
  return "设置项 " + std::string(key) + " 只接受 " + std::string(accepted) + "，不接受“" +
         std::string(value) + "”";
}

template <int Settings::*field, int low, int high>
std::optional<std::string> ApplyInteger(Settings& settings, std::string_view key,
                                        std::string_view value) {
  const std::optional<int> number = ParseInteger(value);
  if (!number || *number < low || *number > high) {
    const std::string accepted =
        low + 1 == high ? std::to_string(low) + " 或 " + std::to_string(high)
                        : std::to_string(low) + " 到 " + std::to_string(high) + " 的整数";
    return Refusal(key, accepted, value);
  }
  settings.*field = *number;
  return std::nullopt;
}

std::optional<std::string> ApplyEdition(Settings& settings, std::string_view key,
                                        std::string_view value) {
  const std::optional<int> number = ParseInteger(value);
  if (!number) return Refusal(key, "整数（0 到 7 选择版本，其他值表示未选择版本）", value);
  settings.gsZl = *number;
  return std::nullopt;
}

template <bool Settings::*field>
std::optional<std::string> ApplyBoolean(Settings& settings, std::string_view key,
                                        std::string_view value) {
  const std::optional<bool> flag = ParseBoolean(value);
  if (!flag) return Refusal(key, "true 或 false（也可写 1 或 0）", value);
  settings.*field = *flag;
  return std::nullopt;
}

std::optional<std::string> ApplyResultsUrl(Settings& settings, std::string_view key,
                                           std::string_view value) {
  const std::string_view address = TrimBlanks(value);
  const bool web = address.starts_with("http://") || address.starts_with("https://");
  if (!web || address.find("{n}") == std::string_view::npos) {
    return Refusal(key, "以 http:// 或 https:// 开头并含有 {n} 的网址（{code} 代表版本代码）",
                   value);
  }
  settings.resultsUrl = std::string(address);
  return std::nullopt;
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

const std::vector<KeyRule>& KeyRules() {
  static const std::vector<KeyRule> rules = {
      {"GsZl", ApplyEdition, IntegerText<&Settings::gsZl>},
      {"bolZyw", ApplyBoolean<&Settings::bolZyw>, BooleanText<&Settings::bolZyw>},
      {"intLei", ApplyInteger<&Settings::intLei, 0, 5>, IntegerText<&Settings::intLei>},
      {"DsIni", ApplyInteger<&Settings::dsIni, 0, 1>, IntegerText<&Settings::dsIni>},
      {"SxIni", ApplyInteger<&Settings::sxIni, 0, 1>, IntegerText<&Settings::sxIni>},
      {"BsIni", ApplyInteger<&Settings::bsIni, 0, 1>, IntegerText<&Settings::bsIni>},
      {"intZhWSetup", ApplyInteger<&Settings::intZhWSetup, 1, 6>,
       IntegerText<&Settings::intZhWSetup>},
      {"bolLdm", ApplyBoolean<&Settings::bolLdm>, BooleanText<&Settings::bolLdm>},
      {"IniSerchDay", ApplyInteger<&Settings::iniSerchDay, 2, 16>,
       IntegerText<&Settings::iniSerchDay>},
      {"ResultsUrl", ApplyResultsUrl, ResultsUrlText},
      {"FetchTimeout", ApplyInteger<&Settings::fetchTimeoutSeconds, 1, 600>,
       IntegerText<&Settings::fetchTimeoutSeconds>},
  };
  return rules;
}

const KeyRule* FindRule(std::string_view key) {
  for (const KeyRule& rule : KeyRules()) {
    if (rule.key == key) return &rule;
  }
  return nullptr;
}

}  // namespace

const std::vector<std::string_view>& SettingKeys() {
  static const std::vector<std::string_view> keys = [] {
    std::vector<std::string_view> names;
    for (const KeyRule& rule : KeyRules()) names.push_back(rule.key);
    return names;
  }();
  return keys;
}

// A stored value is held to the same checks as a typed one: an out-of-range
// search type or base would otherwise index past the program's tables.
Settings ReadSettings(const StoredSettingLookup& stored) {
  Settings settings;
  for (const KeyRule& rule : KeyRules()) {
    if (const std::optional<std::string> text = stored(rule.key)) {
      rule.apply(settings, rule.key, *text);
    }
  }
  return settings;
}

std::string SettingText(const Settings& settings, std::string_view key) {
  return FindRule(key)->text(settings);
}

std::optional<std::string> ApplySetting(Settings& settings, std::string_view key,
                                        std::string_view value) {
  const KeyRule* rule = FindRule(key);
  if (rule == nullptr) {
    std::string known;
    for (std::string_view name : SettingKeys())
      known += (known.empty() ? "" : ", ") + std::string(name);
    return "没有设置项 " + std::string(key) + "；可用的设置项: " + known;
  }
  return rule->apply(settings, key, value);
}

}  // namespace zs
