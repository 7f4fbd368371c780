#include "platform/win32/wininet_http_client.h"

#include "platform/win32/windows_api.h"

#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace quorvel::win32 {
namespace {

// What the caller and the thread that makes the request share. The handles
// are closed exactly once, under the mutex, by whichever side gets there
// first: the thread when it is done, or the caller when time runs out.
struct Exchange {
  std::string host;
  int port = 0;
  std::string path;
  std::string userAgent;
  DWORD connectTimeoutMs = 0;
  DWORD totalTimeoutMs = 0;

  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;       // the thread has put its answer in `result`
  bool abandoned = false;  // the caller stopped waiting and closed the handles
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  platform::HttpResult result;

  // With the mutex held.
  void CloseHandles() {
    for (HINTERNET* handle : {&request, &connection, &session}) {
      if (*handle != nullptr) ::InternetCloseHandle(std::exchange(*handle, nullptr));
    }
  }
};

// Keeps a new handle in the shared state so that the caller can close it;
// null (and the handle closed) when the caller has already given up.
HINTERNET Keep(Exchange& x, HINTERNET handle, HINTERNET Exchange::*slot) {
  if (handle == nullptr) return nullptr;
  std::lock_guard<std::mutex> lock(x.mutex);
  if (x.abandoned) {
    ::InternetCloseHandle(handle);
    return nullptr;
  }
  x.*slot = handle;
  return handle;
}

// WinINet tidies the object name it is given as if it were a file path:
// "\" becomes "/", and "/./" and "/x/../" segments are taken out, even in
// the query, where they belong to a value (a user name "a/../b" would cut
// the parameters before it). The query's backslashes and the dots that start
// a segment are therefore sent percent-encoded, which the server decodes to
// the same values.
std::string ObjectNameFor(const std::string& path) {
  const std::size_t query = path.find('?');
  if (query == std::string::npos) return path;
  std::string name = path.substr(0, query);
  bool segmentStart = false;
  for (std::size_t i = query; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '\\') {
      name += "%5C";
    } else if (c == '.' && segmentStart) {
      name += "%2E";
      continue;  // a run of dots is encoded whole
    } else {
      name += c;
    }
    segmentStart = c == '/' || c == '\\';
  }
  return name;
}

bool Abandoned(Exchange& x) {
  std::lock_guard<std::mutex> lock(x.mutex);
  return x.abandoned;
}

platform::HttpResult MakeRequest(Exchange& x) {
  platform::HttpResult result;
  const HINTERNET session =
      Keep(x, ::InternetOpenA(x.userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
           &Exchange::session);
  if (session == nullptr) return result;
  // Each step may take as long as the whole exchange; the caller keeps the
  // total. The handles made from the session take these limits over.
  DWORD connectMs = x.connectTimeoutMs;
  DWORD stepMs = x.totalTimeoutMs;
  ::InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
  ::InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &stepMs, sizeof stepMs);
  ::InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &stepMs, sizeof stepMs);

  const HINTERNET connection =
      Keep(x,
           ::InternetConnectA(session, x.host.c_str(), static_cast<INTERNET_PORT>(x.port),
                              nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 1),
           &Exchange::connection);
  if (connection == nullptr) return result;
  // The connection may be reused; redirects are followed, as WinINet does
  // unless told otherwise. No flag that adds a header of its own ("Pragma:
  // no-cache"); the answer is kept out of the cache so that a later upload
  // of the same results is not answered from it.
  const DWORD flags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_CACHE_WRITE;
  const HINTERNET request =
      Keep(x,
           ::HttpOpenRequestA(connection, "GET", ObjectNameFor(x.path).c_str(), nullptr, nullptr, nullptr,
                              flags, 1),
           &Exchange::request);
  if (request == nullptr) return result;
  if (Abandoned(x) || !::HttpSendRequestA(request, nullptr, 0, nullptr, 0)) return result;

  // An answer whose status cannot be read is still an answer.
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr)) {
    status = 0;
  }
  // Only a 200 has its body read; any other status is the answer as it
  // stands, however slowly its body would come.
  std::string body;
  while (status == 200 && body.size() < platform::kMaxResponseBodyBytes) {
    char buffer[platform::kMaxResponseBodyBytes];
    const DWORD want =
        static_cast<DWORD>(std::min(sizeof buffer, platform::kMaxResponseBodyBytes - body.size()));
    DWORD got = 0;
    if (Abandoned(x) || !::InternetReadFile(request, buffer, want, &got)) return result;
    if (got == 0) break;
    body.append(buffer, got);
  }
  result.ok = true;
  result.status = static_cast<int>(status);
  result.body = std::move(body);
  return result;
}

void RunExchange(const std::shared_ptr<Exchange>& x) {
  platform::HttpResult result = MakeRequest(*x);
  {
    std::lock_guard<std::mutex> lock(x->mutex);
    x->result = std::move(result);
    x->done = true;
    x->CloseHandles();
  }
  x->finished.notify_all();
}

}  // namespace

platform::HttpResult WinInetHttpClient::Get(const std::string& host, int port,
                                            const std::string& path,
                                            const std::string& userAgent, int connectTimeoutMs,
                                            int totalTimeoutMs) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, totalTimeoutMs));
  auto x = std::make_shared<Exchange>();
  x->host = host;
  x->port = port;
  x->path = path;
  x->userAgent = userAgent;
  x->connectTimeoutMs = static_cast<DWORD>(std::max(1, connectTimeoutMs));
  x->totalTimeoutMs = static_cast<DWORD>(std::max(1, totalTimeoutMs));

  std::thread worker;
  try {
    worker = std::thread([x] { RunExchange(x); });
  } catch (const std::system_error&) {
    return platform::HttpResult{};
  }

  std::unique_lock<std::mutex> lock(x->mutex);
  if (x->finished.wait_until(lock, deadline, [&x] { return x->done; })) {
    platform::HttpResult result = std::move(x->result);
    lock.unlock();
    worker.join();
    return result;
  }
  // Time is up. Closing the handles makes a blocked WinINet call return;
  // the thread then finds the exchange abandoned and ends by itself.
  x->abandoned = true;
  x->CloseHandles();
  lock.unlock();
  worker.detach();
  return platform::HttpResult{};
}

}  // namespace quorvel::win32
