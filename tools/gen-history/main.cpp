// gen-history: writes a seeded, realistic history text file in the import
// layout, for the sample history, the tests and the benchmarks.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "core/edition.h"
#include "tools/history_generator.h"

namespace {

std::optional<zs::Date> ParseDate(const std::string& text) {
  zs::Date date;
  char dash1 = 0;
  char dash2 = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%4d%c%2d%c%2d%c", &date.year, &dash1, &date.month, &dash2,
                  &date.day, &rest) != 5 ||
      dash1 != '-' || dash2 != '-' || !zs::IsValidDate(date)) {
    return std::nullopt;
  }
  return date;
}

// Draws per day and issue form of an edition code; "none" is the three-digit
// form of a store with no edition chosen.
std::optional<zs::IssueRule> RuleOfEdition(const std::string& code) {
  if (code == "none") return zs::IssueRule{zs::DrawsPerDay(zs::EditionChoice()), true};
  for (const zs::Edition& edition : zs::Editions()) {
    if (edition.code == code) return zs::IssueRule{edition.drawsPerDay, false};
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes a seeded history text file in the import layout."};
  std::string edition = "gd";
  std::string from;
  std::string to;
  std::optional<int> drawsPerDay;
  bool threeDigit = false;
  uint64_t seed = 1;
  double missingRate = zs::GeneratorOptions{}.missingRate;
  std::optional<int64_t> count;
  std::string output;
  bool noBreak = false;

  app.add_option("--edition", edition, "edition code (gd tj hn cq shx sx yn hlj, or none)");
  auto* fromOption = app.add_option("--from", from, "first day, YYYY-MM-DD");
  app.add_option("--to", to, "last day, YYYY-MM-DD")->required();
  app.add_option("--draws-per-day", drawsPerDay, "draws per day (default: the edition's)")
      ->check(CLI::Range(1, 999));
  app.add_flag("--three-digit", threeDigit, "three-digit daily sequence numbers");
  app.add_option("--seed", seed, "seed of the generator");
  app.add_option("--missing-rate", missingRate, "share of issues left out at random")
      ->check(CLI::Range(0.0, 0.9));
  app.add_option("--count", count, "the last N draws up to --to, instead of --from")
      ->check(CLI::PositiveNumber)
      ->excludes(fromOption);
  app.add_flag("--no-break", noBreak, "no break around the Spring Festival");
  app.add_option("--output", output, "file to write (default: standard output)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : 2;
  }

  std::optional<zs::IssueRule> rule = RuleOfEdition(edition);
  if (!rule) {
    std::cerr << "unknown edition: " << edition << "\n";
    return 2;
  }
  if (drawsPerDay) rule->drawsPerDay = *drawsPerDay;
  if (threeDigit) rule->threeDigit = true;
  if (!rule->threeDigit && rule->drawsPerDay > 99) {
    std::cerr << "more than 99 draws a day need --three-digit\n";
    return 2;
  }

  const std::optional<zs::Date> last = ParseDate(to);
  if (!last) {
    std::cerr << "--to is not a date YYYY-MM-DD: " << to << "\n";
    return 2;
  }
  zs::GeneratorOptions options;
  if (count) {
    // Room for the issues that a missing rate above the default leaves out.
    const auto room = static_cast<int64_t>(static_cast<double>(*count) / (1.0 - missingRate)) + 1;
    options = zs::OptionsForDrawCount(room, *last, rule->drawsPerDay, seed);
  } else {
    const std::optional<zs::Date> first = ParseDate(from);
    if (!first || *last < *first) {
      std::cerr << "--from must be a date YYYY-MM-DD not after --to (or give --count)\n";
      return 2;
    }
    options.first = *first;
    options.last = *last;
    options.drawsPerDay = rule->drawsPerDay;
    options.seed = seed;
  }
  options.threeDigit = rule->threeDigit;
  options.missingRate = missingRate;
  options.springFestivalBreak = !noBreak;

  std::vector<zs::Draw> draws = zs::GenerateHistory(options);
  if (count && static_cast<int64_t>(draws.size()) > *count) {
    draws.erase(draws.begin(), draws.end() - *count);
  }
  const std::string text = zs::HistoryFileText(draws, options.threeDigit);

  if (output.empty()) {
    std::cout << text;
    return std::cout ? 0 : 1;
  }
  std::ofstream out(output, std::ios::binary);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
