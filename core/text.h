// Small text helpers every layer needs: blanks trimmed from both ends, a
// whole decimal number read from a text, a number written with at least two
// digits and a figure written with two decimals. Header-only, no state.
#ifndef ZEPHYRSTAT_CORE_TEXT_H_
#define ZEPHYRSTAT_CORE_TEXT_H_

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace zs {

// The text without the spaces and tabs around it; works on UTF-8 bytes and on
// decoded (UTF-32) text alike.
template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  const auto blank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}
inline std::string_view TrimBlanks(std::string_view text) { return TrimBlanks<char>(text); }
inline std::u32string_view TrimBlanks(std::u32string_view text) {
  return TrimBlanks<char32_t>(text);
}

// A whole decimal number that fits Whole, with blanks around it disregarded;
// "+3", "3.5", "3x" and "" give nullopt.
template <typename Whole>
std::optional<Whole> ParseWhole(std::string_view text) {
  text = TrimBlanks(text);
  Whole value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// A whole number with at least two digits (the "00" number format): 7 gives
// "07", -5 "-05".
inline std::string TwoDigits(int value) {
  std::string digits = std::to_string(std::abs(static_cast<long>(value)));
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

// `value` rounded to two decimals ("2.50"), the way averages and chances show.
inline std::string TwoDecimals(double value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_TEXT_H_
