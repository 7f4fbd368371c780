#include "results/send_results.h"

#include <memory>

#include "results/request_path.h"

namespace quorvel {

SendOutcome SendResults(platform::HttpClient& http, platform::Services& services,
                        platform::DialogHost* owner, const ResultsServer& server,
                        const SystemInfo& info, const BenchmarkScores& scores,
                        const std::string& userName, const std::string& email) {
  platform::HttpRequest request;
  request.host = server.host;
  request.port = server.port;
  request.path = BuildRequestPath(info, scores, userName, email);
  request.userAgent = kUploadUserAgent;
  request.connectTimeoutMs = kUploadConnectTimeoutMs;
  request.totalTimeoutMs = kUploadTotalTimeoutMs;
  // Held to the end of this function: the request, the connection and the
  // session are released after the page is opened or the message closed.
  const std::unique_ptr<platform::HttpExchange> exchange = http.Send(request);
  // A network failure was never reported to the user; it still is not.
  if (exchange == nullptr || !exchange->Answered()) return SendOutcome::NoAnswer;

  services.Sleep(kUploadSettleMs);
  if (exchange->StatusCode() != 200) {
    services.MessageBox(owner, kSiteDownText, kSiteDownCaption, platform::MessageIcon::Exclamation);
    return SendOutcome::SiteDown;
  }
  // The body says nothing the program uses (the comparison page has a fixed
  // address), but a reply that breaks off while it is read is a failure of
  // the exchange, which shows nothing.
  std::string body;
  if (!exchange->ReadBody(body)) return SendOutcome::NoAnswer;
  services.OpenWebPage(owner, ComparisonPageAddress(server), platform::Show::Maximized);
  return SendOutcome::ComparisonOpened;
}

}  // namespace quorvel
