#include "results/send_results.h"

#include "results/request_path.h"

namespace quorvel {

SendOutcome SendResults(platform::HttpClient& http, platform::Services& services,
                        platform::DialogHost* owner, const ResultsServer& server,
                        const SystemInfo& info, const BenchmarkScores& scores,
                        const std::string& userName, const std::string& email) {
  const std::string path = BuildRequestPath(info, scores, userName, email);
  const platform::HttpResult answer =
      http.Get(server.host, server.port, path, kUploadUserAgent, kUploadConnectTimeoutMs,
               kUploadTotalTimeoutMs);
  // A network failure was never reported to the user; it still is not.
  if (!answer.ok) return SendOutcome::NoAnswer;

  services.Sleep(kUploadSettleMs);
  if (answer.status == 200) {
    services.OpenWebPage(owner, ComparisonPageAddress(server), platform::Show::Maximized);
    return SendOutcome::ComparisonOpened;
  }
  services.MessageBox(owner, kSiteDownText, kSiteDownCaption, platform::MessageIcon::Exclamation);
  return SendOutcome::SiteDown;
}

}  // namespace quorvel
