// The site's upload parser on any query: it answers ok or a short reason,
// and an upload it takes holds only what the site may store and show.
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "upload/parse_upload.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view query(reinterpret_cast<const char*>(data), size);
  const quorvel::results_site::ParsedUpload parsed = quorvel::results_site::ParseUpload(query);
  if (!parsed.ok) {
    FUZZ_CHECK(!parsed.reason.empty() && parsed.reason.size() < 200, "a short reason");
    return 0;
  }
  const quorvel::results_site::Upload& u = parsed.upload;
  for (const std::string* text : {&u.userName, &u.email, &u.cardName, &u.mode, &u.cpu, &u.driver,
                                  &u.cpuMan, &u.cpuID, &u.os}) {
    FUZZ_CHECK(!quorvel::fuzz::HasControl(*text), "stored texts hold no control characters");
    FUZZ_CHECK(text->size() <= 4 * quorvel::results_site::kMaxTextCharacters, "stored texts are bounded");
  }
  FUZZ_CHECK(u.os == "XP" || u.os == "2000", "OS is XP or 2000");
  FUZZ_CHECK(u.overall >= 0 && u.alphaTest >= 0 && u.twoDTest >= 0 && u.mem >= 0, "numbers are whole");
  return 0;
}
