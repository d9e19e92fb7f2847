#include "core/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace zs {
namespace {

TEST(ParseWholeTest, OnlyAWholeNumberThatFitsIsANumber) {
  const struct {
    const char* text;
    std::optional<int> number;
  } kCases[] = {
      {"5", 5},
      {" 6\t", 6},
      {"-1", -1},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+3", std::nullopt},
      {"3.5", std::nullopt},
      {"x", std::nullopt},
      {"2x", std::nullopt},
      {"2 3", std::nullopt},
      {"99999999999", std::nullopt},
  };
  for (const auto& c : kCases) EXPECT_EQ(ParseWhole<int>(c.text), c.number) << c.text;
  EXPECT_EQ(ParseWhole<int64_t>("99999999999"), 99999999999);
}

TEST(TrimBlanksTest, OnlySpacesAndTabsAtTheEndsGo) {
  EXPECT_EQ(TrimBlanks(std::string_view(" \t a b\t ")), "a b");
  EXPECT_EQ(TrimBlanks(std::string_view(" \t ")), "");
  EXPECT_EQ(TrimBlanks(std::u32string_view(U"\u3000x ")), U"\u3000x");
}

}  // namespace
}  // namespace zs
