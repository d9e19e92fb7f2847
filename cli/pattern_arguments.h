// Reading a search pattern from the command line as the window's boxes
// would hold it, shared by the searches and the watches: --type and
// --mode, --pos I=V (or I alone with --pattern-of), --values V1,…,V8 and
// --pattern-of ISSUE. A mistyped argument is a UsageError.
#ifndef ZEPHYRSTAT_CLI_PATTERN_ARGUMENTS_H_
#define ZEPHYRSTAT_CLI_PATTERN_ARGUMENTS_H_

#include <string>
#include <vector>

#include "analysis/search_pattern.h"

namespace zs {

class CliContext;
class HistoryIndex;

// The pattern's type (--type) and mode (--mode fixed|free).
void TakePatternKind(const std::string& type, const std::string& mode, SearchPattern& pattern);

// The pattern of a stored draw, as the tab "历史指定期" takes it: the issue
// named by the text, or the nearest stored one before it (InputError when
// there is none).
void TakePatternOf(const CliContext& context, const HistoryIndex& index, const std::string& text,
                   SearchPattern& pattern);

// The --pos arguments: I=V sets and chooses position I; with `patternOf`
// (the values come from a stored draw) I alone chooses it.
void TakePositions(const std::vector<std::string>& positions, bool patternOf,
                   SearchPattern& pattern, PositionChoice& chosen);

// --values: eight comma-separated values, one per position.
void TakeEightValues(const std::string& values, SearchPattern& pattern);

}  // namespace zs

#endif  // ZEPHYRSTAT_CLI_PATTERN_ARGUMENTS_H_
