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
// long after sending the request before it asks for the status. The wait
// counts within the exchange's 20 s.
constexpr unsigned kUploadSettleMs = 1000;

constexpr char kSiteDownText[] = "The Quorvel website is currently down.\n\nPlease try again later";
constexpr char kSiteDownCaption[] = "Website inaccessable";

enum class SendOutcome {
  ComparisonOpened,  // status 200: the comparison page was opened, maximised
  SiteDown,          // any other status, or none readable: the user was told
  NoAnswer,          // no answer, or a 200 whose body broke off: nothing is shown
};

// Sends the results (see BuildRequestPath) to `server`, waits
// kUploadSettleMs, asks for the status and acts on it: a 200 has its body
// read and opens the comparison page, any other status shows the "site
// down" message. The request, the connection and the session are released
// after that, once the page is opened or the message has been closed. No
// answer, or a body that cannot be read, shows nothing. Blocks the calling
// thread for the whole exchange. The caller has already taken the name and
// address from their edits and stored them (WriteIdentity).
SendOutcome SendResults(platform::HttpClient& http, platform::Services& services,
                        platform::DialogHost* owner, const ResultsServer& server,
                        const SystemInfo& info, const BenchmarkScores& scores,
                        const std::string& userName, const std::string& email);

}  // namespace quorvel
