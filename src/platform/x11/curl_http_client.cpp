#include "platform/x11/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace quorvel::x11 {
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

struct Body {
  std::string bytes;
  bool full = false;  // the limit was reached and the transfer stopped on purpose
};

std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* user) {
  Body& body = *static_cast<Body*>(user);
  const std::size_t bytes = size * count;
  const std::size_t room = platform::kMaxResponseBodyBytes - body.bytes.size();
  if (bytes <= room) {
    body.bytes.append(data, bytes);
    return bytes;
  }
  // Enough has been read: keep what fits and end the transfer (libcurl
  // takes a short count as a write error, told apart below by `full`).
  body.bytes.append(data, room);
  body.full = true;
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
  Body body;
  CURL* c = curl.get();
  bool set = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
  // The path is already encoded: "/../" or "%2e" must not be rewritten.
  set = set && curl_easy_setopt(c, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_USERAGENT, userAgent.c_str()) == CURLE_OK;
  // libcurl reads 0 as "no limit"; a limit of 0 or less means "none left".
  const long connectMs = std::max(1, connectTimeoutMs);
  const long totalMs = std::max(1, totalTimeoutMs);
  set = set && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, totalMs) == CURLE_OK;
  // Time limits without SIGALRM, which would hit whichever thread it likes.
  set = set && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &KeepBody) == CURLE_OK;
  set = set && curl_easy_setopt(c, CURLOPT_WRITEDATA, &body) == CURLE_OK;
  if (!set) return result;

  const CURLcode code = curl_easy_perform(c);
  if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && body.full)) return result;

  long status = 0;
  if (curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) status = 0;
  result.ok = true;
  result.status = static_cast<int>(status);
  result.body = std::move(body.bytes);
  return result;
}

}  // namespace quorvel::x11
