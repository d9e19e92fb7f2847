#include "history/history.h"

#include <utility>

#include "acquire/manual_entry.h"

namespace zs {

std::unique_ptr<History> History::OpenFolder(const std::filesystem::path& folder,
                                             const Settings& settings) {
  std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(folder);
  store->FollowBases(DerivationRules::From(settings));
  return std::unique_ptr<History>(new History(std::move(store), settings));
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
                      const std::optional<RecordedBases>& recorded) {
  DerivationRules rules = DerivationRules::From(settings());
  if (recorded) {
    rules.sxIni = recorded->sxIni;
    rules.dsIni = recorded->dsIni;
  }
  const std::lock_guard lock(mutex_);
  const uint64_t version = snapshot_ == nullptr ? 1 : snapshot_->version + 1;
  snapshot_ =
      std::make_shared<const HistorySnapshot>(HistorySnapshot{std::move(index), rules, version});
  readFailure_.reset();
}

void History::PublishReread() {
  // The version is taken before the rows are read: a change committed in
  // between then shows as a newer version next time and is read again.
  seenDataVersion_ = store_->DataVersion();
  // The draws and their bases come from one read, so another program's base
  // change never puts the names of one base on the fields of the other.
  DerivedHistory derived = store_->LoadDerived();
  Publish(std::make_shared<const HistoryIndex>(std::move(derived.draws)), derived.bases);
}

bool History::ChangedByOthers() { return store_->DataVersion() != seenDataVersion_; }

void History::PublishChanged(const IndexPatch& patch, bool changedBefore) {
  const Snapshot last = Current();
  if (last == nullptr) return;
  try {
    if (!patch || changedBefore || ChangedByOthers()) {
      PublishReread();
      return;
    }
    auto index = std::make_shared<HistoryIndex>(*last->index);
    patch(*index);
    Publish(std::move(index), store_->Bases());
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
  PublishChanged(nullptr);
  return report;
}

HistoryFileInspection History::Inspect(const std::filesystem::path& file) {
  return InspectHistoryFile(file, ImportBasisOf(*store_));
}

ImportReport History::Import(const HistoryFileInspection& inspection) {
  const ImportReport report =
      ImportInspectedFile(*store_, inspection, DerivationRules::From(settings()));
  PublishChanged(nullptr);
  return report;
}

int32_t History::AddTypedDraw(const Numbers& numbers) {
  const bool changedBefore = ChangedByOthers();
  const int32_t stored = StoreTypedDraw(*store_, numbers, DerivationRules::From(settings()));
  PublishChanged([this](HistoryIndex& index) { AppendNewRows(*store_, index); }, changedBefore);
  return stored;
}

DeleteOutcome History::DeleteLast() {
  const bool changedBefore = ChangedByOthers();
  const DeleteOutcome outcome = DeleteLastDraw(*store_);
  if (outcome.deleted > 0) {
    PublishChanged([](HistoryIndex& index) { index.RemoveLast(); }, changedBefore);
  }
  return outcome;
}

DeleteOutcome History::DeleteLastDraws(int64_t count) {
  const DeleteOutcome outcome =
      zs::DeleteLastDraws(*store_, count, folder(), DerivationRules::From(settings()));
  if (outcome.deleted > 0) PublishChanged(nullptr);
  return outcome;
}

DeleteOutcome History::DeleteDrawsAfter(int32_t lastKept) {
  const DeleteOutcome outcome =
      zs::DeleteDrawsAfter(*store_, lastKept, folder(), DerivationRules::From(settings()));
  if (outcome.deleted > 0) PublishChanged(nullptr);
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
  PublishChanged([](HistoryIndex& index) { index = HistoryIndex(); });
  return count;
}

void History::RebuildFromBackup() {
  zs::RebuildFromBackup(*store_, folder(), DerivationRules::From(settings()));
  PublishChanged(nullptr);
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
    PublishChanged(nullptr);
  } else {
    PublishChanged([](HistoryIndex&) {}, changedBefore);
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
        changedBefore);
  }
  return report;
}

}  // namespace zs
