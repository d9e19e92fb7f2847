#include "cli/pattern_arguments.h"

#include <CLI/CLI.hpp>
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

void TakePatternKind(const std::string& type, const std::string& mode, SearchPattern& pattern) {
  pattern.type = ParseSearchType(type);
  pattern.freePositions = ParseFree(mode);
}

// The pattern of a stored draw, as the tab "历史指定期" takes it: the issue
// named by the text, or the nearest stored one before it (InputError when
// there is none).
void TakePatternOf(const CliContext& context, const HistoryWhenNeeded& history,
                   const std::string& text, SearchPattern& pattern) {
  const HistoryIndex& index = *history()->index;
  TakePatternFromDraw(index, ChosenIssueDraw(index, text), context.settings.zodiacBase, pattern);
}

// The --pos arguments: I=V sets and chooses position I; with `patternOf`
// (the values come from a stored draw) I alone chooses it.
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

// --values: eight comma-separated values, one per position.
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

void AddModeAndPatternOf(CLI::App* command, PatternArgs& args) {
  AddTypeOption(command, args.type);
  command->add_option("--mode", args.mode, "fixed or free")->required();
  command->add_option("--pattern-of", args.patternOf,
                      "take the values of this stored issue (or the nearest one before it)");
}

}  // namespace

void AddTypeOption(CLI::App* command, std::string& type) {
  command->add_option("--type", type, "number, zodiac, tens, units, sum, segment or 0..5")
      ->required();
}

void AddPositionPatternOptions(CLI::App* command, PatternArgs& args) {
  AddModeAndPatternOf(command, args);
  command->add_option("--pos", args.positions,
                      "I=V chooses position I (1..8) with value V (repeatable); with "
                      "--pattern-of, I alone chooses a position");
}

void AddPartialPatternOptions(CLI::App* command, PatternArgs& args) {
  AddModeAndPatternOf(command, args);
  command->add_option("--k", args.partSize, "the part size K")->required();
  command->add_option("--values", args.values, "the eight values V1,V2,…,V8")
      ->excludes("--pattern-of");
}

SearchPattern PositionPattern(const CliContext& context, const PatternArgs& args,
                              const HistoryWhenNeeded& history, PositionChoice& chosen) {
  SearchPattern pattern;
  TakePatternKind(args.type, args.mode, pattern);
  if (!args.patternOf.empty()) TakePatternOf(context, history, args.patternOf, pattern);
  TakePositions(args.positions, !args.patternOf.empty(), pattern, chosen);
  return pattern;
}

SearchPattern PartialPattern(const CliContext& context, const PatternArgs& args,
                             const HistoryWhenNeeded& history) {
  SearchPattern pattern;
  TakePatternKind(args.type, args.mode, pattern);
  if (!args.patternOf.empty()) {
    TakePatternOf(context, history, args.patternOf, pattern);
  } else if (!args.values.empty()) {
    TakeEightValues(args.values, pattern);
  } else {
    throw UsageError("a partial search needs --values or --pattern-of");
  }
  return pattern;
}

}  // namespace zs
