#include "platform/linux/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <memory>
#include <utility>

namespace quorvel::linux_os {
namespace {

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using UniqueCurl = std::unique_ptr<CURL, CurlDeleter>;

// libcurl's global set-up, done once for the whole process before the first
// handle; a function-local static makes the first call safe from any thread.
// It is never undone: other code of the process may still use libcurl.
bool CurlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

struct CurlListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using UniqueCurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

// What the callbacks learn of the response in hand: the status of the last
// head read, and the body of a 200.
struct Response {
  int status = 0;
  bool namesPlace = false;  // the head has a Location, so a redirect is followed
  bool stoppedAtHead = false;  // a final status other than 200: the body is not read
  std::string body;
  bool full = false;  // the body limit was reached and the transfer stopped on purpose
};

bool StartsWith(const char* data, std::size_t size, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  return size >= n && strncasecmp(data, prefix, n) == 0;
}

// Called for every line of every head, those of redirects and of
// "100 Continue" included. A head whose status is final and not 200 ends
// the transfer at its blank line, so a body that never comes is not waited
// for. A redirect goes on: libcurl follows it when it names a place.
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
  const bool followed = s >= 300 && s < 400 && response.namesPlace;
  if (s == 200 || (s >= 100 && s < 200) || followed) return bytes;
  response.stoppedAtHead = true;
  return 0;
}

std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* user) {
  Response& response = *static_cast<Response*>(user);
  const std::size_t bytes = size * count;
  // The body of a redirect that was not followed (no Location) is not kept.
  if (response.status != 200) return bytes;
  const std::size_t room = platform::kMaxResponseBodyBytes - response.body.size();
  if (bytes <= room) {
    response.body.append(data, bytes);
    return bytes;
  }
  // Enough has been read: keep what fits and end the transfer (libcurl
  // takes a short count as a write error, told apart below by `full`).
  response.body.append(data, room);
  response.full = true;
  return 0;
}

}  // namespace

platform::HttpResult CurlHttpClient::Get(const std::string& host, int port,
                                         const std::string& path, const std::string& userAgent,
                                         int connectTimeoutMs, int totalTimeoutMs) {
  platform::HttpResult result;
  if (!CurlReady()) return result;
  UniqueCurl curl(curl_easy_init());
  if (!curl) return result;

  const std::string url = "http://" + host + ":" + std::to_string(port) + path;
  Response response;
  // No header of libcurl's own beyond Host and User-Agent: its default
  // "Accept: */*" is taken out.
  UniqueCurlList headers(curl_slist_append(nullptr, "Accept:"));
  if (!headers) return result;
  CURL* c = curl.get();
  bool set = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
  // The path is already encoded: "/../" or "%2e" must not be rewritten.
  set = set && curl_easy_setopt(c, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK;
  // Redirects are followed, a few and only to other http addresses.
  set = set && curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http") == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_USERAGENT, userAgent.c_str()) == CURLE_OK;
  // libcurl reads 0 as "no limit"; a limit of 0 or less means "none left".
  const long connectMs = std::max(1, connectTimeoutMs);
  const long totalMs = std::max(1, totalTimeoutMs);
  set = set && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, totalMs) == CURLE_OK;
  // Time limits without SIGALRM, which would hit whichever thread it likes.
  set = set && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &ReadHeadLine) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HEADERDATA, &response) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &KeepBody) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_WRITEDATA, &response) == CURLE_OK;
  if (!set) return result;

  const CURLcode code = curl_easy_perform(c);
  const bool stoppedOnPurpose =
      code == CURLE_WRITE_ERROR && (response.full || response.stoppedAtHead);
  if (code != CURLE_OK && !stoppedOnPurpose) return result;

  result.ok = true;
  result.status = response.status;
  result.body = std::move(response.body);
  return result;
}

}  // namespace quorvel::linux_os
