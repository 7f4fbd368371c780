// Clipboard text reaches the edits as Windows-1252; titles go out as UTF-8.
#include <gtest/gtest.h>

#include "text/windows1252.h"

namespace quorvel::text {
namespace {

TEST(Windows1252, FromUtf8KeepsWhatTheCodePageHasAndDropsTheRest) {
  const struct {
    const char* utf8;
    const char* expected;
  } cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"Zo\xC3\xAB M\xC3\xBCller", "Zo\xEB M\xFCller"},       // Latin-1 range
      {"\xE2\x82\xAC 5 \xE2\x80\x94 \xC5\x93", "\x80 5 \x97 \x9C"},  // 0x80..0x9F block
      {"\xE6\x97\xA5\xE6\x9C\xAC x", " x"},                    // CJK dropped
      {"a\xF0\x9F\x98\x80" "b", "ab"},                          // emoji dropped
      {"a\xC2\x81" "b", "ab"},                                  // C1 control, no byte for it
      {"bad \xC3 lead", "bad  lead"},                           // cut sequence
      {"\x80\xBF stray", " stray"},                             // stray continuations
      {"\xC0\x80over\xE0\x80\xAFlong", "overlong"},             // overlong forms
      {"cut at end \xE2\x82", "cut at end "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWindows1252(c.utf8), c.expected) << c.utf8;
  }
}

TEST(Windows1252, ToUtf8AndBack) {
  std::string all;
  for (int b = 0x20; b <= 0xFF; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D || b == 0x7F) continue;
    all += static_cast<char>(b);
  }
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Windows1252ToUtf8("Testing Performance..."), "Testing Performance...");
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

// The code page's table as the text drawing reads it: the five unassigned
// bytes keep their own value, as MultiByteToWideChar gives them.
TEST(Windows1252, CodePointsOfTheHighControlRange) {
  struct Case {
    unsigned char byte;
    char32_t code;
  };
  const Case cases[] = {{0x41, U'A'},       {0x80, U'\u20AC'}, {0x81, 0x81},
                        {0x85, U'\u2026'},  {0x8D, 0x8D},      {0x92, U'\u2019'},
                        {0x96, U'\u2013'},  {0x99, U'\u2122'}, {0x9D, 0x9D},
                        {0x9F, U'\u0178'},  {0xA0, 0xA0},      {0xA9, U'\u00A9'},
                        {0xE9, U'\u00E9'},  {0xFF, U'\u00FF'}};
  for (const Case& c : cases) EXPECT_EQ(Windows1252ToCodePoint(c.byte), c.code) << int{c.byte};
  EXPECT_EQ(DecodeWindows1252("a\x80"), std::u32string(U"a\u20AC"));
  EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

}  // namespace
}  // namespace quorvel::text
