// Kills a child process (SIGKILL, at seeded random moments) while it changes
// the history: an import (also into an emptied history), a multi-draw delete, a base change with
// its re-derivation and the group calculation. After every kill the file must pass SQLite's
// integrity check and hold either the history before the change or the one after it, never a
// mixture; a base change must agree with the saved settings once the history is opened again.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "analysis/group_calculation.h"
#include "analysis/history_index.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "history/deletion.h"
#include "history/import.h"
#include "history/setting_change.h"
#include "store/omission_table.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/stored_history.h"
#include "tests/support/temp_folder.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

constexpr int kDraws = 6000;
constexpr int kDeleted = 2500;
constexpr int kTrials = 8;  // per change

const std::vector<Draw>& OldDraws() {
  static const std::vector<Draw> draws = testing::RandomDraws(11, kDraws, 0);
  return draws;
}
const std::vector<Draw>& NewDraws() {
  static const std::vector<Draw> draws = testing::RandomDraws(12, kDraws / 2, 0);
  return draws;
}

// The saved zodiac base: a one-line file beside the history, replaced whole
// by a rename as a settings store would be.
std::filesystem::path SavedBaseFile(const std::filesystem::path& folder) {
  return folder / "saved_base";
}
int SavedBase(const std::filesystem::path& folder) {
  std::FILE* in = std::fopen(SavedBaseFile(folder).c_str(), "r");
  if (in == nullptr) return 1;
  const int base = std::fgetc(in) == '0' ? 0 : 1;
  std::fclose(in);
  return base;
}
void SaveBase(const std::filesystem::path& folder, int base) {
  const std::filesystem::path incoming = SavedBaseFile(folder).string() + ".new";
  std::FILE* out = std::fopen(incoming.c_str(), "w");
  std::fputc('0' + base, out);
  std::fflush(out);
  ::fsync(::fileno(out));
  std::fclose(out);
  std::filesystem::rename(incoming, SavedBaseFile(folder));
}

DerivationRules RulesOfBase(int base) { return testing::Rules(base, 1); }

GroupRequest Calculation(const HistoryIndex& index, int groupSize) {
  GroupRequest request;
  request.checkedBoxes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  request.groupSize = groupSize;
  request.startBox = ShownIssue(index.Issue(0), false);
  request.endBox = ShownIssue(index.Issue(index.DrawCount() - 1), false);
  return request;
}

struct Change {
  const char* name;
  std::function<void(const std::filesystem::path& folder)> run;  // in the child
  // Whether the history in `folder` is the one before or after the change.
  std::function<void(const std::filesystem::path& folder, const std::string& trial)> check;
};

std::vector<Draw> Stored(const std::filesystem::path& folder) {
  return HistoryStore::OpenFolder(folder)->LoadDraws();
}

void ExpectOldOrNew(const std::vector<Draw>& stored, const std::vector<Draw>& after,
                    const std::string& trial) {
  EXPECT_TRUE(stored == OldDraws() || stored == after)
      << trial << ": " << stored.size() << " draws, neither before nor after";
}

