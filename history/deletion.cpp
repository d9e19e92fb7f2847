#include "history/deletion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"
#include "core/history_text.h"
#include "core/issue_number.h"
#include "store/database.h"
#include "store/draw_pack.h"

namespace zs {

namespace {

constexpr int kNumberType = static_cast<int>(SearchType::kNumber);

Draw DrawAt(const PackedHistory& packed, size_t draw) {
  Draw result{packed.issues[draw], {}};
  for (int position = 0; position < kPositions; ++position) {
    result.numbers[position] = packed.Field(draw, kNumberType, position);
  }
  return result;
}

// Room for a line's issue and eight numbers of any value.
constexpr size_t kMaxLineChars = 12 * (kPositions + 1) + 2;

// Writes the numbers of a backup line from `out` on; returns the end.
char* WriteNumbers(const Numbers& numbers, char* out) {
  for (int number : numbers) {
    // Stored numbers are 1..20; the general form is kept for a foreign file.
    if (number >= 0 && number < 100) {
      *out++ = static_cast<char>('0' + number / 10);
      *out++ = static_cast<char>('0' + number % 10);
    } else {
      out = std::to_chars(out, out + 12, number).ptr;
    }
    *out++ = ' ';
  }
  return out;
}

void AppendBackupLine(const Draw& draw, bool threeDigit, std::string& out) {
  out += StoredDigits(draw.issue, threeDigit);
  out += ' ';
  char numbers[kMaxLineChars];
  out.append(numbers, WriteNumbers(draw.numbers, numbers));
}

// The content of lsbf.txt for the first `count` draws: a backup line each,
// ended by CR LF. Issues that differ only in their last two digits (neither
// 00) take the same width, so StoredDigits() is asked once a day.
std::string BackupText(const PackedHistory& packed, size_t count, bool threeDigit) {
  std::string text;
  text.reserve(count * 36);
  int32_t day = -1;
  size_t width = 0;
  char line[kMaxLineChars];
  for (size_t i = 0; i < count; ++i) {
    const Draw draw = DrawAt(packed, i);
    const bool sameDay = draw.issue > 0 && draw.issue % 100 != 0 && draw.issue / 100 == day;
    char* end = line;
    if (sameDay) {
      char digits[12];
      const auto length = static_cast<size_t>(
          std::to_chars(digits, digits + sizeof digits, draw.issue).ptr - digits);
      for (size_t zeros = length; zeros < width; ++zeros) *end++ = '0';
      end = std::copy_n(digits, length, end);
    } else {
      const std::string digits = StoredDigits(draw.issue, threeDigit);
      text += digits;
      width = digits.size();
      day = draw.issue > 0 && draw.issue % 100 != 0 ? draw.issue / 100 : -1;
    }
    *end++ = ' ';
    end = WriteNumbers(draw.numbers, end);
    *end++ = '\r';
    *end++ = '\n';
    text.append(line, end);
  }
  return text;
}

// The rebuild's own path from a backup text to the table.
void ReplaceWithBackup(HistoryStore& store, std::string_view backup, const DerivationRules& rules) {
  const DrawReadout readout = ReadDraws(DecodeText(backup), LineLayout::kBackupFile, 0, Numbers{});
  store.ReplaceAllDraws(readout.draws, rules);
}

// Zodiac years of stored issues, found once a day: issues that differ only
// in their last two digits (neither 00) read as the same date under either
// issue form, so they share the year.
class ZodiacYears {
 public:
  explicit ZodiacYears(bool threeDigit) : threeDigit_(threeDigit) {}
  // Precondition: issue > 0.
  int Of(int32_t issue) {
    if (issue % 100 == 0 || issue / 100 != day_) {
      year_ = ZodiacYear(issue, threeDigit_);
      day_ = issue % 100 == 0 ? -1 : issue / 100;
    }
    return year_;
  }

