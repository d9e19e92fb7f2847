#include "core/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/edition.h"
#include "core/errors.h"

namespace zs {
namespace {

StoredSettingLookup From(const std::map<std::string, std::string, std::less<>>& stored) {
  return [stored](std::string_view key) -> std::optional<std::string> {
    const auto found = stored.find(key);
    if (found == stored.end()) return std::nullopt;
    return found->second;
  };
}

TEST(EditionTest, CaptionsCodesAndDrawsPerDay) {
  const std::vector<std::tuple<std::string_view, std::string_view, int>> expected = {
      {"广东快乐十分", "gd", 84}, {"天津快乐十分", "tj", 84},   {"湖南快乐十分", "hn", 84},
      {"重庆快乐十分", "cq", 97}, {"陕西快乐十分", "shx", 71},  {"山西快乐十分", "sx", 86},
      {"云南快乐十分", "yn", 72}, {"黑龙江快乐十分", "hlj", 84}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Editions()[i].caption, std::get<0>(expected[i]));
    EXPECT_EQ(EditionCode(i), std::get<1>(expected[i]));
    EXPECT_EQ(DrawsPerDay(i), std::get<2>(expected[i]));
    EXPECT_TRUE(IsEdition(i));
    EXPECT_FALSE(UsesThreeDigitSequence(i));
  }
  for (int none : {-1, 8, 556, 568, 1000}) {
    EXPECT_FALSE(IsEdition(none)) << none;
    EXPECT_EQ(EditionCode(none), "") << none;
    EXPECT_EQ(DrawsPerDay(none), 84) << none;
  }
  EXPECT_TRUE(UsesThreeDigitSequence(kNoEdition));
  EXPECT_TRUE(UsesThreeDigitSequence(568));
  EXPECT_FALSE(UsesThreeDigitSequence(8));
  EXPECT_FALSE(UsesThreeDigitSequence(557));
}

TEST(EditionTest, NamedByTheStartOfAFileName) {
  const std::vector<std::pair<std::string_view, int>> cases = {
      {"广东快乐十分历史号码.txt", 0},
      {"黑龙江快乐十分.txt", 7},
      {"重庆快乐十分", 3},
      {"历史号码.txt", kNoEdition},
      {"新广东快乐十分历史号码.txt", kNoEdition},
      {"广东快乐", kNoEdition},
      {"", kNoEdition}};
  for (const auto& [name, edition] : cases) EXPECT_EQ(EditionNamedBy(name), edition) << name;
}

TEST(SettingsTest, EmptyStoreGivesDefaults) {
  const Settings settings = ReadSettings(From({}));
  EXPECT_EQ(settings, Settings{});
  EXPECT_EQ(settings.gsZl, 556);
  EXPECT_TRUE(settings.bolZyw);
  EXPECT_EQ(settings.intLei, 0);
  EXPECT_EQ(settings.dsIni, 1);
  EXPECT_EQ(settings.sxIni, 1);
  EXPECT_EQ(settings.bsIni, 1);
  EXPECT_EQ(settings.intZhWSetup, 2);
  EXPECT_TRUE(settings.bolLdm);
  EXPECT_EQ(settings.iniSerchDay, 6);
  EXPECT_EQ(settings.resultsUrl, "http://127.0.0.1:8090/{code}/?n={n}");
  EXPECT_EQ(settings.fetchTimeoutSeconds, 30);
}

TEST(SettingsTest, KeysInListingOrder) {
  const std::vector<std::string_view> expected = {
      "GsZl",        "bolZyw", "intLei",      "DsIni",      "SxIni",       "BsIni",
      "intZhWSetup", "bolLdm", "IniSerchDay", "ResultsUrl", "FetchTimeout"};
  std::vector<std::string_view> names;
  for (SettingKey key : SettingKeys()) {
    names.push_back(SettingName(key));
    EXPECT_EQ(SettingKeyNamed(SettingName(key)), key);
  }
  EXPECT_EQ(names, expected);
}

TEST(SettingsTest, ReadsStoredTexts) {
  const Settings settings = ReadSettings(From({{"GsZl", "3"},
                                               {"bolZyw", "False"},
                                               {"intLei", " 4 "},
                                               {"DsIni", "0"},
                                               {"SxIni", "0"},
                                               {"BsIni", "0"},
                                               {"intZhWSetup", "5"},
                                               {"bolLdm", "0"},
                                               {"IniSerchDay", "16"},
                                               {"ResultsUrl", "https://example.org/{code}?n={n}"},
                                               {"FetchTimeout", "600"}}));
  EXPECT_EQ(settings.gsZl, 3);
  EXPECT_FALSE(settings.bolZyw);
  EXPECT_EQ(settings.intLei, 4);
  EXPECT_EQ(settings.dsIni, 0);
  EXPECT_EQ(settings.sxIni, 0);
  EXPECT_EQ(settings.bsIni, 0);
  EXPECT_EQ(settings.intZhWSetup, 5);
  EXPECT_FALSE(settings.bolLdm);
  EXPECT_EQ(settings.iniSerchDay, 16);
  EXPECT_EQ(settings.resultsUrl, "https://example.org/{code}?n={n}");
  EXPECT_EQ(settings.fetchTimeoutSeconds, 600);
}

TEST(SettingsTest, BooleanSpellings) {
  for (const auto& [text, value] : std::vector<std::pair<std::string, bool>>{{"True", true},
                                                                             {"true", true},
                                                                             {"TRUE", true},
                                                                             {"1", true},
                                                                             {"False", false},
                                                                             {"false", false},
                                                                             {"fAlSe", false},
                                                                             {"0", false}}) {
    EXPECT_EQ(ReadSettings(From({{"bolLdm", text}})).bolLdm, value) << text;
  }
}

TEST(SettingsTest, UnconvertibleOrOutOfRangeStoredTextFallsBackToDefault) {
  for (const auto& [key, text] :
       std::vector<std::pair<std::string, std::string>>{{"GsZl", "abc"},
                                                        {"GsZl", ""},
                                                        {"GsZl", "3.5"},
                                                        {"GsZl", "99999999999"},
                                                        {"bolZyw", "yes"},
                                                        {"bolZyw", "2"},
                                                        {"intLei", "6"},
                                                        {"intLei", "-1"},
                                                        {"DsIni", "2"},
                                                        {"SxIni", "x"},
                                                        {"BsIni", "5"},
                                                        {"intZhWSetup", "0"},
                                                        {"intZhWSetup", "7"},
                                                        {"bolLdm", ""},
                                                        {"IniSerchDay", "1"},
                                                        {"IniSerchDay", "17"},
                                                        {"ResultsUrl", "ftp://x/{n}"},
                                                        {"ResultsUrl", "http://x/"},
                                                        {"FetchTimeout", "0"},
                                                        {"FetchTimeout", "601"}}) {
    EXPECT_EQ(ReadSettings(From({{key, text}})), Settings{}) << key << "=" << text;
  }
}

TEST(SettingsTest, AnyWholeNumberIsAnEditionSetting) {
  for (int value : {0, 7, 8, 556, 568, -3}) {
    Settings settings;
    ApplySetting(settings, SettingKey::kGsZl, std::to_string(value));
    EXPECT_EQ(settings.gsZl, value);
  }
}

TEST(SettingsTest, AppliesAcceptedValues) {
  struct Case {
    std::string key;
    std::string value;
    std::string text;  // SettingText afterwards
  };
  for (const Case& c : {
           Case{"GsZl", "0", "0"},
           Case{"bolZyw", "False", "false"},
           Case{"bolZyw", "1", "true"},
           Case{"intLei", "5", "5"},
           Case{"DsIni", "0", "0"},
           Case{"SxIni", "0", "0"},
           Case{"BsIni", "0", "0"},
           Case{"intZhWSetup", "6", "6"},
           Case{"intZhWSetup", "1", "1"},
           Case{"bolLdm", "false", "false"},
           Case{"IniSerchDay", "2", "2"},
           Case{"FetchTimeout", "1", "1"},
           Case{"ResultsUrl", "https://h/{code}/x?n={n}", "https://h/{code}/x?n={n}"},
       }) {
    Settings settings;
    ApplySetting(settings, SettingKeyNamed(c.key), c.value);
    EXPECT_EQ(SettingText(settings, SettingKeyNamed(c.key)), c.text) << c.key;
  }
}

TEST(SettingsTest, RefusesBadValuesAndLeavesSettingsUnchanged) {
  struct Case {
    std::string key;
    std::string value;
    std::string accepted;  // part of the message
  };
  for (const Case& c : {
           Case{"GsZl", "gd", "0 到 7"},
           Case{"bolZyw", "yes", "true 或 false"},
           Case{"intLei", "6", "0 到 5"},
           Case{"intLei", "-1", "0 到 5"},
           Case{"DsIni", "2", "0 或 1"},
           Case{"SxIni", "one", "0 或 1"},
           Case{"BsIni", "-1", "0 或 1"},
           Case{"intZhWSetup", "0", "1 到 6"},
           Case{"bolLdm", "2", "true 或 false"},
           Case{"IniSerchDay", "17", "2 到 16"},
           Case{"IniSerchDay", "1", "2 到 16"},
           Case{"ResultsUrl", "127.0.0.1/{n}", "http://"},
           Case{"ResultsUrl", "http://127.0.0.1/", "{n}"},
           Case{"FetchTimeout", "0", "1 到 600"},
           Case{"FetchTimeout", "", "1 到 600"},
       }) {
    Settings settings;
    try {
      ApplySetting(settings, SettingKeyNamed(c.key), c.value);
      ADD_FAILURE() << c.key << "=" << c.value << " accepted";
    } catch (const InputError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(c.key), std::string::npos) << message;
      EXPECT_NE(message.find(c.accepted), std::string::npos) << message;
    }
    EXPECT_EQ(settings, Settings{}) << c.key;
  }
  // A misspelt key is refused with the list of the known ones.
  EXPECT_THAT([] { SettingKeyNamed("gszl"); },
              ::testing::ThrowsMessage<InputError>(::testing::HasSubstr("GsZl")));
}

TEST(SettingsTest, TextRoundTrip) {
  Settings changed;
  changed.gsZl = 5;
  changed.bolZyw = false;
  changed.intLei = 3;
  changed.sxIni = 0;
  changed.bolLdm = false;
  changed.iniSerchDay = 9;
  changed.resultsUrl = "https://example.org/{code}/?n={n}";
  changed.fetchTimeoutSeconds = 12;
  std::map<std::string, std::string, std::less<>> stored;
  for (SettingKey key : SettingKeys()) {
    stored[std::string(SettingName(key))] = SettingText(changed, key);
  }
  EXPECT_EQ(ReadSettings(From(stored)), changed);
}

}  // namespace
}  // namespace zs