std::vector<Change> Changes() {
  static const std::vector<Draw> kept(OldDraws().begin(), OldDraws().end() - kDeleted);
  return {
      {"import",
       [](const std::filesystem::path& folder) {
         auto store = HistoryStore::OpenFolder(folder);
         ImportHistoryFile(*store, folder / "new.txt", RulesOfBase(1));
       },
       [](const std::filesystem::path& folder, const std::string& trial) {
         ExpectOldOrNew(Stored(folder), NewDraws(), trial);
       }},
      // Into an empty table the import runs with a small page cache.
      {"import into an emptied history",
       [](const std::filesystem::path& folder) {
         auto store = HistoryStore::OpenFolder(folder);
         store->Clear();
         ImportHistoryFile(*store, folder / "new.txt", RulesOfBase(1));
       },
       [](const std::filesystem::path& folder, const std::string& trial) {
         const std::vector<Draw> stored = Stored(folder);
         EXPECT_TRUE(stored.empty() || stored == OldDraws() || stored == NewDraws())
             << trial << ": " << stored.size() << " draws, neither before, emptied nor after";
       }},
      {"delete",
       [](const std::filesystem::path& folder) {
         auto store = HistoryStore::OpenFolder(folder);
         DeleteLastDraws(*store, kDeleted, folder, RulesOfBase(1));
       },
       [](const std::filesystem::path& folder, const std::string& trial) {
         ExpectOldOrNew(Stored(folder), kept, trial);
       }},
      {"base change",
       [](const std::filesystem::path& folder) {
         auto store = HistoryStore::OpenFolder(folder);
         Settings settings;
         ChangeSetting(store.get(), settings, SettingKey::kZodiacBase, "0",
                       [&folder](const Settings& changed, SettingKey) {
                         SaveBase(folder, changed.zodiacBase);
                       });
       },
       [](const std::filesystem::path& folder, const std::string& trial) {
         auto store = HistoryStore::OpenFolder(folder);
         const DerivationRules rules = RulesOfBase(SavedBase(folder));
         store->FollowBases(rules);
         const std::vector<HistoryRow> rows = testing::StoredRows(*store);
         ASSERT_EQ(rows.size(), OldDraws().size()) << trial;
         for (size_t i = 0; i < rows.size(); i += 97) {
           HistoryRow expected = DeriveRow(OldDraws()[i], rules);
           expected.idx = static_cast<int32_t>(i + 1);
           ASSERT_EQ(rows[i], expected) << trial << ": row " << i << " not under the saved base";
         }
       }},
      {"group calculation",
       [](const std::filesystem::path& folder) {
         auto store = HistoryStore::OpenFolder(folder);
         const HistoryIndex index(*store);
         RunGroupCalculation(index, Calculation(index, 4), *store);
       },
       [](const std::filesystem::path& folder, const std::string& trial) {
         auto store = HistoryStore::OpenFolder(folder);
         const size_t rows = LoadOmissionRecords(*store, OmissionSortKey::kLast).size();
         EXPECT_TRUE(rows == 120 || rows == 1820) << trial << ": YL holds " << rows << " rows";
       }},
  };
}

// The history every trial starts from: the old draws under base 1, YL from a
// calculation of pairs, and the file the import reads.
void Prepare(const std::filesystem::path& folder) {
  auto store = HistoryStore::OpenFolder(folder);
  store->ReplaceAllDraws(OldDraws(), RulesOfBase(1));
  const HistoryIndex index(*store);
  RunGroupCalculation(index, Calculation(index, 2), *store);
  FILE* out = std::fopen((folder / "new.txt").c_str(), "wb");
  const std::string text = HistoryFileText(NewDraws(), false);
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
}

void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
  for (const auto& entry : std::filesystem::directory_iterator(from)) {
    std::filesystem::copy(entry.path(), to / entry.path().filename());
  }
}

// How long the change takes when nothing stops it.
std::chrono::microseconds Duration(const Change& change, const std::filesystem::path& folder) {
  const auto start = std::chrono::steady_clock::now();
  change.run(folder);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

TEST(CrashTest, AKilledChangeLeavesTheOldOrTheNewHistory) {
  testing::TempFolder work;
  const std::filesystem::path prepared = work.path() / "prepared";
  std::filesystem::create_directory(prepared);
  Prepare(prepared);

  std::mt19937 random(20261209);
  int trialNumber = 0;
  for (const Change& change : Changes()) {
    const std::filesystem::path timing = work.path() / "timing";
    std::filesystem::create_directory(timing);
    CopyFolder(prepared, timing);
    const auto duration = Duration(change, timing);
    change.check(timing, std::string(change.name) + " uninterrupted");
    std::filesystem::remove_all(timing);

    for (int trial = 0; trial < kTrials; ++trial) {
      const std::filesystem::path folder = work.path() / ("trial" + std::to_string(trialNumber++));
      std::filesystem::create_directory(folder);
      CopyFolder(prepared, folder);
      // Somewhere between the start and a little after the usual end.
      std::uniform_int_distribution<int64_t> moment(0, duration.count() * 11 / 10);
      const auto delay = std::chrono::microseconds(moment(random));
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        change.run(folder);
        ::_exit(0);
      }
      std::this_thread::sleep_for(delay);
      ::kill(child, SIGKILL);
      int status = 0;
      ::waitpid(child, &status, 0);

      const std::string name =
          std::string(change.name) + " killed after " + std::to_string(delay.count()) + " µs";
      {
        auto store = HistoryStore::OpenFolder(folder);
        Statement integrity = store->db().Prepare("PRAGMA integrity_check");
        ASSERT_TRUE(integrity.Step());
        EXPECT_EQ(integrity.Text(0), "ok") << name;
      }
      change.check(folder, name);
      std::filesystem::remove_all(folder);
    }
  }
}

}  // namespace
}  // namespace zs
