// The history of one data folder as the window and the command-line tool use
// it: the store, the settings its rows are derived under, and the analysis
// index, kept in step in one place.
//
// Every change of the history is one method. It commits in the store (one
// transaction), then publishes a new immutable snapshot. Readers take the
// snapshot (any thread) and keep it as long as they show or write what they
// computed from it, so nothing they hold can change or be freed under them.
//
// A snapshot is always what the store held after the change: when the store
// shows a change of another program (SQLite's data version moved since the
// last snapshot), the index is read anew; only a change of this object's own
// on a history nobody else touched is patched into a copy of the last index.
// The watch figures follow the same way: advanced by the appended draws
// after an append, else worked out anew unless the history only grew.
//
// Preconditions: one change at a time (the front end's command gate), on any
// one thread at a time; store() is used only by the thread that runs the
// changes and never during one.
#ifndef ZEPHYRSTAT_HISTORY_HISTORY_H_
#define ZEPHYRSTAT_HISTORY_HISTORY_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/watch_book.h"
#include "core/derivation.h"
#include "core/draw.h"
#include "core/settings.h"
#include "core/watch.h"
#include "history/deletion.h"
#include "history/import.h"
#include "history/setting_change.h"
#include "history/update.h"
#include "store/history_store.h"

namespace zs {

// The history as one change left it.
struct HistorySnapshot {
  std::shared_ptr<const HistoryIndex> index;
  // The rules the stored rows are derived under: the bases recorded with
  // them, the issue rule of the settings.
  DerivationRules rules;
  // Grows with every snapshot a History publishes; tells a view whether
  // what it shows is current.
  uint64_t version = 0;
  // The stored watch list with every watch's figures over `index` under
  // the rules' bases; an empty book when the folder has no watches.
  std::shared_ptr<const WatchBook> watches;
  // The watches that the change which published this snapshot made hold
  // (none in the first snapshot, nor after watches were added or removed).
  std::vector<WatchEntry> fired;

  size_t DrawCount() const { return index->DrawCount(); }
  bool Empty() const { return index->DrawCount() == 0; }
  // The newest stored issue; precondition: !Empty().
  int32_t NewestIssue() const { return index->Issue(index->DrawCount() - 1); }
};

using Snapshot = std::shared_ptr<const HistorySnapshot>;

class History {
 public:
  // Opens `folder`/tessera.mdb (creating it when absent), makes the rows
  // follow the bases of `settings` and reads the index. Throws StoreError
  // when the file is not a history database or cannot be read.
  static std::unique_ptr<History> OpenFolder(const std::filesystem::path& folder,
                                             const Settings& settings);
  static std::unique_ptr<History> OpenMemory(const Settings& settings);

  History(const History&) = delete;
  History& operator=(const History&) = delete;

  // The history as the last change left it; any thread. The first call
  // reads the index, on the thread that runs the changes; until then the
  // changes publish nothing, so a command that never analyses never reads
  // the index.
  Snapshot snapshot();
  Settings settings() const;
  const std::filesystem::path& folder() const { return store_->folder(); }
  // Whether opening re-derived the stored rows: a base change that a crash
  // cut short, or bases changed while the history was closed.
  bool RederivedAtOpening() const { return rederivedAtOpening_; }

  // For what the snapshot does not hold (the omission table, the stored
  // rows with their texts). See the preconditions above.
  HistoryStore& store() { return *store_; }

  // The changes. Each throws what the engine call it makes throws (InputError
  // for refused input, StoreError for a store that failed); the history is
  // then as it was and the snapshot unchanged. A change that committed
  // always returns: when the index cannot be read afterwards, the old
  // snapshot stays and TakeReadFailure() says why.

