// Line breaking, prefixes and tabs, with a made-up font where every
// character is 10 pixels wide except 'i' (4) and the average width is 5, so
// tab stops are every 40 pixels.
#include "raster/text_layout.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"

namespace quorvel::raster {
namespace {

namespace dt = platform::dt;

TextMeasure FakeMeasure() {
  TextMeasure m;
  m.advance = [](char32_t c) { return c == U'i' ? 4 : 10; };
  m.aveCharWidth = 5;
  return m;
}

std::vector<std::string> LineTexts(const std::vector<TextLine>& lines) {
  std::vector<std::string> out;
  for (const TextLine& line : lines) {
    std::string s;
    for (const LaidChar& c : line.chars) s += static_cast<char>(c.code);
    out.push_back(s);
  }
  return out;
}

struct LayoutCase {
  const char* name;
  const char* text;
  unsigned format;
  int width;
  std::vector<std::string> lines;
  std::vector<int> widths;
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, BreaksIntoTheseLines) {
  const LayoutCase& c = GetParam();
  std::u32string text;
  for (const char* p = c.text; *p; ++p) text.push_back(static_cast<unsigned char>(*p));
  const auto lines = LayOutText(text, c.format, c.width, FakeMeasure());
  EXPECT_EQ(LineTexts(lines), c.lines);
  std::vector<int> widths;
  for (const TextLine& line : lines) widths.push_back(line.width);
  EXPECT_EQ(widths, c.widths);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutTest,
    ::testing::Values(
        LayoutCase{"plain", "abc", 0, 5, {"abc"}, {30}},
        LayoutCase{"newlines", "ab\ncd\r\ne", 0, 100, {"ab", "cd", "e"}, {20, 20, 10}},
        LayoutCase{"trailingBreak", "ab\n", 0, 100, {"ab"}, {20}},
        LayoutCase{"emptyLines", "a\n\nb", 0, 100, {"a", "", "b"}, {10, 0, 10}},
        LayoutCase{"singleLineKeepsFeeds", "a\nb", dt::kSingleLine, 100, {"a\nb"}, {30}},
        // Word breaking: "aa bb" is exactly 50 wide and fits; the space at the
        // break goes.
        LayoutCase{"wordBreak", "aa bb cc", dt::kWordBreak, 50, {"aa bb", "cc"}, {50, 20}},
        LayoutCase{"wordBreakNarrow", "aa bb cc", dt::kWordBreak, 49, {"aa", "bb", "cc"}, {20, 20, 20}},
        LayoutCase{"manySpacesAtBreak", "aa   bb", dt::kWordBreak, 30, {"aa", "bb"}, {20, 20}},
        LayoutCase{"longWordStaysWhole", "a verylong b", dt::kWordBreak, 30,
                   {"a", "verylong", "b"}, {10, 80, 10}},
        LayoutCase{"longFirstWord", "verylong b", dt::kWordBreak, 30, {"verylong", "b"}, {80, 10}},
        LayoutCase{"zeroWidth", "ab cd", dt::kWordBreak, 0, {"ab", "cd"}, {20, 20}},
        LayoutCase{"wordBreakAndNewlines", "aa bb\ncc", dt::kWordBreak, 30, {"aa", "bb", "cc"},
                   {20, 20, 20}},
        LayoutCase{"singleLineDoesNotWrap", "aa bb cc", dt::kWordBreak | dt::kSingleLine, 30,
                   {"aa bb cc"}, {80}},
        LayoutCase{"narrowLetters", "ii ii", dt::kWordBreak, 18, {"ii", "ii"}, {8, 8}},
        // Prefixes.
        LayoutCase{"doubleAmpersand", "a&&b", 0, 100, {"a&b"}, {30}},
        LayoutCase{"prefixVanishes", "&Save", 0, 100, {"Save"}, {40}},
        LayoutCase{"loneAmpersandAtEnd", "ab&", 0, 100, {"ab"}, {20}},
        LayoutCase{"noPrefix", "a&&b&c", dt::kNoPrefix, 100, {"a&&b&c"}, {60}},
        // Tabs: stops every 8 average widths (40) from the line start.
        LayoutCase{"tab", "a\tb", dt::kExpandTabs, 200, {"a\tb"}, {50}},
        LayoutCase{"tabPastAStop", "abcde\tb", dt::kExpandTabs, 200, {"abcde\tb"}, {90}},
        LayoutCase{"tabAtAStop", "abcd\tb", dt::kExpandTabs, 200, {"abcd\tb"}, {90}},
        LayoutCase{"twoTabs", "\t\ta", dt::kExpandTabs, 200, {"\t\ta"}, {90}},
        LayoutCase{"tabNotExpanded", "a\tb", 0, 200, {"a\tb"}, {30}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(TextLayout, PrefixedCharacterIsMarkedForUnderline) {
  const auto lines = LayOutText(U"&Save &&As", 0, 1000, FakeMeasure());
  ASSERT_EQ(lines.size(), 1u);
  std::string marked;
  for (const LaidChar& c : lines[0].chars) marked += c.underline ? '^' : ' ';
  EXPECT_EQ(marked, "^       ");
}

TEST(TextLayout, CharactersArePlacedAtTheirAdvance) {
  const auto lines = LayOutText(U"aib\tc", dt::kExpandTabs, 1000, FakeMeasure());
  ASSERT_EQ(lines.size(), 1u);
  std::vector<int> xs;
  for (const LaidChar& c : lines[0].chars) xs.push_back(c.x);
  EXPECT_EQ(xs, (std::vector<int>{0, 10, 14, 24, 40}));
}

}  // namespace
}  // namespace quorvel::raster
