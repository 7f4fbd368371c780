#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/loopback_socket.h"

namespace quorvel::loopback {

bool SocketsReady() { return true; }

SocketId ListenOnLoopback(int* port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return kNoSocket;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(s, 8) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(s);
    return kNoSocket;
  }
  *port = ntohs(address.sin_port);
  return s;
}

SocketId Accept(SocketId listener) {
  const int s = ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
  return s < 0 ? kNoSocket : s;
}

bool WaitReadable(SocketId s, int ms) {
  pollfd p{static_cast<int>(s), POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

long Receive(SocketId s, char* buffer, std::size_t size) {
  return static_cast<long>(::recv(static_cast<int>(s), buffer, size, 0));
}

long Send(SocketId s, const char* bytes, std::size_t size) {
  return static_cast<long>(::send(static_cast<int>(s), bytes, size, MSG_NOSIGNAL));
}

void ShutdownSending(SocketId s) { ::shutdown(static_cast<int>(s), SHUT_WR); }

void CloseSocket(SocketId s) { ::close(static_cast<int>(s)); }

}  // namespace quorvel::loopback
#endif
