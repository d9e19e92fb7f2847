#include "core/history_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"

namespace zs {
namespace {

std::u32string U32(std::string_view utf8) { return DecodeText(utf8); }

constexpr Numbers kOneToEight = {1, 2, 3, 4, 5, 6, 7, 8};

struct LineCase {
  std::string line;  // UTF-8 here; parsed as characters
  LineLayout layout;
  std::optional<int32_t> issue;
  std::vector<int> numbers;
};

TEST(ParseLineTest, HistoryFileLines) {
  const LineLayout h = LineLayout::kHistoryFile;
  for (const LineCase& c : std::vector<LineCase>{
           {"14011601  03 07 15 08 19 20 11 14", h, 14011601, {3, 7, 15, 8, 19, 20, 11, 14}},
           {"140116001 03 07 15 08 19 20 11 14", h, 140116001, {3, 7, 15, 8, 19, 20, 11, 14}},
           // One blank after an eight-digit issue: numbers start inside "03".
           {"14011601 03 07 15 08 19 20 11 14", h, 14011601, {7, 15, 8, 19, 20, 11, 14}},
           // The text export's shown form.
           {"2014011601 03 07 15 08 19 20 11 14", h, 14011601, {3, 7, 15, 8, 19, 20, 11, 14}},
           {"20140116001 03 07 15 08 19 20 11 14", h, 140116001, {3, 7, 15, 8, 19, 20, 11, 14}},
           {"2009123101 01 02 03 04 05 06 07 08", h, 9123101, {1, 2, 3, 4, 5, 6, 7, 8}},
           // A shown issue with nothing after it is read by the nine-character field.
           {"2014011601", h, 201401160, {}},
           {"09 10 11 12 13 14 15 16", h, std::nullopt, {9, 10, 11, 12, 13, 14, 15, 16}},
           {"01 02 03 04 05 06 07 08 09 10", h, std::nullopt, {1, 2, 3, 4, 5, 6, 7, 8}},
           {"123", h, std::nullopt, {12}},
           {"12345", h, std::nullopt, {12, 34}},
           {"1 2 3 4 5 6 7 8", h, std::nullopt, {}},
           {"05,10;15/20", h, std::nullopt, {5, 10, 15, 20}},
           {"期号 号码", h, std::nullopt, {}},
           {"", h, std::nullopt, {}},
           // Characters, not bytes: the ideograph is one position.
           {"140116001期03 07 15 08 19 20 11 14", h, 140116001, {3, 7, 15, 8, 19, 20, 11, 14}},
           {"14011601\t\t03 07 15 08 19 20 11 14", h, 14011601, {3, 7, 15, 8, 19, 20, 11, 14}},
           // Character 6 must be a digit, and the field must be only digits.
           {"14011 01 02 03 04 05 06 07 08", h, std::nullopt, {14, 1, 1, 2, 3, 4, 5, 6}},
           {"1401160a  01 02 03 04 05 06 07 08", h, std::nullopt, {14, 1, 16, 1, 2, 3, 4, 5}},
           {"第14011601期 01 02", h, std::nullopt, {14, 1, 16, 1, 1, 2}},
       }) {
    const ParsedLine parsed = ParseLine(U32(c.line), c.layout);
    EXPECT_EQ(parsed.issue, c.issue) << c.line;
    EXPECT_EQ(parsed.numbers, c.numbers) << c.line;
  }
}

TEST(ParseLineTest, BackupFileLines) {
  const LineLayout b = LineLayout::kBackupFile;
  for (const LineCase& c : std::vector<LineCase>{
           {"14011601 03 07 15 08 19 20 11 14", b, 14011601, {3, 7, 15, 8, 19, 20, 11, 14}},
           {"09123101 01 02 03 04 05 06 07 08", b, 9123101, {1, 2, 3, 4, 5, 6, 7, 8}},
           {"130512084 01 02 03 04 05 06 07 08 09", b, 130512084, {1, 2, 3, 4, 5, 6, 7, 8}},
           {"14011601", b, 14011601, {}},
           {"03 07 15 08 19 20 11 14", b, std::nullopt, {3, 7, 15, 8, 19, 20, 11, 14}},
           {"1401x601 03 07", b, std::nullopt, {14, 1, 60, 3, 7}},
           {"14011 01 02", b, std::nullopt, {14, 1, 1, 2}},
           // Too long for any stored issue: an issue no draw is stored under.
           {"123456789012 01 02 03 04 05 06 07 08", b, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
       }) {
    const ParsedLine parsed = ParseLine(U32(c.line), c.layout);
    EXPECT_EQ(parsed.issue, c.issue) << c.line;
    EXPECT_EQ(parsed.numbers, c.numbers) << c.line;
  }
}

struct ReadCase {
  std::string name;
  std::string text;
  std::vector<Draw> draws;
  int64_t inheritedCount = 0;
  int64_t skipped = 0;
  int32_t runningIssue = 0;
  Numbers inherited{};
};

// Reading the decoded text and reading its bytes line by line agree.
void ExpectReadout(const ReadCase& c, LineLayout layout) {
  for (const bool fromBytes : {false, true}) {
    const DrawReadout readout =
        fromBytes ? ReadDrawsFromBytes(c.text, layout, c.runningIssue, c.inherited, 1000)
                  : ReadDraws(U32(c.text), layout, c.runningIssue, c.inherited);
    EXPECT_EQ(readout.draws, c.draws) << c.name << (fromBytes ? " (bytes)" : "");
    EXPECT_EQ(readout.inherited, c.inheritedCount) << c.name;
    EXPECT_EQ(readout.skipped, c.skipped) << c.name;
  }
}

TEST(ReadDrawsTest, HistoryFile) {
  for (const ReadCase& c : std::vector<ReadCase>{
           {"second line continues the numbering",
            "14011601  01 02 03 04 05 06 07 08\r\n09 10 11 12 13 14 15 16\r\n",
            {{14011601, kOneToEight}, {14011602, {9, 10, 11, 12, 13, 14, 15, 16}}}},
           {"one blank after the issue: last position inherited",
            "14011601  01 02 03 04 05 06 07 08\n14011602 03 07 15 08 19 20 11 14\n",
            {{14011601, kOneToEight}, {14011602, {7, 15, 8, 19, 20, 11, 14, 8}}},
            1},
           {"first short line inherits from the given numbers",
            "14011601 03 07 15 08 19 20 11 14",
            {{14011601, {7, 15, 8, 19, 20, 11, 14, 18}}},
            1,
            0,
            0,
            {11, 12, 13, 14, 15, 16, 17, 18}},
           {"first short line with nothing to inherit is refused",
            "14011601 03 07 15 08 19 20 11 14\n14011602  01 02 03 04 05 06 07 08",
            {{14011602, kOneToEight}},
            0,
            1},
           {"digits 123 give 12, the rest inherited",
            "14011601  01 02 03 04 05 06 07 08\n123\n",
            {{14011601, kOneToEight}, {14011602, {12, 2, 3, 4, 5, 6, 7, 8}}},
            1},
           {"blanks around lines and tabs",
            "   14011601  01 02 03 04 05 06 07 08   \r\n\t09 10 11 12 13 14 15 16\t\r\n",
            {{14011601, kOneToEight}, {14011602, {9, 10, 11, 12, 13, 14, 15, 16}}}},
           {"lines without issue count on from the running issue",
            "01 02 03 04 05 06 07 08\n09 10 11 12 13 14 15 16",
            {{14011684, kOneToEight}, {14011685, {9, 10, 11, 12, 13, 14, 15, 16}}},
            0,
            0,
            14011683},
           {"no running issue: issue-less lines wait for one",
            "01 02 03 04 05 06 07 08\n14011601  01 02 03 04 05 06 07 08\n"
            "09 10 11 12 13 14 15 16",
            {{14011601, kOneToEight}, {14011602, {9, 10, 11, 12, 13, 14, 15, 16}}},
            0,
            1},
           {"lines without numbers consume no issue; empty lines are not counted",
            "期号 号码\n14011601  01 02 03 04 05 06 07 08\n\n   \nno draw today\n"
            "09 10 11 12 13 14 15 16\n",
            {{14011601, kOneToEight}, {14011602, {9, 10, 11, 12, 13, 14, 15, 16}}},
            0,
            2},
           {"numbers outside 1..20 are refused, the next short line inherits from the kept draw",
            "14011601  01 02 03 04 05 06 07 08\n14011602  21 02 03 04 05 06 07 08\n"
            "14011603  00 02 03 04 05 06 07 08\n14011604  11 12\n",
            {{14011601, kOneToEight}, {14011604, {11, 12, 3, 4, 5, 6, 7, 8}}},
            1,
            2},
           {"repeated issue: first kept, numbering goes on from the repeat",
            "14011601  01 02 03 04 05 06 07 08\n14011602  09 10 11 12 13 14 15 16\n"
            "14011601  08 07 06 05 04 03 02 01\n11 12 13 14 15 16 17 18\n",
            {{14011601, kOneToEight}, {14011602, {9, 10, 11, 12, 13, 14, 15, 16}}},
            0,
            2},
           {"a repeat of a refused draw is kept",
            "14011601  01 02 03 04 05 06 07 99\n14011601  01 02 03 04 05 06 07 08\n",
            {{14011601, kOneToEight}},
            0,
            1},
           {"issue 0 is refused and gives no numbering to the lines after it",
            "000000000 01 02 03 04 05 06 07 08\n09 10 11 12 13 14 15 16\n"
            "14011601  01 02 03 04 05 06 07 08\n",
            {{14011601, kOneToEight}},
            0,
            2},
           {"text export lines",
            "2014011684 01 02 03 04 05 06 07 08 \r\n2014011701 09 10 11 12 13 14 15 16 \r\n",
            {{14011684, kOneToEight}, {14011701, {9, 10, 11, 12, 13, 14, 15, 16}}}},
           {"more than eight numbers: the rest is dropped",
            "14011601  01 02 03 04 05 06 07 08 09 10",
            {{14011601, kOneToEight}}},
           {"the file need not be sorted",
            "14011602  09 10 11 12 13 14 15 16\n14011601  01 02 03 04 05 06 07 08",
            {{14011602, {9, 10, 11, 12, 13, 14, 15, 16}}, {14011601, kOneToEight}}},
           {"empty text", "", {}, 0, 0, 14011601},
           {"a shown issue of a year outside 2000..2099 is refused",
            "2114011601 01 02 03 04 05 06 07 08\n1914011602 01 02 03 04 05 06 07 08\n"
            "2014011603 01 02 03 04 05 06 07 08\n",
            {{14011603, kOneToEight}},
            0,
            2},
           {"characters past the 1024th of a line are not read",
            "\xEF\xBB\xBF"
            "14011601  01 02 03 04 05 06 07" +
                std::string(1024, ' ') + "08\n" + "14011602  01 02 03 04 05 06 07 08\n",
            {{14011602, kOneToEight}},
            0,
            1},
       }) {
    ExpectReadout(c, LineLayout::kHistoryFile);
  }
}

TEST(ReadDrawsTest, BackupFile) {
  ExpectReadout({"backup lines as written",
                 "09123184 01 02 03 04 05 06 07 08 \r\n10010101 09 10 11 12 13 14 15 16 \r\n"
                 "10010102 11 12 \r\n",
                 {{9123184, kOneToEight},
                  {10010101, {9, 10, 11, 12, 13, 14, 15, 16}},
                  {10010102, {11, 12, 11, 12, 13, 14, 15, 16}}},
                 1},
                LineLayout::kBackupFile);
  ExpectReadout({"a line without issue field continues the numbering",
                 "130512083 01 02 03 04 05 06 07 08\n09 10 11 12 13 14 15 16\n",
                 {{130512083, kOneToEight}, {130512084, {9, 10, 11, 12, 13, 14, 15, 16}}}},
                LineLayout::kBackupFile);
}

TEST(ReadDrawsFromBytesTest, GbTextAndTheDrawLimit) {
  const std::string gbLines =
      "14011601 \xB5\xDA 01 02 03 04 05 06 07 08\n"
      "14011602 \xB5\xDA 01 02 03 04 05 06 07 08\n";
  EXPECT_EQ(ReadDrawsFromBytes(gbLines, LineLayout::kBackupFile, 0, Numbers{}, 2).draws,
            (std::vector<Draw>{{14011601, kOneToEight}, {14011602, kOneToEight}}));
  EXPECT_THROW(ReadDrawsFromBytes(gbLines, LineLayout::kBackupFile, 0, Numbers{}, 1), InputError);
}

TEST(DecodeTextTest, Utf8WithAndWithoutByteOrderMark) {
  EXPECT_EQ(DecodeText("14011601  01"), U"14011601  01");
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF期号 01"), U"期号 01");
  EXPECT_EQ(DecodeText(""), U"");
  EXPECT_EQ(DecodeText("\xF0\x9F\x98\x80"), U"\U0001F600");
}

TEST(DecodeTextTest, InvalidUtf8IsReadAsGb18030) {
  // "期号 号码" in GB18030, then a draw line.
  const std::string bytes =
      "\xC6\xDA\xBA\xC5 \xBA\xC5\xC2\xEB\r\n14011601  01 02 03 04 05 06 07 08\r\n";
  const std::u32string text = DecodeText(bytes);
  EXPECT_EQ(text, U"期号 号码\r\n14011601  01 02 03 04 05 06 07 08\r\n");
  const DrawReadout readout = ReadDraws(text, LineLayout::kHistoryFile, 0, Numbers{});
  EXPECT_EQ(readout.draws, (std::vector<Draw>{{14011601, kOneToEight}}));
  EXPECT_EQ(readout.skipped, 1);
}

TEST(DecodeTextTest, GbIdeographCountsAsOneCharacter) {
  // "140116001期03 …": numbers start at character 11, right after the ideograph.
  const ParsedLine parsed = ParseLine(DecodeText("140116001\xC6\xDA"
                                                 "03 07 15 08 19 20 11 14"),
                                      LineLayout::kHistoryFile);
  EXPECT_EQ(parsed.issue, 140116001);
  EXPECT_EQ(parsed.numbers, (std::vector<int>{3, 7, 15, 8, 19, 20, 11, 14}));
}

TEST(DecodeTextTest, NeitherEncodingKeepsPositions) {
  // Overlong and surrogate forms are not UTF-8; 0xFF starts no GB18030
  // character and becomes one replacement character.
  EXPECT_NE(DecodeText("\xC0\xAF"), U"/");
  EXPECT_NE(DecodeText("\xED\xA0\x80"), std::u32string(1, char32_t(0xD800)));
  EXPECT_EQ(DecodeText("a\xFF"
                       "b"),
            U"a\uFFFDb");
}

TEST(EncodeUtf8Test, RoundTrip) {
  for (std::string_view text : {"", "14011601 01 ", "更新至14011601期历史号码.txt", "\U0001F600"}) {
    EXPECT_EQ(EncodeUtf8(DecodeText(text)), text);
  }
  EXPECT_EQ(EncodeUtf8(std::u32string(1, char32_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zs
