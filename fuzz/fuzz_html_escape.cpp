// The site's HTML and URL escaping on any text: nothing that could end an
// element, an attribute or a query value survives, and escaping is the only
// change.
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "pages/html.h"

namespace {

// Undoes the five entities Html writes.
std::string Unescaped(const std::string& html) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < html.size();) {
    bool matched = false;
    for (const auto& [entity, c] : kEntities) {
      const std::string_view e(entity);
      if (html.compare(i, e.size(), e) == 0) {
        out += c;
        i += e.size();
        matched = true;
        break;
      }
    }
    if (!matched) out += html[i++];
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string html = quorvel::results_site::Html(text);
  FUZZ_CHECK(html.find_first_of("<>\"'") == std::string::npos, "no markup characters");
  FUZZ_CHECK(Unescaped(html) == text, "only escaped");

  const std::string url = quorvel::results_site::UrlValue(text);
  for (char c : url) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '-' || c == '.' || c == '_' || c == '~' || c == '%';
    FUZZ_CHECK(allowed, "a query value holds unreserved characters and escapes");
  }
  return 0;
}
