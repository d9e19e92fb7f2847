#include "history/history.h"

#include <algorithm>
#include <utility>

#include "history/typed_entry.h"
#include "store/watch_table.h"

namespace zs {

std::unique_ptr<History> History::OpenFolder(const std::filesystem::path& folder,
                                             const Settings& settings) {
  std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(folder);
  const bool rederived = store->FollowBases(DerivationRules::From(settings));
  std::unique_ptr<History> history(new History(std::move(store), settings));
  history->rederivedAtOpening_ = rederived;
  return history;
}

std::unique_ptr<History> History::OpenMemory(const Settings& settings) {
  return std::unique_ptr<History>(new History(HistoryStore::OpenMemory(), settings));
}

History::History(std::unique_ptr<HistoryStore> store, const Settings& settings)
    : store_(std::move(store)), settings_(settings) {}

Snapshot History::Current() const {
  const std::lock_guard lock(mutex_);
  return snapshot_;
}

Snapshot History::snapshot() {
  if (Snapshot current = Current()) return current;
  PublishReread();
  return Current();
}

Settings History::settings() const {
  const std::lock_guard lock(mutex_);
  return settings_;
}

std::optional<std::string> History::TakeReadFailure() {
  const std::lock_guard lock(mutex_);
  return std::exchange(readFailure_, std::nullopt);
}

bool History::Refresh() {
  if (Current() != nullptr && store_->DataVersion() == seenDataVersion_) return false;
  PublishReread();
  return true;
}

void History::Publish(std::shared_ptr<const HistoryIndex> index,
                      const std::optional<RecordedBases>& recorded, WatchChange watchChange) {
  DerivationRules rules = DerivationRules::From(settings());
  if (recorded) {
    rules.zodiacBase = recorded->zodiacBase;
    rules.segmentBase = recorded->segmentBase;
  }
  const Snapshot last = Current();
  std::shared_ptr<const WatchBook> watches = FollowWatches(
      last.get(), *index, PanelBases{rules.zodiacBase, rules.segmentBase}, watchChange);
  std::vector<WatchEntry> fired;
  if (last != nullptr) fired = FiredBetween(*last->watches, *watches);
  const std::lock_guard lock(mutex_);
  const uint64_t version = snapshot_ == nullptr ? 1 : snapshot_->version + 1;
  snapshot_ = std::make_shared<const HistorySnapshot>(
      HistorySnapshot{std::move(index), rules, version, std::move(watches), std::move(fired)});
  readFailure_.reset();
}

std::shared_ptr<const WatchBook> History::FollowWatches(const HistorySnapshot* last,
                                                        const HistoryIndex& index,
                                                        const PanelBases& bases,
                                                        WatchChange watchChange) {
  if (last == nullptr || watchChange == WatchChange::kReread ||
      watchChange == WatchChange::kWatchList) {
    std::vector<Watch> watches = LoadWatches(*store_);
    if (last == nullptr) return std::make_shared<const WatchBook>(std::move(watches), index, bases);
    if (watchChange == WatchChange::kWatchList) {
      return std::make_shared<const WatchBook>(last->watches->Rewatched(std::move(watches), index));
    }
    const auto& known = last->watches->entries();
    const bool sameList = std::equal(
        watches.begin(), watches.end(), known.begin(), known.end(),
        [](const Watch& watch, const WatchEntry& entry) { return watch == entry.watch; });
    if (!sameList) return std::make_shared<const WatchBook>(std::move(watches), index, bases);
  }
  const WatchBook& book = *last->watches;
  // Without watches there is nothing to follow; the book only takes the
  // bases and the draw count a watch added later starts from.
  if (book.entries().empty())
    return std::make_shared<const WatchBook>(std::vector<Watch>(), index, bases);
  switch (watchChange) {
    case WatchChange::kNone:
      return last->watches;
    case WatchChange::kAppended:
      return std::make_shared<const WatchBook>(book.Advanced(index));
    default:
      return std::make_shared<const WatchBook>(book.Followed(*last->index, index, bases));
  }
}

void History::PublishReread() {
  // The version is taken before the rows are read: a change committed in
  // between then shows as a newer version next time and is read again. It
  // counts as seen only once read, so a failed read is tried again.
  const int64_t version = store_->DataVersion();
  // The draws and their bases come from one read, so another program's base
  // change never puts the names of one base on the fields of the other.
  DerivedHistory derived = store_->LoadDerived();
  Publish(std::make_shared<const HistoryIndex>(std::move(derived.draws)), derived.bases,
          WatchChange::kReread);
  seenDataVersion_ = version;
}

bool History::ChangedByOthers() { return store_->DataVersion() != seenDataVersion_; }

void History::PublishChanged(const IndexPatch& patch, WatchChange watchChange, bool changedBefore) {
  const Snapshot last = Current();
  if (last == nullptr) return;
  try {
    if (!patch || changedBefore || ChangedByOthers()) {
      PublishReread();
      return;
    }
    auto index = std::make_shared<HistoryIndex>(*last->index);
    patch(*index);
    Publish(std::move(index), store_->Bases(), watchChange);
  } catch (const std::exception& error) {
    const std::lock_guard lock(mutex_);
    readFailure_ = error.what();
  }
}

void History::PublishWatchList() {
  const Snapshot last = Current();
  if (last == nullptr) return;
  try {
    if (ChangedByOthers()) {
      PublishReread();
    } else {
      Publish(last->index, store_->Bases(), WatchChange::kWatchList);
    }
  } catch (const std::exception& error) {
    const std::lock_guard lock(mutex_);
    readFailure_ = error.what();
  }
}

namespace {

// Appends the stored rows above the index's newest draw.
void AppendNewRows(HistoryStore& store, HistoryIndex& index) {
  const int32_t newest = index.DrawCount() == 0 ? 0 : index.Issue(index.DrawCount() - 1);
  for (const HistoryRow& row : store.RowsAbove(newest)) index.Append(row);
}

}  // namespace

ImportReport History::Import(const std::filesystem::path& file) {
  const ImportReport report = ImportHistoryFile(*store_, file, DerivationRules::From(settings()));
  PublishChanged(nullptr, WatchChange::kHistory);
  return report;
}

HistoryFileInspection History::Inspect(const std::filesystem::path& file) {
  return InspectHistoryFile(file, ImportBasisOf(*store_));
}

ImportReport History::Import(const HistoryFileInspection& inspection) {
  const ImportReport report =
      ImportInspectedFile(*store_, inspection, DerivationRules::From(settings()));
  PublishChanged(nullptr, WatchChange::kHistory);
  return report;
}

int32_t History::AddTypedDraw(const Numbers& numbers) {
  const bool changedBefore = ChangedByOthers();
  const int32_t stored = StoreTypedDraw(*store_, numbers, DerivationRules::From(settings()));
  PublishChanged([this](HistoryIndex& index) { AppendNewRows(*store_, index); },
                 WatchChange::kAppended, changedBefore);
  return stored;
}

DeleteOutcome History::DeleteLast() {
  const bool changedBefore = ChangedByOthers();
  const DeleteOutcome outcome = DeleteLastDraw(*store_);
  if (outcome.deleted > 0) {
    PublishChanged([](HistoryIndex& index) { index.RemoveLast(); }, WatchChange::kHistory,
                   changedBefore);
  }
  return outcome;
}

DeleteOutcome History::DeleteLastDraws(int64_t count) {
  const DeleteOutcome outcome =
      zs::DeleteLastDraws(*store_, count, folder(), DerivationRules::From(settings()));
  if (outcome.deleted > 0) PublishChanged(nullptr, WatchChange::kHistory);
  return outcome;
}

DeleteOutcome History::DeleteDrawsAfter(int32_t lastKept) {
  const DeleteOutcome outcome =
      zs::DeleteDrawsAfter(*store_, lastKept, folder(), DerivationRules::From(settings()));
  if (outcome.deleted > 0) PublishChanged(nullptr, WatchChange::kHistory);
  return outcome;
}

int64_t History::Clear() {
  int64_t count = 0;
  {
    // Counted inside the change, so the count is what the clear deleted.
    HistoryStore::Change change(*store_);
    count = store_->Count();
    store_->Clear();
    change.Commit();
  }
  PublishChanged([](HistoryIndex& index) { index = HistoryIndex(); }, WatchChange::kHistory);
  return count;
}

void History::RebuildFromBackup() {
  zs::RebuildFromBackup(*store_, folder(), DerivationRules::From(settings()));
  PublishChanged(nullptr, WatchChange::kHistory);
}

SettingChange History::ChangeSetting(SettingKey key, std::string_view value,
                                     const SettingSaver& save) {
  const bool changedBefore = ChangedByOthers();
  const SettingChange change = zs::ChangeSetting(store_.get(), settings(), key, value, save);
  {
    const std::lock_guard lock(mutex_);
    settings_ = change.settings;
  }
  // A new snapshot also when no row changed: its issue rule follows the
  // edition.
  if (change.rederived) {
    PublishChanged(nullptr, WatchChange::kHistory);
  } else {
    PublishChanged([](HistoryIndex&) {}, WatchChange::kNone, changedBefore);
  }
  return change;
}

UpdatePlan History::PlanUpdate(const Settings& settings, const Date& today) {
  return zs::PlanUpdate(*store_, settings, today);
}

UpdateReport History::StoreUpdate(const UpdatePlan& plan, const Settings& settings,
                                  const Date& today, const PageReadout& readout) {
  const bool changedBefore = ChangedByOthers();
  const UpdateReport report = StoreResultsPage(*store_, plan, settings, today, readout);
  if (report.added > 0 || report.dropped > 0) {
    PublishChanged(
        [this, drop = plan.dropHistory](HistoryIndex& index) {
          if (drop) index = HistoryIndex();
          AppendNewRows(*store_, index);
        },
        plan.dropHistory ? WatchChange::kHistory : WatchChange::kAppended, changedBefore);
  }
  return report;
}

int64_t History::AddWatch(const Watch& watch) {
  const int64_t number = zs::AddWatch(*store_, watch);
  PublishWatchList();
  return number;
}

bool History::RemoveWatch(int64_t number) {
  if (!zs::RemoveWatch(*store_, number)) return false;
  PublishWatchList();
  return true;
}

}  // namespace zs
