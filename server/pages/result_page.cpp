#include "pages/result_page.h"

#include <nlohmann/json.hpp>

#include "pages/html.h"
#include "pages/result_cells.h"
#include "site/upload_protocol.h"
#include "values/shown_text.h"

namespace quorvel::results_site {
namespace {

std::string Row(const char* label, const std::string& value) {
  return std::string("<tr><th>") + label + "</th><td>" + Html(value) + "</td></tr>\n";
}

const char* YesNo(bool b) { return b ? "yes" : "no"; }

}  // namespace

std::string RenderResultPage(const StoredResult& r) {
  const Upload& u = r.upload;
  std::string html = PageStart("Quorvel result " + std::to_string(r.id));
  html += "<h1>Result " + std::to_string(r.id) + "</h1>\n<table id=\"result\">\n";
  html += Row("Name", ShownText(u.userName));
  html += Row("Adapter", ShownText(u.cardName));
  html += Row("Mode", ShownText(u.mode));
  html += Row("Driver", ShownText(u.driver));
  html += Row("Video memory", std::to_string(u.mem) + " MB");
  html += Row("Processor", ProcessorText(u));
  html += Row("Processor identifier", ShownText(u.cpuID));
  html += Row("OS", u.os);
  html += Row("Constant alpha accelerated", YesNo(u.alpha));
  html += Row("Per-pixel alpha accelerated", YesNo(u.perPixel));
  html += Row("Gradients accelerated", YesNo(u.grad));
  html += Row("Overall", Thousands(u.overall));
  html += Row("Alpha test", Thousands(u.alphaTest));
  html += Row("2D test", Thousands(u.twoDTest));
  html += Row("Submitted", UtcDate(r.submittedAt));
  html += "</table>\n<p><a href=\"" + std::string(kComparisonPagePath) + "\">All results</a></p>\n";
  return html + PageEnd();
}

std::string ResultsJson(std::int64_t count, const std::vector<StoredResult>& results) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const StoredResult& r : results) {
    const Upload& u = r.upload;
    list.push_back({
        {"id", r.id},
        {"userName", ShownText(u.userName)},
        {"cardName", ShownText(u.cardName)},
        {"mode", ShownText(u.mode)},
        {"alpha", u.alpha ? 1 : 0},
        {"perPixel", u.perPixel ? 1 : 0},
        {"grad", u.grad ? 1 : 0},
        {"overall", u.overall},
        {"alphaTest", u.alphaTest},
        {"twoDTest", u.twoDTest},
        {"cpu", u.cpu},
        {"driver", ShownText(u.driver)},
        {"mem", u.mem},
        {"cpuMan", ShownText(u.cpuMan)},
        {"multiCPU", u.multiCPU ? 1 : 0},
        {"cpuID", ShownText(u.cpuID)},
        {"os", u.os},
        {"submittedAt", UtcTime(r.submittedAt, "%Y-%m-%dT%H:%M:%SZ")},
    });
  }
  const nlohmann::ordered_json document = {{"count", count}, {"results", std::move(list)}};
  return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace quorvel::results_site