  // "读取历史号文本": replaces the history by the draws of a text file.
  ImportReport Import(const std::filesystem::path& file);
  // What a text file holds for the history as it is now, read and parsed
  // once, so the user can be asked before Import(inspection) stores it.
  HistoryFileInspection Inspect(const std::filesystem::path& file);
  ImportReport Import(const HistoryFileInspection& inspection);
  // The eight entry boxes: stores the draw under the next issue.
  int32_t AddTypedDraw(const Numbers& numbers);
  DeleteOutcome DeleteLast();
  DeleteOutcome DeleteLastDraws(int64_t count);
  DeleteOutcome DeleteDrawsAfter(int32_t lastKept);
  // Returns how many draws it deleted.
  int64_t Clear();
  // Replaces the history by the draws of the backup file lsbf.txt.
  void RebuildFromBackup();
  // Checks, applies and saves one setting; a zodiac or segment base
  // re-derives every stored draw. Throws InputError for an unacceptable
  // value, StoreError when the save or the re-derivation failed.
  SettingChange ChangeSetting(SettingKey key, std::string_view value, const SettingSaver& save);
  // The online update: the request and the issues to look up, from the
  // stored history as it is now; the page read for `plan` is then stored
  // by StoreUpdate, which refuses (StoreError, nothing stored) when the
  // history changed meanwhile so that the plan no longer holds.
  UpdatePlan PlanUpdate(const Settings& settings, const Date& today);
  UpdateReport StoreUpdate(const UpdatePlan& plan, const Settings& settings, const Date& today,
                           const PageReadout& readout);

  // The watch list (关注), kept in the same database: each is one change
  // of the store and, once a snapshot exists, publishes a new one whose
  // book has the figures of the watches that were not there before.
  // AddWatch stores `watch` (its number disregarded) and returns the number
  // it was given; RemoveWatch returns false when there is no watch `number`.
  int64_t AddWatch(const Watch& watch);
  bool RemoveWatch(int64_t number);

  // Reads the index anew when another program changed the store since the
  // last snapshot; returns whether a new snapshot was published.
  bool Refresh();
  // Whether another program committed to the store since the last snapshot;
  // asks the file only, so a front end may ask often. A change asks before
  // it commits too: the compaction after a delete opens the file anew, and a
  // new connection counts its data version afresh.
  bool ChangedByOthers();

  // Why the index could not be read after the last committed change, once.
  std::optional<std::string> TakeReadFailure();

 private:
  History(std::unique_ptr<HistoryStore> store, const Settings& settings);

  using IndexPatch = std::function<void(HistoryIndex& index)>;

  // How the watch figures of a new snapshot follow from the last one's.
  enum class WatchChange {
    kNone,       // the same history, the same watches: kept
    kAppended,   // draws appended under the same bases: advanced
    kHistory,    // any change of the history: advanced if it only grew
    kWatchList,  // the same history, watches added or removed
    kReread,     // another program may have changed both: list reloaded
  };

  // After a committed change: `patch` brings a copy of the last index to the
  // stored history when nobody else changed the store (`changedBefore`: as
  // asked before the change); without a patch, or after another program's
  // change, the index is read anew. A failure is kept for
  // TakeReadFailure(), never thrown: the change is done.
  void PublishChanged(const IndexPatch& patch, WatchChange watchChange, bool changedBefore = false);
  void PublishReread();
  // After a watch was added or removed: the same index, the new list.
  void PublishWatchList();
  void Publish(std::shared_ptr<const HistoryIndex> index,
               const std::optional<RecordedBases>& recorded, WatchChange watchChange);
  std::shared_ptr<const WatchBook> FollowWatches(const HistorySnapshot* last,
                                                 const HistoryIndex& index, const PanelBases& bases,
                                                 WatchChange watchChange);
  Snapshot Current() const;

  std::unique_ptr<HistoryStore> store_;
  int64_t seenDataVersion_ = 0;
  bool rederivedAtOpening_ = false;

  mutable std::mutex mutex_;  // guards the members below
  Settings settings_;
  Snapshot snapshot_;
  std::optional<std::string> readFailure_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_HISTORY_HISTORY_H_
