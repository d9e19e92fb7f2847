#include "history/history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/errors.h"

#include "tests/support/analysis_histories.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using testing::RandomDraws;
using testing::TempFolder;

void NoSave(const Settings&, SettingKey) {}

// Every draw and every set of `actual` is that of `expected`.
void ExpectSameIndex(const HistoryIndex& actual, const HistoryIndex& expected) {
  ASSERT_EQ(actual.DrawCount(), expected.DrawCount());
  EXPECT_EQ(actual.Draws()->issues, expected.Draws()->issues);
  EXPECT_EQ(actual.Draws()->fields, expected.Draws()->fields);
  const auto words = [](const DrawSet* set) {
    return set == nullptr ? std::vector<uint64_t>()
                          : std::vector<uint64_t>(set->Words(), set->Words() + set->WordCount());
  };
  for (int t = 0; t < kSearchTypeCount; ++t) {
    const auto type = static_cast<SearchType>(t);
    for (int value = 0; value <= kMaxIndexedValue; ++value) {
      for (int p = 0; p < kPositions; ++p) {
        ASSERT_EQ(words(actual.AtPosition(type, p, value)),
                  words(expected.AtPosition(type, p, value)))
            << "type " << t << " position " << p << " value " << value;
        ASSERT_EQ(words(actual.AtLeast(type, value, p + 1)),
                  words(expected.AtLeast(type, value, p + 1)))
            << "type " << t << " count " << p + 1 << " value " << value;
      }
    }
  }
}

class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() {
    settings_.edition = EditionChoice::Of(0);
    HistoryStore::OpenFolder(folder_.path())
        ->ReplaceAllDraws(RandomDraws(7, 300, 0.0), DerivationRules::From(settings_));
    history_ = History::OpenFolder(folder_.path(), settings_);
    other_ = HistoryStore::OpenFolder(folder_.path());
  }

  // The snapshot is the stored history, read afresh through a second store.
  void ExpectSnapshotIsStored() {
    ExpectSameIndex(*history_->snapshot()->index, HistoryIndex(*other_));
  }

  TempFolder folder_;
  Settings settings_;
  std::unique_ptr<History> history_;
  std::unique_ptr<HistoryStore> other_;  // another program on the same folder
};

// Random changes, some of them made by another program in between: after
// each, the snapshot holds exactly what the store holds.
TEST_F(HistoryTest, EverySnapshotIsTheStoredHistory) {
  std::mt19937_64 random(11);
  const auto typedDraw = [&] {
    Numbers numbers{};
    std::vector<int> pool(20);
    for (int i = 0; i < 20; ++i) pool[size_t(i)] = i + 1;
    std::shuffle(pool.begin(), pool.end(), random);
    std::copy_n(pool.begin(), kPositions, numbers.begin());
    return numbers;
  };
  history_->snapshot();
  for (int step = 0; step < 40; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    switch (random() % 7) {
      case 0:
      case 1:
        history_->AddTypedDraw(typedDraw());
        break;
      case 2:
        history_->DeleteLast();
        break;
      case 3:
        history_->DeleteLastDraws(int64_t(random() % 4));
        break;
      case 4:
        history_->ChangeSetting(SettingKey::kZodiacBase, random() % 2 ? "1" : "0", NoSave);
        break;
      case 5: {  // another program stores a draw, then this one deletes one
        other_->AppendDraws({Draw{other_->Last()->issue + 1, typedDraw()}},
                            DerivationRules::From(settings_));
        history_->DeleteLast();
        break;
      }
      case 6:  // another program deletes, then this one stores
        other_->DeleteLast();
        history_->AddTypedDraw(typedDraw());
        break;
    }
    ASSERT_EQ(history_->TakeReadFailure(), std::nullopt);
    ExpectSnapshotIsStored();
  }
}

// A view keeps the snapshot it was made from: later changes never alter it.
TEST_F(HistoryTest, AHeldSnapshotStaysAsItWas) {
  const Snapshot before = history_->snapshot();
  const HistoryIndex copy = *before->index;
  history_->AddTypedDraw({1, 2, 3, 4, 5, 6, 7, 8});
  history_->DeleteLast();
  history_->DeleteLast();
  history_->Clear();
  ExpectSameIndex(*before->index, copy);
  EXPECT_EQ(history_->snapshot()->DrawCount(), 0u);
  EXPECT_GT(history_->snapshot()->version, before->version);
}

// Another program's change is seen by Refresh, and the names follow the
// bases the rows were derived under, not those this program was opened with.
TEST_F(HistoryTest, RefreshReadsAnotherProgramsChange) {
  history_->snapshot();
  EXPECT_FALSE(history_->Refresh());
  DerivationRules otherRules = DerivationRules::From(settings_);
  otherRules.zodiacBase = 0;
  other_->Rederive(otherRules);
  EXPECT_TRUE(history_->Refresh());
  EXPECT_EQ(history_->snapshot()->rules.zodiacBase, 0);
  ExpectSnapshotIsStored();
  // Opened again under the settings' bases, the rows follow them.
  EXPECT_FALSE(history_->RederivedAtOpening());
  history_.reset();
  EXPECT_TRUE(History::OpenFolder(folder_.path(), settings_)->RederivedAtOpening());
}

// The update stores the page only while its plan still holds.
TEST_F(HistoryTest, AnUpdateOvertakenByAnotherProgramStoresNothing) {
  const Snapshot before = history_->snapshot();
  const int32_t newest = before->NewestIssue();
  const Date today{2000 + newest / 1000000, newest / 10000 % 100, newest / 100 % 100};
  const UpdatePlan plan = history_->PlanUpdate(settings_, today);
  PageReadout readout;
  readout.draws.push_back(Draw{plan.firstIssue, {1, 2, 3, 4, 5, 6, 7, 8}});
  other_->DeleteLast();
  EXPECT_THROW(history_->StoreUpdate(plan, settings_, today, readout), StoreError);
  EXPECT_EQ(history_->snapshot(), before);

  const UpdatePlan fresh = history_->PlanUpdate(settings_, today);
  readout.draws[0].issue = fresh.firstIssue;
  EXPECT_EQ(history_->StoreUpdate(fresh, settings_, today, readout).added, 1);
  ExpectSnapshotIsStored();
}

}  // namespace
}  // namespace zs
