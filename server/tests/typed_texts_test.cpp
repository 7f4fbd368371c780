// What users type into the name and e-mail edits, sent as the program
// sends it (its own request builder, results/request_path.h), then read and
// stored by the site on each database, and shown by its pages and its API.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "pages/result_cells.h"
#include "pages/result_page.h"
#include "site_fixtures.h"
#include "upload/parse_upload.h"

namespace quorvel::results_site {
namespace {

// The query of the program's upload request for this name and address.
std::string ProgramQuery(const std::string& userName, const std::string& email) {
  const std::string path = testing::ProgramRequestPath(userName, email);
  return path.substr(path.find('?') + 1);
}

std::string Repeated(const std::string& text, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

struct Typed {
  const char* what;
  std::string name, email;  // as typed, in the program's Windows-1252 unless said
  std::string storedName, storedEmail;  // UTF-8
  std::string shownName;                // on the pages (before escaping) and in the API
  std::string shownHtml;                // in the pages' markup
};

std::vector<Typed> TypedTexts() {
  const std::string e254 = Repeated("\xC3\xA9", 254);  // 254 times U+00E9
  return {
      {"bytes no character of Windows-1252 has, typed in another code page",
       "A\x81" "B\x8D" "C\x8F" "D\x90" "E\x9D", "x\x81@y.org",
       "A\xC2\x81" "B\xC2\x8D" "C\xC2\x8F" "D\xC2\x90" "E\xC2\x9D", "x\xC2\x81@y.org",
       "A\xC2\x81" "B\xC2\x8D" "C\xC2\x8F" "D\xC2\x90" "E\xC2\x9D",
       "A\xC2\x81" "B\xC2\x8D" "C\xC2\x8F" "D\xC2\x90" "E\xC2\x9D"},
      {"a pasted tab", "Tom\tJerry", "tom\t@x.org", "Tom Jerry", "tom @x.org", "Tom Jerry",
       "Tom Jerry"},
      {"a carriage return and a line feed", "Tom\r\nJerry", "a\rb@x.org", "Tom  Jerry",
       "a b@x.org", "Tom  Jerry", "Tom  Jerry"},
      {"255 characters", std::string(255, 'n'), std::string(255, 'm'), std::string(254, 'n'),
       std::string(254, 'm'), std::string(254, 'n'), std::string(254, 'n')},
      {"1000 characters outside ASCII", std::string(1000, '\xE9'), std::string(1000, '\xE9'), e254,
       e254, e254, e254},
      {"the longest text a Windows edit holds, every character escaped",
       std::string(kMaxTypedCharacters, '&'), std::string(kMaxTypedCharacters, '\xE9'),
       std::string(254, '&'), e254, std::string(254, '&'), Repeated("&amp;", 254)},
      {"underscores", "first_last", "first_last@x.org", "first_last", "first_last@x.org",
       "first last", "first last"},
      {"blanks, '%' and '$', which the program sends as '_'", "A B%C$D", "a b@x.org", "A_B_C_D",
       "a_b@x.org", "A B C D", "A B C D"},
      {"'&' and '=', which the program escapes", "Tom & Jerry = 1", "a&b=c@x.org",
       "Tom_&_Jerry_=_1", "a&b=c@x.org", "Tom & Jerry = 1", "Tom &amp; Jerry = 1"},
      {"markup", "<b>\"Bob\"</b>", "", "<b>\"Bob\"</b>", "", "<b>\"Bob\"</b>",
       "&lt;b&gt;&quot;Bob&quot;&lt;/b&gt;"},
      {"UTF-8, from a program that sends it", "J\xC3\xBCrgen \xCE\xA9", "j\xC3\xBC@x.org",
       "J\xC3\xBCrgen_\xCE\xA9", "j\xC3\xBC@x.org", "J\xC3\xBCrgen \xCE\xA9",
       "J\xC3\xBCrgen \xCE\xA9"},
  };
}

class TypedTextsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TypedTextsTest, AreStoredAsSentAndShownWithBlanksForUnderscores) {
  std::unique_ptr<ResultStore> store = testing::FreshStore(GetParam());
  ASSERT_TRUE(store);
  for (const Typed& t : TypedTexts()) {
    SCOPED_TRACE(t.what);
    const ParsedUpload parsed = ParseUpload(ProgramQuery(t.name, t.email));
    EXPECT_TRUE(parsed.ok) << parsed.reason;
    if (!parsed.ok) continue;  // on to the next row
    std::int64_t id = 0;
    std::string error;
    ASSERT_TRUE(store->Add(parsed.upload, "192.0.2.1", 1800000000, id, error)) << error;
    std::optional<StoredResult> stored;
    ASSERT_TRUE(store->Find(id, stored, error)) << error;
    ASSERT_TRUE(stored);
    const Upload& u = stored->upload;
    EXPECT_EQ(u.userName, t.storedName);
    EXPECT_EQ(u.email, t.storedEmail);
    EXPECT_EQ(u.cardName, "NVIDIA_GeForce2_MX");

    // The comparison page's row, the result's page and the API.
    const std::string cells = ResultCells(*stored);
    EXPECT_NE(cells.find("\">" + t.shownHtml + "</a></td><td>NVIDIA GeForce2 MX</td>"),
              std::string::npos);
    const std::string page = RenderResultPage(*stored);
    EXPECT_NE(page.find("<tr><th>Name</th><td>" + t.shownHtml + "</td></tr>"), std::string::npos);
    EXPECT_NE(page.find("<tr><th>Mode</th><td>1024 x 768 x 32 bits (85 Hz)</td></tr>"),
              std::string::npos);
    const nlohmann::json api = nlohmann::json::parse(ResultsJson(1, {*stored}));
    EXPECT_EQ(api["results"][0]["userName"], t.shownName);
    EXPECT_EQ(api["results"][0]["cpuID"], "x86 Family 6 Model 8 Stepping 3");
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, TypedTextsTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace quorvel::results_site
