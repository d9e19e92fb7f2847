// Watches through the History object: after every change the snapshot's
// book is the one worked out anew over the snapshot's index, and the
// watches it names as fired are exactly those the recomputations before and
// after the change say.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "history/history.h"
#include "store/watch_table.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

void NoSave(const Settings&, SettingKey) {}

class HistoryWatchTest : public ::testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    random_.seed(GetParam());
    settings_.edition = EditionChoice::Of(0);
    history_ = History::OpenFolder(folder_.path(), settings_);
    history_->store().ReplaceAllDraws(testing::RandomDraws(GetParam(), 120, 0.1),
                                      DerivationRules::From(settings_));
    for (int i = 0; i < 12; ++i) history_->AddWatch(RandomWatch(i));
  }

  int Pick(int from, int to) { return from + static_cast<int>(random_() % (to - from + 1)); }

  // Every kind with every condition, thresholds around the usual gaps.
  Watch RandomWatch(int i) {
    Watch watch;
    watch.kind = static_cast<WatchKind>(i % 3);
    watch.freePositions = Pick(0, 1) == 1;
    for (int& value : watch.values) value = Pick(1, 20);
    watch.chosen[Pick(0, kPositions - 1)] = true;
    watch.partSize = Pick(1, 2);
    watch.boxes = {Pick(1, 20)};
    watch.condition.kind = static_cast<WatchCondition::Kind>((i / 3) % 3);
    watch.condition.lastAtLeast = Pick(2, 6);
    watch.condition.ratioAtLeast = Pick(1, 3) * WatchCondition::kRatioScale / 2;
    return watch;
  }

  Numbers RandomNumbers() {
    std::vector<int> pool(20);
    for (int i = 0; i < 20; ++i) pool[size_t(i)] = i + 1;
    std::shuffle(pool.begin(), pool.end(), random_);
    Numbers numbers{};
    std::copy_n(pool.begin(), kPositions, numbers.begin());
    return numbers;
  }

  // The book of the stored watches worked out anew over the snapshot.
  WatchBook Recomputed(const HistorySnapshot& snapshot) {
    return WatchBook(LoadWatches(history_->store()), *snapshot.index,
                     PanelBases{snapshot.rules.zodiacBase, snapshot.rules.segmentBase});
  }

  std::mt19937_64 random_;
  testing::TempFolder folder_;
  Settings settings_;
  std::unique_ptr<History> history_;
};

TEST_P(HistoryWatchTest, EveryChangePublishesTheRecomputedBookAndWhatItFired) {
  WatchBook before = Recomputed(*history_->snapshot());
  size_t firedInAll = 0;
  for (int step = 0; step < 30; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    const int change = Pick(0, 15);
    if (change <= 9) {
      history_->AddTypedDraw(RandomNumbers());
    } else if (change == 10) {
      history_->DeleteLast();
    } else if (change == 11) {
      history_->DeleteLastDraws(2);
    } else if (change == 12) {
      history_->ChangeSetting(SettingKey::kZodiacBase, Pick(0, 1) ? "1" : "0", NoSave);
    } else if (change == 13) {
      history_->AddWatch(RandomWatch(Pick(0, 8)));
    } else if (change == 14) {
      const std::vector<WatchEntry>& entries = history_->snapshot()->watches->entries();
      if (!entries.empty()) {
        EXPECT_TRUE(
            history_->RemoveWatch(entries[size_t(Pick(0, 100)) % entries.size()].watch.number));
      }
      EXPECT_FALSE(history_->RemoveWatch(1000));
    } else {
      const HistoryIndex& index = *history_->snapshot()->index;
      history_->DeleteDrawsAfter(index.Issue(index.DrawCount() * 3 / 4));
    }
    const Snapshot snapshot = history_->snapshot();
    const WatchBook after = Recomputed(*snapshot);
    const WatchBook& published = *snapshot->watches;
    ASSERT_EQ(published.DrawCount(), snapshot->DrawCount());
    testing::ExpectSameBook(published, after);
    if (HasFatalFailure()) return;
    std::vector<int64_t> expectedFired;
    for (const WatchEntry& want : after.entries()) {
      for (const WatchEntry& old : before.entries()) {
        if (old.watch.number == want.watch.number && !old.holds && want.holds) {
          expectedFired.push_back(want.watch.number);
        }
      }
    }
    std::vector<int64_t> fired;
    for (const WatchEntry& entry : snapshot->fired) fired.push_back(entry.watch.number);
    ASSERT_EQ(fired, expectedFired);
    firedInAll += fired.size();
    before = after;
  }
  EXPECT_GT(firedInAll, 0u) << "the changes should make some watch fire";
}

INSTANTIATE_TEST_SUITE_P(Seeds, HistoryWatchTest, ::testing::Range<uint64_t>(1, 4));

}  // namespace
}  // namespace zs
