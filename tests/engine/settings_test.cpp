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
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(Editions()[i].caption, std::get<0>(expected[i]));
    EXPECT_EQ(EditionCode(EditionChoice::Of(i)), std::get<1>(expected[i]));
    EXPECT_EQ(DrawsPerDay(EditionChoice::Of(i)), std::get<2>(expected[i]));
    EXPECT_EQ(EditionChoice::FromStored(int(i)).index(), i);
    EXPECT_FALSE(UsesThreeDigitSequence(EditionChoice::Of(i)));
  }
  for (int none : {-1, 8, 556, 568, 1000}) {
    EXPECT_FALSE(EditionChoice::FromStored(none).index()) << none;
    EXPECT_EQ(EditionCode(EditionChoice::FromStored(none)), "") << none;
    EXPECT_EQ(DrawsPerDay(EditionChoice::FromStored(none)), 84) << none;
  }
  EXPECT_TRUE(UsesThreeDigitSequence(EditionChoice()));
  EXPECT_TRUE(UsesThreeDigitSequence(EditionChoice::FromStored(568)));
  EXPECT_FALSE(UsesThreeDigitSequence(EditionChoice::FromStored(8)));
  EXPECT_FALSE(UsesThreeDigitSequence(EditionChoice::FromStored(557)));
}

TEST(EditionTest, NamedByTheStartOfAFileName) {
  const std::vector<std::pair<std::string_view, int>> cases = {{"广东快乐十分历史号码.txt", 0},
                                                               {"黑龙江快乐十分.txt", 7},
                                                               {"重庆快乐十分", 3},
                                                               {"历史号码.txt", 556},
                                                               {"新广东快乐十分历史号码.txt", 556},
                                                               {"广东快乐", 556},
                                                               {"", 556}};
  for (const auto& [name, stored] : cases) EXPECT_EQ(EditionNamedBy(name).stored(), stored) << name;
}

// Every key in listing order: the text of its default, a stored text and the
// text of the value read from it.
struct KeyTexts {
  std::string_view key;
  std::string_view byDefault;
  std::string_view stored;
  std::string_view read;
};
const std::vector<KeyTexts> kKeyTexts = {
    {"GsZl", "556", "3", "3"},
    {"bolZyw", "true", "False", "false"},
    {"intLei", "0", " 4 ", "4"},
    {"DsIni", "1", "0", "0"},
    {"SxIni", "1", "0", "0"},
    {"BsIni", "1", "0", "0"},
    {"intZhWSetup", "2", "5", "5"},
    {"bolLdm", "true", "0", "false"},
    {"IniSerchDay", "6", "16", "16"},
    {"ResultsUrl", "http://127.0.0.1:8090/{code}/?n={n}", "https://example.org/{code}?n={n}",
     "https://example.org/{code}?n={n}"},
    {"FetchTimeout", "30", "600", "600"},
    {"AutoUpdate", "false", "True", "true"},
    {"AutoUpdateMinutes", "5", "60", "60"},
};

TEST(SettingsTest, KeysInListingOrderWithTheirDefaults) {
  EXPECT_EQ(ReadSettings(From({})), Settings{});
  ASSERT_EQ(SettingKeys().size(), kKeyTexts.size());
  for (size_t i = 0; i < kKeyTexts.size(); ++i) {
    const SettingKey key = SettingKeys()[i];
    EXPECT_EQ(SettingName(key), kKeyTexts[i].key);
    EXPECT_EQ(SettingKeyNamed(kKeyTexts[i].key), key);
    EXPECT_EQ(SettingText(Settings{}, key), kKeyTexts[i].byDefault) << kKeyTexts[i].key;
  }
}

TEST(SettingsTest, ReadsStoredTexts) {
  std::map<std::string, std::string, std::less<>> stored;
  for (const KeyTexts& k : kKeyTexts) stored.emplace(k.key, k.stored);
  const Settings settings = ReadSettings(From(stored));
  for (const KeyTexts& k : kKeyTexts) {
    EXPECT_EQ(SettingText(settings, SettingKeyNamed(k.key)), k.read) << k.key;
  }
}

TEST(SettingsTest, BooleanSpellings) {
  const std::vector<std::pair<std::string, bool>> spellings = {
      {"True", true},   {"true", true},   {"TRUE", true},   {"1", true},
      {"False", false}, {"false", false}, {"fAlSe", false}, {"0", false}};
  for (const auto& [text, value] : spellings) {
    EXPECT_EQ(ReadSettings(From({{"bolLdm", text}})).drawnOrder, value) << text;
  }
}

