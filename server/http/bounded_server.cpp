#include "http/bounded_server.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "pages/html.h"

namespace quorvel::results_site {
namespace {

using Clock = std::chrono::steady_clock;

// A socket stream whose reads all end by one deadline.
class DeadlineStream : public httplib::Stream {
 public:
  DeadlineStream(int sock, Clock::time_point deadline, std::chrono::milliseconds ioTime)
      : sock_(sock), deadline_(deadline), ioTime_(ioTime) {}

  bool is_readable() const override { return Wait(POLLIN, ReadWait()); }
  bool is_writable() const override { return Wait(POLLOUT, ioTime_); }

  ssize_t read(char* ptr, size_t size) override {
    if (aheadOffset_ < ahead_.size()) {
      const std::size_t n = std::min(size, ahead_.size() - aheadOffset_);
      std::memcpy(ptr, ahead_.data() + aheadOffset_, n);
      aheadOffset_ += n;
      return static_cast<ssize_t>(n);
    }
    if (offset_ < filled_) {
      const std::size_t n = std::min(size, filled_ - offset_);
      std::memcpy(ptr, buffer_.data() + offset_, n);
      offset_ += n;
      return static_cast<ssize_t>(n);
    }
    if (received_ >= kMaxRequestBytes || !is_readable()) return -1;
    if (size >= buffer_.size()) return Receive(ptr, size);
    const ssize_t n = Receive(buffer_.data(), buffer_.size());
    if (n <= 0) return n;
    filled_ = static_cast<std::size_t>(n);
    offset_ = std::min(size, filled_);
    std::memcpy(ptr, buffer_.data(), offset_);
    return static_cast<ssize_t>(offset_);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    ssize_t n;
    do {
      n = ::send(sock_, ptr, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    Address(&getpeername, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    Address(&getsockname, ip, port);
  }
  socket_t socket() const override { return sock_; }
  std::size_t Received() const { return received_; }

  // Reads ahead, within the request's bounds, until the request line has
  // come whole, and gives it with its line end; empty when it did not come.
  // What was read ahead is still read by read(), the line as replaced.
  std::string RequestLine() {
    std::size_t end;
    while ((end = ahead_.find('\n')) == std::string::npos) {
      char chunk[4096];
      if (received_ >= kMaxRequestBytes || !is_readable()) return "";
      const ssize_t n = Receive(chunk, sizeof chunk);
      if (n <= 0) return "";
      ahead_.append(chunk, static_cast<std::size_t>(n));
    }
    return ahead_.substr(0, end + 1);
  }
  void ReplaceRequestLine(std::size_t length, const std::string& line) {
    ahead_.replace(0, length, line);
  }

 private:
  using NameCall = int (*)(int, sockaddr*, socklen_t*);

  std::chrono::milliseconds ReadWait() const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
    return std::max(std::chrono::milliseconds(0), std::min(left, ioTime_));
  }

  bool Wait(short events, std::chrono::milliseconds wait) const {
    pollfd p{sock_, events, 0};
    int rc;
    do {
      rc = ::poll(&p, 1, static_cast<int>(wait.count()));
    } while (rc < 0 && errno == EINTR);
    return rc > 0 && (p.revents & (events | POLLHUP | POLLERR)) != 0;
  }

  ssize_t Receive(char* ptr, std::size_t size) {
    size = std::min(size, kMaxRequestBytes - received_);
    ssize_t n;
    do {
      n = ::recv(sock_, ptr, size, 0);
    } while (n < 0 && errno == EINTR);
    if (n > 0) received_ += static_cast<std::size_t>(n);
    return n;
  }

  void Address(NameCall call, std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (call(sock_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return;
    char host[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
      ip = host;
      // An IPv4 client of a dual-stack socket is shown as plain IPv4.
      if (ip.rfind("::ffff:", 0) == 0 && ip.find('.') != std::string::npos) ip = ip.substr(7);
      port = std::atoi(service);
    }
  }

  int sock_;
  Clock::time_point deadline_;
  std::chrono::milliseconds ioTime_;
  std::array<char, 4096> buffer_{};
  std::size_t offset_ = 0;
  std::size_t filled_ = 0;
  std::size_t received_ = 0;
  std::string ahead_;  // read before the library asked: the request line and what came with it
  std::size_t aheadOffset_ = 0;
};

// The whole target of the request in hand on this thread when its line was
// too long for the library; empty otherwise.
thread_local std::string longTarget;

// A request line too long for the library, "METHOD TARGET VERSION\r\n",
// without the query of its target; `target` is the whole target. Nothing
// when the line is not of that form or even its path is too long.
std::optional<std::string> WithoutQuery(const std::string& line, std::string& target) {
  const std::size_t first = line.find(' ');
  const std::size_t last = line.rfind(' ');
  if (first == std::string::npos || last <= first) return std::nullopt;
  target = line.substr(first + 1, last - first - 1);
  const std::string shorter = line.substr(0, first + 1) + target.substr(0, target.find('?')) +
                              line.substr(last);
  if (shorter.size() > kLibraryRequestLineBytes) return std::nullopt;
  return shorter;
}

}  // namespace

std::string RequestTarget(const httplib::Request& req) {
  return longTarget.empty() ? req.target : longTarget;
}

int BoundedServer::Bind(const std::string& host, int port) {
  if (port == 0) {
    port = bind_to_any_port(host);
    if (port <= 0) return -1;
  } else if (!bind_to_port(host, port)) {
    return -1;
  }
  // Listening again on a listening socket only changes its queue length.
  ::listen(svr_sock_, SOMAXCONN);
  return port;
}

bool BoundedServer::process_and_close_socket(socket_t sock) {
  DeadlineStream stream(sock, Clock::now() + requestTime_, ioTime_);
  const std::string line = stream.RequestLine();
  longTarget.clear();
  if (line.size() > kLibraryRequestLineBytes) {
    std::string target;
    if (const std::optional<std::string> shorter = WithoutQuery(line, target)) {
      stream.ReplaceRequestLine(line.size(), *shorter);
      longTarget = std::move(target);
    }
  }
  bool closed = false;
  const bool ok = process_request(stream, true, closed, nullptr);
  longTarget.clear();
  longTarget.shrink_to_fit();
  if (!ok && stream.Received() > 0) {
    // No answer went out (or none could): say so in the request log.
    std::string ip = "-";
    int port = 0;
    stream.get_remote_ip_and_port(ip, port);
    const std::string line = UtcTime(std::time(nullptr), "%Y-%m-%dT%H:%M:%SZ") + " " + ip +
                             " - - dropped: the request was incomplete, too slow or too long\n";
    std::fputs(line.c_str(), stderr);
  }
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return ok;
}

}  // namespace quorvel::results_site
