#include "history/setting_change.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/derivation.h"
#include "core/errors.h"
#include "tests/support/stored_history.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

const std::vector<Draw> kDraws = {{14011682, {3, 7, 15, 8, 19, 20, 11, 14}},
                                  {14011683, {1, 2, 3, 4, 5, 6, 7, 8}},
                                  {14011684, {20, 19, 18, 17, 16, 15, 14, 13}}};

// A history derived under bases 1/1 and a settings store in memory whose
// save can be made to fail.
class SettingChangeTest : public ::testing::Test {
 protected:
  SettingChangeTest() : store_(HistoryStore::OpenFolder(folder_.path())) {
    store_->ReplaceAllDraws(kDraws, DerivationRules::From(saved_));
  }

  SettingChange Change(SettingKey key, std::string_view value) {
    return ChangeSetting(store_.get(), saved_, key, value,
                         [this](const Settings& settings, SettingKey) {
                           ++saves_;
                           if (saveFails_) throw StoreError("设置未保存：磁盘已满");
                           saved_ = settings;
                         });
  }

  // Every row as derived under `settings`' bases.
  bool RowsFollow(const Settings& settings) {
    const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
    for (size_t i = 0; i < rows.size(); ++i) {
      HistoryRow expected = DeriveRow(kDraws[i], DerivationRules::From(settings));
      expected.idx = static_cast<int32_t>(i + 1);
      if (rows[i] != expected) return false;
    }
    return rows.size() == kDraws.size();
  }

  testing::TempFolder folder_;
  std::unique_ptr<HistoryStore> store_;
  Settings saved_;
  bool saveFails_ = false;
  int saves_ = 0;
};

TEST_F(SettingChangeTest, ABaseIsSavedTogetherWithTheRederivedRows) {
  const SettingChange change = Change(SettingKey::kZodiacBase, "0");
  EXPECT_TRUE(change.rederived);
  EXPECT_EQ(saved_.zodiacBase, 0);
  EXPECT_EQ(change.settings, saved_);
  EXPECT_TRUE(RowsFollow(saved_));
  EXPECT_EQ(store_->Bases(), (RecordedBases{0, 1}));
}

TEST_F(SettingChangeTest, OtherKeysAreSavedWithoutTouchingTheHistory) {
  const SettingChange change = Change(SettingKey::kKeptDays, "9");
  EXPECT_FALSE(change.rederived);
  EXPECT_EQ(saved_.keptDays, 9);
  EXPECT_TRUE(RowsFollow(Settings{}));
}

TEST_F(SettingChangeTest, AFailureChangesNeitherTheHistoryNorTheSavedSettings) {
  struct Case {
    SettingKey key;
    const char* value;
    bool saveFails;
    const char* message;
  };
  for (const Case& c : {Case{SettingKey::kZodiacBase, "0", true, "设置未保存"},
                        Case{SettingKey::kSegmentBase, "0", true, "设置未保存"},
                        Case{SettingKey::kColourBase, "0", true, "设置未保存"},
                        Case{SettingKey::kZodiacBase, "2", false, "0 或 1"},
                        Case{SettingKey::kKeptDays, "17", false, "2 到 16"}}) {
    saveFails_ = c.saveFails;
    saves_ = 0;
    EXPECT_THAT([&] { Change(c.key, c.value); },
                ThrowsMessage<std::runtime_error>(HasSubstr(c.message)))
        << SettingName(c.key) << "=" << c.value;
    EXPECT_EQ(saved_, Settings{}) << SettingName(c.key);
    EXPECT_TRUE(RowsFollow(Settings{})) << SettingName(c.key);
    EXPECT_EQ(store_->Bases(), (RecordedBases{1, 1})) << SettingName(c.key);
    EXPECT_EQ(saves_, c.saveFails ? 1 : 0) << SettingName(c.key);
  }
}

// Opening after a crash between the save of a base and the commit of its
// re-derivation (or of a file from before the bases were recorded).
TEST_F(SettingChangeTest, OpeningFollowsTheSavedBases) {
  struct Case {
    const char* name;
    std::optional<RecordedBases> recorded;
    bool rederives;
  };
  Settings current;
  current.zodiacBase = 0;
  for (const Case& c :
       {Case{"older file", std::nullopt, false}, Case{"same bases", RecordedBases{0, 1}, false},
        Case{"crash after the save", RecordedBases{1, 1}, true},
        Case{"crash after the save of the segment base", RecordedBases{0, 0}, true}}) {
    Settings derivedUnder = current;
    if (c.recorded) {
      derivedUnder.zodiacBase = c.recorded->zodiacBase;
      derivedUnder.segmentBase = c.recorded->segmentBase;
    }
    store_->ReplaceAllDraws(kDraws, DerivationRules::From(derivedUnder));
    if (!c.recorded) store_->db().Execute("DROP TABLE DerivedBases");
    EXPECT_EQ(store_->FollowBases(DerivationRules::From(current)), c.rederives) << c.name;
    EXPECT_TRUE(RowsFollow(current)) << c.name;
    EXPECT_EQ(store_->Bases(), (RecordedBases{0, 1})) << c.name;
  }
}

}  // namespace
}  // namespace zs
