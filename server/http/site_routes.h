// What the site answers: the upload, the comparison page, one result's
// page, the JSON listing; and the log line of every request.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/result_store.h"

namespace quorvel::results_site {

struct SiteSettings {
  // Uploads one address may make in a minute before it is answered 429;
  // 0 for no limit.
  std::int64_t uploadsPerMinute = 10;
  // Seconds since 1970; tests give a clock of their own.
  std::function<std::int64_t()> now;
  // The proxies (canonical addresses) whose X-Forwarded-For names the
  // client, for the upload limit and the highlight; none by default.
  std::vector<std::string> trustedProxies;
};

constexpr std::int64_t kDefaultApiLimit = 25;
constexpr std::int64_t kMaxApiLimit = 100;

// Adds the site's handlers to `server`. `store` must outlive it.
void InstallRoutes(httplib::Server& server, ResultStore& store, SiteSettings settings);

// Writes one line to standard error for every request `server` answers:
// time, client address (see ClientAddress), method, path (never the
// query: it holds e-mail addresses), status, bytes of the answer,
// milliseconds taken. (A BoundedServer also logs the requests it drops
// unanswered.)
void InstallRequestLog(httplib::Server& server, std::vector<std::string> trustedProxies = {});

}  // namespace quorvel::results_site
