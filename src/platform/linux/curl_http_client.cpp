#include "platform/linux/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <strings.h>
#include <utility>

namespace quorvel::linux_os {
namespace {

using Clock = std::chrono::steady_clock;

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using UniqueCurl = std::unique_ptr<CURL, CurlDeleter>;

struct CurlMultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using UniqueCurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;

struct CurlListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using UniqueCurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

// libcurl's global set-up, done once for the whole process before the first
// handle; a function-local static makes the first call safe from any thread.
// It is never undone: other code of the process may still use libcurl.
bool CurlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

// The bytes of all the requests the transfer has sent so far, redirects'
// included.
long RequestBytesSent(CURL* curl) {
  long bytes = 0;
  return curl_easy_getinfo(curl, CURLINFO_REQUEST_SIZE, &bytes) == CURLE_OK ? bytes : 0;
}

// What the callbacks learn of the response in hand.
struct Response {
  CURL* curl = nullptr;
  int status = 0;           // of the last status line read
  bool namesPlace = false;  // the head has a Location, so a redirect is followed
  bool finalHead = false;   // the answer's head is complete: not a redirect that is followed
  // RequestBytesSent when the head of the last redirect followed ended; -1
  // before any. More bytes sent since then means the redirect's request went
  // out.
  long requestBytesAtRedirect = -1;
  std::string body;  // of a 200, at most kMaxResponseBodyBytes
  bool full = false;  // the body limit is reached
};

bool StartsWith(const char* data, std::size_t size, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  return size >= n && strncasecmp(data, prefix, n) == 0;
}

// Called for every line of every head, those of redirects and of
// "100 Continue" included. A head whose status is final (not 1xx, not a
// redirect that names a place) is the answer's.
std::size_t ReadHeadLine(char* data, std::size_t size, std::size_t count, void* user) {
  Response& response = *static_cast<Response*>(user);
  const std::size_t bytes = size * count;
  if (StartsWith(data, bytes, "HTTP/")) {
    const char* blank = static_cast<const char*>(std::memchr(data, ' ', bytes));
    response.status = blank != nullptr ? std::atoi(blank + 1) : 0;
    response.namesPlace = false;
    return bytes;
  }
  if (StartsWith(data, bytes, "Location:")) response.namesPlace = true;
  const bool endOfHead = StartsWith(data, bytes, "\r\n") || StartsWith(data, bytes, "\n");
  if (!endOfHead) return bytes;
  const int s = response.status;
  if (s >= 100 && s < 200) return bytes;
  if (s >= 300 && s < 400 && response.namesPlace) {
    response.requestBytesAtRedirect = RequestBytesSent(response.curl);
    return bytes;
  }
  response.finalHead = true;
  return bytes;
}

std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* user) {
  Response& response = *static_cast<Response*>(user);
  const std::size_t bytes = size * count;
  // Only a 200's body is kept, and no more of it than the limit: the rest
  // is taken and dropped, and the exchange stops driving the transfer.
  if (!response.finalHead || response.status != 200) return bytes;
  const std::size_t room = platform::kMaxResponseBodyBytes - response.body.size();
  response.body.append(data, std::min(bytes, room));
  response.full = response.body.size() == platform::kMaxResponseBodyBytes;
  return bytes;
}

// libcurl's failures that come from the reply itself: it is not HTTP, its
// status line or head is garbled, or the server closed the connection before
// a whole status line (perhaps without a byte). They are answers whose
// status cannot be read. Every other failure is no answer.
bool IsUnreadableReply(CURLcode code) {
  return code == CURLE_UNSUPPORTED_PROTOCOL || code == CURLE_WEIRD_SERVER_REPLY ||
         code == CURLE_GOT_NOTHING;
}

class CurlExchange : public platform::HttpExchange {
 public:
  // Sends the request and waits for the answer's head.
  explicit CurlExchange(const platform::HttpRequest& request);
  ~CurlExchange() override;
  CurlExchange(const CurlExchange&) = delete;
  CurlExchange& operator=(const CurlExchange&) = delete;

  bool Answered() const override { return answered_; }
  int StatusCode() override { return answered_ ? status_ : 0; }
  bool ReadBody(std::string& body) override;

 private:
  bool Start(const platform::HttpRequest& request);
  // Runs the transfer until `enough` holds, the transfer ends, or the
  // deadline passes (then `timedOut_`).
  void Drive(const std::function<bool()>& enough);
  // After a failure that came from a reply: true when it was the reply to
  // the last request, false when a redirect's request never went out (it
  // could not be followed).
  bool FailedOnTheLastRequestsReply() const;

