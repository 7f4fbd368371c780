#include <gtest/gtest.h>

#include <string>

#include "site_fixtures.h"
#include "upload/parse_upload.h"
#include "values/text_encoding.h"

namespace quorvel::results_site {
namespace {

using testing::ExampleQuery;

// The example query with the value of `key` replaced by `value` (raw, as sent).
std::string With(const std::string& key, const std::string& value) {
  std::string q = ExampleQuery();
  const std::string marker = (key == "VER" ? "" : "&") + key + "=";
  const std::size_t at = key == "VER" ? 0 : q.find(marker);
  const std::size_t start = at + marker.size();
  const std::size_t end = q.find('&', start);
  return q.replace(start, end - start, value);
}

TEST(ParseUpload, TheProgramsRequestReadsBackAsItsValues) {
  const ParsedUpload p = ParseUpload(ExampleQuery());
  ASSERT_TRUE(p.ok) << p.reason;
  const Upload& u = p.upload;
  EXPECT_EQ(u.version, 103);
  EXPECT_EQ(u.userName, "Test_User");  // as sent; the pages show a blank
  EXPECT_EQ(u.email, "a@b.c");
  EXPECT_EQ(u.cardName, "NVIDIA_GeForce2_MX");
  EXPECT_EQ(u.mode, "1024_x_768_x_32_bits_(85_Hz)");
  EXPECT_TRUE(u.alpha);
  EXPECT_FALSE(u.perPixel);
  EXPECT_TRUE(u.grad);
  EXPECT_EQ(u.overall, 512);
  EXPECT_EQ(u.alphaTest, 512);
  EXPECT_EQ(u.twoDTest, 0);
  EXPECT_EQ(u.cpu, "800");
  EXPECT_EQ(u.driver, "6.13.10.1241");
  EXPECT_EQ(u.mem, 32);
  EXPECT_EQ(u.cpuMan, "GenuineIntel");
  EXPECT_FALSE(u.multiCPU);
  EXPECT_EQ(u.cpuID, "x86_Family_6_Model_8_Stepping_3");
  EXPECT_EQ(u.os, "XP");
}

TEST(ParseUpload, AcceptsAnyTextAndStoresItAsUtf8) {
  struct Row {
    std::string key, raw, stored;
  };
  const Row rows[] = {
      {"UserName", "<script>alert(1)</script>", "<script>alert(1)</script>"},  // kept; pages escape
      {"UserName", "O'Brien_\"Bob\"", "O'Brien_\"Bob\""},
      {"UserName", "x';_DROP_TABLE_results;--", "x';_DROP_TABLE_results;--"},
      {"UserName", "Tom_%26_Jerry_%3D_1%2B1", "Tom_&_Jerry_=_1+1"},  // the program's %-escapes
      {"UserName", "J%C3%BCrgen", "J\xC3\xBCrgen"},                  // UTF-8
      {"UserName", "J%FCrgen_%80", "J\xC3\xBCrgen_\xE2\x82\xAC"},    // Windows-1252 (the program)
      {"UserName", "%81%8D%8F%90%9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // unassigned there
      {"UserName", "a%09b%0D%0Ac%00d%7F%1F", "a b  c d  "},  // control characters as blanks
      {"UserName", "J\xFCrgen", "J\xC3\xBCrgen"},                    // unescaped bytes, as WinINet may send
      {"UserName", "a+b", "a b"},
      {"UserName", "", ""},
      {"email", "", ""},
      {"cpu", "", ""},  // no processor speed could be read
      {"OS", "2000", "2000"},
      {"UserName", std::string(254, 'n'), std::string(254, 'n')},
      {"UserName", std::string(255, 'n'), std::string(254, 'n')},  // cut, not refused
      {"cardName", std::string(9000, 'x'), std::string(254, 'x')},
      {"email", "%0A" + std::string(300, 'e'), " " + std::string(253, 'e')},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.key + "=" + r.raw);
    const ParsedUpload p = ParseUpload(With(r.key, r.raw));
    ASSERT_TRUE(p.ok) << p.reason;
    const Upload& u = p.upload;
    const std::string& got = r.key == "UserName"   ? u.userName
                             : r.key == "email"    ? u.email
                             : r.key == "cardName" ? u.cardName
                             : r.key == "cpu"      ? u.cpu
                                                   : u.os;
    EXPECT_EQ(got, r.stored);
  }
  // Characters are counted, not bytes: 300 of two bytes each are cut
  // after the 254th, between two characters.
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "%C3%BC";
  const ParsedUpload p = ParseUpload(With("UserName", umlauts));
  ASSERT_TRUE(p.ok) << p.reason;
  EXPECT_EQ(p.upload.userName.size(), 2u * 254);
  EXPECT_EQ(CodePointCount(p.upload.userName), 254u);
  EXPECT_TRUE(IsValidUtf8(p.upload.userName));
}

TEST(ParseUpload, RefusesWhatTheProgramWouldNeverSend) {
  struct Row {
    std::string query, reason;
  };
  const std::string example = ExampleQuery();
  const Row rows[] = {
      {"", "an empty parameter name"},
      {example.substr(0, example.find("&email=")) + example.substr(example.find("&cardName=")),
       "parameter email is missing"},
      {example + "&OS=XP", "parameter OS is repeated"},
      {example + "&admin=1", "unknown parameter admin"},
      {example + "&", "an empty parameter name"},
      {"email=a@b.c&" + example.substr(0, example.find("&email=")) +
           example.substr(example.find("&cardName=")),
       "the parameters are out of order"},
      {With("UserName", "Tom_&_Jerry"), "unknown parameter _Jerry"},  // an unescaped '&' 
      {With("Overall", "512.5"), "parameter Overall is not a whole number"},
      {With("Overall", "-1"), "parameter Overall is not a whole number"},
      {With("Overall", ""), "parameter Overall is not a whole number"},
      {With("Overall", "9999999999999"), "parameter Overall is not a whole number"},
      {With("mem", "32MB"), "parameter mem is not a whole number"},
      {With("cpu", "800_MHz"), "parameter cpu is not a whole number"},
      {With("VER", "abc"), "parameter VER is not a whole number"},
      {With("Alpha", "2"), "parameter Alpha is not 0 or 1"},
      {With("multiCPU", "yes"), "parameter multiCPU is not 0 or 1"},
      {With("OS", "Linux"), "parameter OS is not XP or 2000"},
      {With("cardName", std::string(kMaxQueryBytes, 'x')), "the query is longer than 229376 bytes"},
      {With("UserName", "%zz"), "parameter UserName has a broken %-escape"},
      {With("UserName", "abc%4"), "parameter UserName has a broken %-escape"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.query.substr(0, 120));
    const ParsedUpload p = ParseUpload(r.query);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.reason, r.reason);
  }
}

TEST(TextEncoding, TellsUtf8FromOtherBytes) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));          // cut short
  EXPECT_EQ(ToUtf8("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(ToUtf8("\x8D"), "\xC2\x8D");  // as Windows converts it
  EXPECT_EQ(ToUtf8("\xC3\xBC"), "\xC3\xBC");  // UTF-8 already
  EXPECT_EQ(FirstCodePoints("a\xC3\xBC\xE2\x82\xAC", 2), "a\xC3\xBC");
  EXPECT_EQ(FirstCodePoints("ab", 5), "ab");
}

}  // namespace
}  // namespace quorvel::results_site