TEST(SettingsTest, UnconvertibleOrOutOfRangeStoredTextFallsBackToDefault) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> refused = {
      {"GsZl", {"abc", "", "3.5", "99999999999"}},
      {"bolZyw", {"yes", "2"}},
      {"intLei", {"6", "-1"}},
      {"DsIni", {"2"}},
      {"SxIni", {"x"}},
      {"BsIni", {"5"}},
      {"intZhWSetup", {"0", "7"}},
      {"bolLdm", {""}},
      {"IniSerchDay", {"1", "17"}},
      {"ResultsUrl", {"ftp://x/{n}", "http://x/"}},
      {"FetchTimeout", {"0", "601"}},
      {"AutoUpdate", {"on"}},
      {"AutoUpdateMinutes", {"0", "61"}}};
  for (const auto& [key, texts] : refused) {
    for (const std::string& text : texts) {
      EXPECT_EQ(ReadSettings(From({{key, text}})), Settings{}) << key << "=" << text;
    }
  }
}

TEST(SettingsTest, AnyWholeNumberIsAnEditionSetting) {
  for (int value : {0, 7, 8, 556, 568, -3}) {
    Settings settings;
    ApplySetting(settings, SettingKey::kEdition, std::to_string(value));
    EXPECT_EQ(settings.edition.stored(), value);
  }
}

// A value typed for a key: accepted (and then shown as `expected`), or
// refused with a message naming the key and what is accepted (`expected`),
// the settings left as they were.
TEST(SettingsTest, AppliesAcceptedValuesAndRefusesBadOnes) {
  struct Case {
    std::string key;
    std::string value;
    bool accepted;
    std::string expected;
  };
  for (const Case& c : {
           Case{"GsZl", "0", true, "0"},
           Case{"bolZyw", "False", true, "false"},
           Case{"bolZyw", "1", true, "true"},
           Case{"intLei", "5", true, "5"},
           Case{"DsIni", "0", true, "0"},
           Case{"SxIni", "0", true, "0"},
           Case{"BsIni", "0", true, "0"},
           Case{"intZhWSetup", "6", true, "6"},
           Case{"intZhWSetup", "1", true, "1"},
           Case{"bolLdm", "false", true, "false"},
           Case{"IniSerchDay", "2", true, "2"},
           Case{"FetchTimeout", "1", true, "1"},
           Case{"ResultsUrl", "https://h/{code}/x?n={n}", true, "https://h/{code}/x?n={n}"},
           Case{"GsZl", "gd", false, "0 到 7"},
           Case{"bolZyw", "yes", false, "true 或 false"},
           Case{"intLei", "6", false, "0 到 5"},
           Case{"intLei", "-1", false, "0 到 5"},
           Case{"DsIni", "2", false, "0 或 1"},
           Case{"SxIni", "one", false, "0 或 1"},
           Case{"BsIni", "-1", false, "0 或 1"},
           Case{"intZhWSetup", "0", false, "1 到 6"},
           Case{"bolLdm", "2", false, "true 或 false"},
           Case{"IniSerchDay", "17", false, "2 到 16"},
           Case{"IniSerchDay", "1", false, "2 到 16"},
           Case{"ResultsUrl", "127.0.0.1/{n}", false, "http://"},
           Case{"ResultsUrl", "http://127.0.0.1/", false, "{n}"},
           Case{"FetchTimeout", "0", false, "1 到 600"},
           Case{"FetchTimeout", "", false, "1 到 600"},
           Case{"AutoUpdateMinutes", "1", true, "1"},
           Case{"AutoUpdateMinutes", "61", false, "1 到 60"},
       }) {
    const SettingKey key = SettingKeyNamed(c.key);
    Settings settings;
    try {
      ApplySetting(settings, key, c.value);
      EXPECT_TRUE(c.accepted) << c.key << "=" << c.value << " accepted";
      EXPECT_EQ(SettingText(settings, key), c.expected) << c.key;
    } catch (const InputError& error) {
      const std::string message = error.what();
      EXPECT_FALSE(c.accepted) << message;
      EXPECT_NE(message.find(c.key), std::string::npos) << message;
      EXPECT_NE(message.find(c.expected), std::string::npos) << message;
      EXPECT_EQ(settings, Settings{}) << c.key;
    }
  }
  // A misspelt key is refused with the list of the known ones.
  EXPECT_THAT([] { SettingKeyNamed("gszl"); },
              ::testing::ThrowsMessage<InputError>(::testing::HasSubstr("GsZl")));
}

// An edition number outside 0..7 is written back as it was read.
TEST(SettingsTest, TextRoundTrip) {
  for (int edition : {5, 568, -3}) {
    Settings changed;
    changed.edition = EditionChoice::FromStored(edition);
    changed.freePositions = false;
    changed.searchType = SearchType::kUnits;
    changed.zodiacBase = 0;
    changed.drawnOrder = false;
    changed.keptDays = 9;
    changed.resultsUrl = "https://example.org/{code}/?n={n}";
    changed.fetchTimeoutSeconds = 12;
    std::map<std::string, std::string, std::less<>> stored;
    for (SettingKey key : SettingKeys()) {
      stored[std::string(SettingName(key))] = SettingText(changed, key);
    }
    EXPECT_EQ(stored["GsZl"], std::to_string(edition));
    EXPECT_EQ(ReadSettings(From(stored)), changed) << edition;
  }
}

}  // namespace
}  // namespace zs
