// Uploading a run's results to the results site and opening the comparison
// page.
#pragma once

#include <string>

#include "bench/benchmark_scores.h"
#include "platform/http_client.h"
#include "platform/services.h"
#include "site/site_addresses.h"
#include "sysinfo/system_info.h"

namespace quorvel {

constexpr char kUploadUserAgent[] = "My Session";
// The connection must be made within 10 s and the exchange must end within
// 20 s, so a server that never answers cannot hold the window for ever.
constexpr int kUploadConnectTimeoutMs = 10000;
constexpr int kUploadTotalTimeoutMs = 20000;
// The site stores the results while it answers; the program waits this
// long after an answer before looking at it. A fixed pause on top of the
// time limits above.
constexpr unsigned kUploadSettleMs = 1000;

constexpr char kSiteDownText[] = "The Quorvel website is currently down.\n\nPlease try again later";
constexpr char kSiteDownCaption[] = "Website inaccessable";

enum class SendOutcome {
  ComparisonOpened,  // status 200: the comparison page was opened, maximised
  SiteDown,          // any other status, or none readable: the user was told
  NoAnswer,          // no answer at all: nothing is shown
};

// Sends the results (see BuildRequestPath) to `server` and acts on the
// answer. Blocks the calling thread until the request ends or times out.
// The caller has already taken the name and address from their edits and
// stored them (WriteIdentity).
SendOutcome SendResults(platform::HttpClient& http, platform::Services& services,
                        platform::DialogHost* owner, const ResultsServer& server,
                        const SystemInfo& info, const BenchmarkScores& scores,
                        const std::string& userName, const std::string& email);

}  // namespace quorvel