 private:
  bool threeDigit_;
  int32_t day_ = -1;
  int year_ = 0;
};

// Whether the rows holding the first `keep` draws are what the rebuild from
// their backup lines stores, so that deleting the others is enough. The
// backup reader skips a repeated issue, an issue not above 0 and a number
// outside 1..20, and the rebuild derives every field and QQH under `rules`.
// The fields are compared with the compact copy; QQH, which it does not
// hold, is taken as written under the issue rule the store recorded with the
// rows (NextIssueRule), so an edition changed since they were stored makes
// them derived anew. idx is 1..N as every change leaves it, and the texts are
// made from the fields, so neither is read.
bool KeptRowsAsRebuilt(HistoryStore& store, const PackedHistory& packed, size_t keep,
                       const DerivationRules& rules) {
  const std::optional<IssueRule> written = store.NextIssueRule();
  if (!written || written->drawsPerDay != rules.issueRule.drawsPerDay ||
      written->threeDigit != rules.issueRule.threeDigit) {
    return false;
  }
  ZodiacYears zodiacYears(rules.issueRule.threeDigit);
  std::array<Numbers, kSearchTypeCount> fields{};
  for (size_t i = 0; i < keep; ++i) {
    const Draw draw = DrawAt(packed, i);
    if (draw.issue <= 0 || (i > 0 && draw.issue <= packed.issues[i - 1])) return false;
    if (std::any_of(draw.numbers.begin(), draw.numbers.end(),
                    [](int n) { return n < kMinNumber || n > kMaxNumber; })) {
      return false;
    }
    DeriveFields(draw.numbers, rules, zodiacYears.Of(draw.issue), fields);
    for (int type = 0; type < kSearchTypeCount; ++type) {
      for (int position = 0; position < kPositions; ++position) {
        if (packed.Field(i, type, position) != fields[type][position]) return false;
      }
    }
  }
  return true;
}

// Compacts after a committed delete when the file has grown sparse; a
// failure only warns, since the deletion itself stands.
void CompactAfter(HistoryStore& store, DeleteOutcome& outcome) {
  if (outcome.deleted == 0) return;
  try {
    store.CompactWhenSparse();
  } catch (const StoreError& error) {
    outcome.compactionWarning = std::string("历史号码已删除并完整保存，但数据库文件暂未压缩（") +
                                error.what() + "）；下次压缩成功时一并完成";
  }
}

// Keeps the first draws (in issue order), as many as `keepCount` chooses, all
// under the writer lock, so a draw another program stores meanwhile is
// neither lost nor kept by mistake. lsbf.txt is replaced after the commit.
template <typename KeepCount>
DeleteOutcome KeepFirst(HistoryStore& store, const std::filesystem::path& folder,
                        const DerivationRules& rules, KeepCount keepCount) {
  const HistoryStore::WriterLock writer(store.writer());
  const PackedHistory packed = store.LoadPacked();
  DeleteOutcome outcome;
  const size_t keep = keepCount(packed.issues, outcome);
  if (keep == packed.DrawCount()) return outcome;
  const std::string backup = BackupText(packed, keep, rules.issueRule.threeDigit);
  {
    // The recorded rule the check reads belongs to the rows the delete keeps.
    HistoryStore::Change change(store);
    if (KeptRowsAsRebuilt(store, packed, keep, rules)) {
      outcome.deleted = store.DeleteNewest(static_cast<int64_t>(packed.DrawCount() - keep));
    } else {
      ReplaceWithBackup(store, backup, rules);
      outcome.deleted = static_cast<int64_t>(packed.DrawCount()) - store.Count();
    }
    change.Commit();
  }
  // lsbf.txt is only written by a delete under the writer lock, held here:
  // a temporary beside it is a killed run's.
  const std::filesystem::path backupFile = folder / kBackupFileName;
  RemoveLeftoverTemporaries(backupFile);
  try {
    WriteFileWhole(backupFile, backup);
  } catch (const StoreError& error) {
    outcome.backupWarning = std::string("历史号码已删除，但备份文件未更新（") + error.what() + "）";
  }
  CompactAfter(store, outcome);
  return outcome;
}

}  // namespace

std::string BackupLine(const Draw& draw, bool threeDigit) {
  std::string line;
  AppendBackupLine(draw, threeDigit, line);
  return line;
}

DeleteOutcome DeleteLastDraw(HistoryStore& store) {
  const HistoryStore::WriterLock writer(store.writer());
  DeleteOutcome outcome;
  outcome.deleted = store.DeleteLast() ? 1 : 0;
  CompactAfter(store, outcome);
  return outcome;
}

DeleteOutcome DeleteLastDraws(HistoryStore& store, int64_t count,
                              const std::filesystem::path& folder, const DerivationRules& rules) {
  if (count <= 0) return {};
  return KeepFirst(store, folder, rules,
                   [count](const std::vector<int32_t>& issues, DeleteOutcome&) {
                     return count >= static_cast<int64_t>(issues.size())
                                ? 0
                                : issues.size() - static_cast<size_t>(count);
                   });
}

DeleteOutcome DeleteDrawsAfter(HistoryStore& store, int32_t lastKept,
                               const std::filesystem::path& folder, const DerivationRules& rules) {
  if (lastKept <= 0) {
    DeleteOutcome nothing;
    nothing.lastKeptStored = false;
    return nothing;
  }
  return KeepFirst(
      store, folder, rules, [lastKept](const std::vector<int32_t>& issues, DeleteOutcome& outcome) {
        // Issues come in order: every draw up to the first one
        // above `lastKept` stays.
        outcome.lastKeptStored = std::binary_search(issues.begin(), issues.end(), lastKept);
        return static_cast<size_t>(std::upper_bound(issues.begin(), issues.end(), lastKept) -
                                   issues.begin());
      });
}

void RebuildFromBackup(HistoryStore& store, const std::filesystem::path& folder,
                       const DerivationRules& rules) {
  ReplaceWithBackup(store, ReadFileWhole(folder / kBackupFileName), rules);
}

}  // namespace zs
