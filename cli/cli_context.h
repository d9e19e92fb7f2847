// What every command of zephyrstat-cli shares: the data folder (--dir), the
// output form (--json), the settings, the history store (opened on first
// use) and the printing of grids.
//
// A command reports a failure by throwing zs::StoreError or zs::InputError
// (exit status 1, message on stderr) and a usage error by throwing
// zs::UsageError (exit status 2).
#ifndef ZEPHYRSTAT_CLI_CLI_CONTEXT_H_
#define ZEPHYRSTAT_CLI_CLI_CONTEXT_H_

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/draw.h"
#include "core/grid_source.h"
#include "core/settings.h"
#include "core/text.h"
#include "history/history.h"
#include "store/history_store.h"

namespace zs {

class HistoryIndex;

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CliContext {
 public:
  std::filesystem::path dataFolder;
  bool json = false;
  Settings settings;

  // Opens dataFolder/tessera.mdb on first use, its rows following the
  // settings' bases.
  History& OpenHistory();
  HistoryStore& Store() { return OpenHistory().store(); }
  // The history as stored, read once; the settings' bases become those its
  // rows were derived under, so names shown for the fields match them also
  // while another program changes the bases.
  Snapshot LoadHistory();
  // The same for a command that needs only the draws, not the index.
  PackedHistory LoadDraws();
  // Whether issues are shown and stored with three-digit draw numbers.
  bool ThreeDigit() const;

  // Text: one line per row, cells separated by TAB, heading row first.
  // JSON: {"columns": [...], "rows": [[...], ...]}, every cell a string.
  void PrintGrid(const GridSource& grid) const;
  // Several named grids: in text the grids separated by an empty line; in
  // JSON one object {"name": GRID, ...}.
  void PrintGrids(const std::vector<std::pair<std::string, const GridSource*>>& grids) const;
  // Named values: in text "name<TAB>value" lines; in JSON an object of strings.
  void PrintValues(const std::vector<std::pair<std::string, std::string>>& values) const;

 private:
  std::unique_ptr<History> history_;
};

// A whole decimal number that fits Whole (blanks around it disregarded);
// anything else is a usage error naming `what`, so a mistyped argument never
// reaches the engine.
template <typename Whole>
Whole WholeArgument(const std::string& text, const std::string& what) {
  if (const std::optional<Whole> value = ParseWhole<Whole>(text)) return *value;
  throw UsageError(what + " must be a whole number, not \"" + text + "\"");
}

// --type: number, zodiac, tens, units, sum, segment or 0..5; anything else
// is a usage error.
SearchType ParseSearchType(const std::string& text);

// The range boxes --from and --to: as given, else the first and the newest
// stored issue ("0" on an empty history).
void FillRangeBoxes(const CliContext& context, const HistoryIndex& index, const std::string& from,
                    const std::string& to, std::string& startBox, std::string& endBox);
// The same over the ascending issues of the stored draws.
void FillRangeBoxes(const CliContext& context, const std::vector<int32_t>& issues,
                    const std::string& from, const std::string& to, std::string& startBox,
                    std::string& endBox);

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_CLI_CONTEXT_H_