  UniqueCurlMulti multi_;
  UniqueCurlList headers_;
  UniqueCurl curl_;
  bool added_ = false;  // curl_ is in multi_
  Response response_;
  Clock::time_point deadline_;
  bool ended_ = false;  // the transfer is over, with `result_`
  CURLcode result_ = CURLE_OK;
  bool timedOut_ = false;
  bool answered_ = false;
  int status_ = 0;
};

CurlExchange::CurlExchange(const platform::HttpRequest& request)
    : deadline_(Clock::now() + std::chrono::milliseconds(std::max(0, request.totalTimeoutMs))) {
  if (!Start(request)) return;
  Drive([this] { return response_.finalHead; });
  if (response_.finalHead) {
    answered_ = true;
    status_ = response_.status;
  } else if (ended_ && result_ == CURLE_OK) {
    // The server closed the connection inside the head, after its status
    // line: that status is the answer.
    answered_ = true;
    status_ = response_.status;
  } else if (ended_ && IsUnreadableReply(result_) && FailedOnTheLastRequestsReply()) {
    answered_ = true;
    status_ = 0;
  }
}

CurlExchange::~CurlExchange() {
  // The request first, then the multi handle with the connection it holds.
  if (added_) curl_multi_remove_handle(multi_.get(), curl_.get());
  curl_.reset();
  multi_.reset();
}

bool CurlExchange::Start(const platform::HttpRequest& request) {
  if (!CurlReady()) return false;
  multi_.reset(curl_multi_init());
  curl_.reset(curl_easy_init());
  // No header of libcurl's own beyond Host and User-Agent: its default
  // "Accept: */*" is taken out.
  headers_.reset(curl_slist_append(nullptr, "Accept:"));
  if (!multi_ || !curl_ || !headers_) return false;

  const std::string url =
      "http://" + request.host + ":" + std::to_string(request.port) + request.path;
  response_.curl = curl_.get();
  CURL* c = curl_.get();
  bool set = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
  // The path is already encoded: "/../" or "%2e" must not be rewritten.
  set = set && curl_easy_setopt(c, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers_.get()) == CURLE_OK;
  // Redirects are followed, a few and only to other http addresses.
  set = set && curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http") == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_USERAGENT, request.userAgent.c_str()) == CURLE_OK;
  // libcurl reads 0 as "no limit"; a limit of 0 or less means "none left".
  // The exchange keeps the total limit itself too, across the caller's
  // calls; libcurl's own makes it wake up in time.
  const long connectMs = std::max(1, request.connectTimeoutMs);
  const long totalMs = std::max(1, request.totalTimeoutMs);
  set = set && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, totalMs) == CURLE_OK;
  // Time limits without SIGALRM, which would hit whichever thread it likes.
  set = set && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &ReadHeadLine) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HEADERDATA, &response_) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &KeepBody) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_WRITEDATA, &response_) == CURLE_OK;
  if (!set || curl_multi_add_handle(multi_.get(), c) != CURLM_OK) return false;
  added_ = true;
  return true;
}

void CurlExchange::Drive(const std::function<bool()>& enough) {
  while (!ended_ && !timedOut_ && !enough()) {
    int running = 0;
    if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) {
      ended_ = true;
      result_ = CURLE_FAILED_INIT;
      return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &queued)) {
      if (message->msg != CURLMSG_DONE) continue;
      ended_ = true;
      result_ = message->data.result;
    }
    if (ended_ || enough()) return;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0) {
      timedOut_ = true;
      return;
    }
    // libcurl wakes up earlier for its own timers (the connect limit).
    const int waitMs = static_cast<int>(std::min<long long>(left, 1000));
    if (curl_multi_poll(multi_.get(), nullptr, 0, waitMs, nullptr) != CURLM_OK) {
      ended_ = true;
      result_ = CURLE_FAILED_INIT;
      return;
    }
  }
}

bool CurlExchange::FailedOnTheLastRequestsReply() const {
  return response_.requestBytesAtRedirect < 0 ||
         RequestBytesSent(curl_.get()) > response_.requestBytesAtRedirect;
}

bool CurlExchange::ReadBody(std::string& body) {
  body.clear();
  if (!answered_) return false;
  if (status_ != 200) return true;
  Drive([this] { return response_.full; });
  if (!response_.full && !(ended_ && result_ == CURLE_OK)) return false;
  body = response_.body;
  return true;
}

}  // namespace

std::unique_ptr<platform::HttpExchange> CurlHttpClient::Send(const platform::HttpRequest& request) {
  return std::make_unique<CurlExchange>(request);
}

}  // namespace quorvel::linux_os
