#include "http/site_routes.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "http/bounded_server.h"
#include "http/client_address.h"
#include "site/upload_protocol.h"
#include "pages/comparison.h"
#include "pages/html.h"
#include "pages/result_page.h"
#include "values/shown_text.h"
#include "values/whole_number.h"
#include "upload/parse_upload.h"

namespace quorvel::results_site {
namespace {

constexpr char kText[] = "text/plain; charset=utf-8";
constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr char kDatabaseDown[] = "the results database is not available\n";

static_assert(kMaxQueryBytes + 16 * 1024 <= kMaxRequestBytes,
              "an upload the parser takes is read whole, headers and all");

std::int64_t SystemNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// A whole number parameter between `lowest` and `highest`; `fallback` when
// it is absent; nothing when it is anything else.
std::optional<std::int64_t> NumberParam(const httplib::Request& req, const char* name,
                                        std::int64_t fallback, std::int64_t lowest,
                                        std::int64_t highest) {
  if (!req.has_param(name)) return fallback;
  const std::optional<std::int64_t> value = WholeNumber(req.get_param_value(name), 12);
  if (!value || *value < lowest || *value > highest) return std::nullopt;
  return value;
}

// The filter of a page or API request. Visitors name an adapter as it is
// shown (blanks) or as the page's links carry it (underscores); both are
// matched against the stored form.
ResultFilter FilterOf(const httplib::Request& req) {
  return ResultFilter{StoredText(req.get_param_value("adapter")), req.get_param_value("os")};
}

void DatabaseDown(httplib::Response& res, const std::string& error) {
  std::fprintf(stderr, "quorvel-results: database: %s\n", error.c_str());
  res.status = 503;
  res.set_content(kDatabaseDown, kText);
}

void TakeUpload(const httplib::Request& req, httplib::Response& res, ResultStore& store,
                const SiteSettings& settings) {
  const std::string target = RequestTarget(req);
  const std::size_t mark = target.find('?');
  const std::string query = mark == std::string::npos ? "" : target.substr(mark + 1);
  const ParsedUpload parsed = ParseUpload(query);
  if (!parsed.ok) {
    res.status = 400;
    res.set_content(parsed.reason + "\n", kText);
    return;
  }
  const std::int64_t now = settings.now();
  const std::string sender = ClientAddress(req, settings.trustedProxies);
  // The address's recent uploads are counted in the upload's own
  // transaction: parallel uploads from one address, through this server or
  // another on the same database, cannot pass the limit together.
  SenderLimit limit;
  if (settings.uploadsPerMinute > 0) limit = SenderLimit{now - 59, settings.uploadsPerMinute};
  std::string error;
  std::int64_t id = 0;
  bool limited = false;
  if (!store.Add(parsed.upload, sender, now, limit, limited, id, error)) {
    return DatabaseDown(res, error);
  }
  if (limited) {
    res.status = 429;
    res.set_header("Retry-After", "60");
    res.set_content("too many uploads from this address; try again in a minute\n", kText);
    return;
  }
  res.set_content("OK " + std::to_string(id) + "\n", kText);
}

void ComparisonPage(const httplib::Request& req, httplib::Response& res, ResultStore& store,
                    ScoreSummary& summary, const SiteSettings& settings) {
  ComparisonRequest request;
  request.filter = FilterOf(req);
  // A page number that is not one shows the first page.
  request.page = NumberParam(req, "page", 1, 1, 999999999999).value_or(1);
  request.sender = ClientAddress(req, settings.trustedProxies);
  request.now = settings.now();
  Comparison comparison;
  std::string error;
  if (!GatherComparison(store, summary, request, comparison, error)) return DatabaseDown(res, error);
  res.set_content(RenderComparisonPage(comparison), kHtml);
}

void ResultPage(const httplib::Request& req, httplib::Response& res, ResultStore& store) {
  const std::string digits = req.matches[1];
  std::optional<StoredResult> result;
  std::string error;
  const std::optional<std::int64_t> id = WholeNumber(digits, 12);
  if (id && !store.Find(*id, result, error)) {
    return DatabaseDown(res, error);
  }
  if (!result) {
    res.status = 404;
    res.set_content("no such result\n", kText);
    return;
  }
  res.set_content(RenderResultPage(*result), kHtml);
}

void ApiResults(const httplib::Request& req, httplib::Response& res, ResultStore& store,
                ScoreSummary& summary) {
  const std::optional<std::int64_t> limit = NumberParam(req, "limit", kDefaultApiLimit, 1, kMaxApiLimit);
  const std::optional<std::int64_t> offset = NumberParam(req, "offset", 0, 0, 999999999999);
  if (!limit || !offset) {
    res.status = 400;
    res.set_content("limit must be 1 to 100 and offset a whole number\n", kText);
    return;
  }
  const ResultFilter filter = FilterOf(req);
  ScoreSummary::View view;
  std::vector<StoredResult> results;
  std::string error;
  if (!summary.Current(store, filter, view, error) ||
      !store.Top(filter, summary.StartOf(filter, *offset), *limit, results, error)) {
    return DatabaseDown(res, error);
  }
  res.set_content(ResultsJson(view.matching, results), "application/json");
}

thread_local std::chrono::steady_clock::time_point requestStart;

}  // namespace

void InstallRoutes(httplib::Server& server, ResultStore& store, SiteSettings settings) {
  if (!settings.now) settings.now = SystemNow;
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(kComparisonPagePath);
  });
  server.Get(kUploadPath,
             [&store, settings](const httplib::Request& req, httplib::Response& res) {
               TakeUpload(req, res, store, settings);
             });
  auto summary = std::make_shared<ScoreSummary>(kAdaptersShown);
  {
    // Read once now, so that the first visitor does not wait for all of it.
    ScoreSummary::View ignored;
    std::string error;
    summary->Current(store, ResultFilter{}, ignored, error);
  }
  server.Get(kComparisonPagePath,
             [&store, summary, settings](const httplib::Request& req, httplib::Response& res) {
               ComparisonPage(req, res, store, *summary, settings);
             });
  server.Get(R"(/result/(\d+))", [&store](const httplib::Request& req, httplib::Response& res) {
    ResultPage(req, res, store);
  });
  server.Get("/api/results", [&store, summary](const httplib::Request& req, httplib::Response& res) {
    ApiResults(req, res, store, *summary);
  });
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) {
      res.set_content(res.status == 404 ? "not found\n" : "the request could not be read\n", kText);
    }
  });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        res.status = 500;
        res.set_content("internal error\n", kText);
      });
}

void InstallRequestLog(httplib::Server& server, std::vector<std::string> trustedProxies) {
  server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
    requestStart = std::chrono::steady_clock::now();
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.set_logger([trustedProxies = std::move(trustedProxies)](const httplib::Request& req,
                                                                const httplib::Response& res) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - requestStart)
            .count();
    const std::string when = UtcTime(SystemNow(), "%Y-%m-%dT%H:%M:%SZ");
    std::string path = req.path.substr(0, 200);
    for (char& c : path) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    char line[512];
    const std::string client = ClientAddress(req, trustedProxies);
    std::snprintf(line, sizeof line, "%s %s %s %s %d %zu %.1fms\n", when.c_str(), client.c_str(),
                  req.method.c_str(), path.c_str(), res.status, res.body.size(), ms);
    std::fputs(line, stderr);
  });
}

}  // namespace quorvel::results_site
