// Reading a search pattern from the command line as the window's boxes
// would hold it, shared by the searches and the watches: --type and
// --mode, --pos I=V (or I alone with --pattern-of), --values V1,…,V8 and
// --pattern-of ISSUE. A mistyped argument is a UsageError.
#ifndef ZEPHYRSTAT_CLI_PATTERN_ARGUMENTS_H_
#define ZEPHYRSTAT_CLI_PATTERN_ARGUMENTS_H_

#include <functional>
#include <string>
#include <vector>

#include "analysis/search_pattern.h"
#include "history/history.h"

namespace CLI {
class App;
}

namespace zs {

class CliContext;

// The pattern's arguments, filled by CLI11 and read by the callbacks.
struct PatternArgs {
  std::string type;
  std::string mode;
  std::vector<std::string> positions;
  std::string patternOf;
  std::string values;
  std::string partSize;
};

// --type alone (required), which every analysis and watch takes.
void AddTypeOption(CLI::App* command, std::string& type);
// A position search's pattern: --type, --mode, --pos and --pattern-of.
void AddPositionPatternOptions(CLI::App* command, PatternArgs& args);
// A partial search's pattern: --type, --mode, --k and --values or --pattern-of.
void AddPartialPatternOptions(CLI::App* command, PatternArgs& args);

// The stored history, asked for only when --pattern-of names a draw, so a
// pattern typed in full reads nothing.
using HistoryWhenNeeded = std::function<Snapshot()>;

// The pattern of a position search and the positions it chooses.
SearchPattern PositionPattern(const CliContext& context, const PatternArgs& args,
                              const HistoryWhenNeeded& history, PositionChoice& chosen);
// The pattern of a partial search; its part size --k is the caller's.
SearchPattern PartialPattern(const CliContext& context, const PatternArgs& args,
                             const HistoryWhenNeeded& history);

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_PATTERN_ARGUMENTS_H_
