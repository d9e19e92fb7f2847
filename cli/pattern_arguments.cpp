#include "cli/pattern_arguments.h"

#include <optional>

#include "analysis/draw_pattern.h"
#include "analysis/history_index.h"
#include "cli/cli_context.h"
#include "core/errors.h"
#include "core/issue_number.h"

namespace zs {

namespace {

bool ParseFree(const std::string& mode) {
  if (mode == "free") return true;
  if (mode == "fixed") return false;
  throw UsageError("--mode must be fixed or free, not \"" + mode + "\"");
}

// One value box of the pattern, as the window holds it: the text, which labels
// the result, and its value.
void FillValueBox(SearchPattern& pattern, int position, const std::string& text,
                  const std::string& what) {
  pattern.values[position] = WholeArgument<int>(text, what);
  pattern.boxTexts[position] = text;
}

}  // namespace

void TakePatternKind(const std::string& type, const std::string& mode, SearchPattern& pattern) {
  pattern.type = ParseSearchType(type);
  pattern.freePositions = ParseFree(mode);
}

void TakePatternOf(const CliContext& context, const HistoryIndex& index, const std::string& text,
                   SearchPattern& pattern) {
  TakePatternFromDraw(index, ChosenIssueDraw(index, text), context.settings.zodiacBase, pattern);
}

void TakePositions(const std::vector<std::string>& positions, bool patternOf,
                   SearchPattern& pattern, PositionChoice& chosen) {
  for (const std::string& pos : positions) {
    const size_t equals = pos.find('=');
    const int position = WholeArgument<int>(pos.substr(0, equals), "--pos position") - 1;
    if (position < 0 || position >= kPositions) {
      throw UsageError("--pos position must be 1..8, not \"" + pos + "\"");
    }
    if (patternOf == (equals != std::string::npos)) {
      throw UsageError(!patternOf
                           ? "--pos needs I=V without --pattern-of, not \"" + pos + "\""
                           : "--pos takes only a position with --pattern-of, not \"" + pos + "\"");
    }
    if (equals != std::string::npos) {
      FillValueBox(pattern, position, pos.substr(equals + 1), "--pos value");
    }
    chosen[position] = true;
  }
}

void TakeEightValues(const std::string& values, SearchPattern& pattern) {
  std::vector<std::string> texts;
  size_t begin = 0;
  for (size_t comma; (comma = values.find(',', begin)) != std::string::npos; begin = comma + 1) {
    texts.push_back(values.substr(begin, comma - begin));
  }
  texts.push_back(values.substr(begin));
  if (texts.size() != kPositions) {
    throw UsageError("--values needs eight comma-separated values, not \"" + values + "\"");
  }
  for (int p = 0; p < kPositions; ++p) FillValueBox(pattern, p, texts[p], "--values value");
}

}  // namespace zs
