#ifdef _WIN32
#include <winsock2.h>

#include "support/loopback_socket.h"

namespace quorvel::loopback {
namespace {

// The Winsock functions the test server needs, found at run time: the test
// program is linked only with what the backend itself uses.
class Winsock {
 public:
  static Winsock& Get() {
    static Winsock winsock;
    return winsock;
  }
  bool ok() const { return ok_; }

  decltype(&::socket) socket = nullptr;
  decltype(&::bind) bind = nullptr;
  decltype(&::listen) listen = nullptr;
  decltype(&::getsockname) getsockname = nullptr;
  decltype(&::select) select = nullptr;
  decltype(&::accept) accept = nullptr;
  decltype(&::recv) recv = nullptr;
  decltype(&::send) send = nullptr;
  decltype(&::shutdown) shutdown = nullptr;
  decltype(&::closesocket) closesocket = nullptr;

 private:
  Winsock() {
    module_ = ::LoadLibraryA("ws2_32.dll");
    if (module_ == nullptr) return;
    decltype(&::WSAStartup) startup = nullptr;
    Find(startup, "WSAStartup");
    const bool found = Find(socket, "socket") && Find(bind, "bind") && Find(listen, "listen") &&
                       Find(getsockname, "getsockname") && Find(select, "select") &&
                       Find(accept, "accept") && Find(recv, "recv") && Find(send, "send") &&
                       Find(shutdown, "shutdown") && Find(closesocket, "closesocket");
    WSADATA data;
    ok_ = found && startup != nullptr && startup(MAKEWORD(2, 2), &data) == 0;
  }
  template <typename Function>
  bool Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    return function != nullptr;
  }

  HMODULE module_ = nullptr;
  bool ok_ = false;
};

SOCKET Native(SocketId s) { return static_cast<SOCKET>(s); }

SocketId Id(SOCKET s) { return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketId>(s); }

unsigned short SwapBytes(unsigned short value) {
  return static_cast<unsigned short>((value << 8) | (value >> 8));
}

}  // namespace

bool SocketsReady() { return Winsock::Get().ok(); }

SocketId ListenOnLoopback(int* port) {
  Winsock& ws = Winsock::Get();
  if (!ws.ok()) return kNoSocket;
  const SOCKET s = ws.socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return kNoSocket;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.S_un.S_un_b = {127, 0, 0, 1};
  int length = sizeof address;
  if (ws.bind(s, reinterpret_cast<sockaddr*>(&address), length) != 0 || ws.listen(s, 8) != 0 ||
      ws.getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ws.closesocket(s);
    return kNoSocket;
  }
  *port = SwapBytes(address.sin_port);
  return Id(s);
}

SocketId Accept(SocketId listener) {
  return Id(Winsock::Get().accept(Native(listener), nullptr, nullptr));
}

bool WaitReadable(SocketId s, int ms) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(Native(s), &readable);
  timeval wait{0, ms * 1000};
  // Only one socket is asked about: any ready one is it.
  return Winsock::Get().select(0, &readable, nullptr, nullptr, &wait) > 0;
}

long Receive(SocketId s, char* buffer, std::size_t size) {
  return Winsock::Get().recv(Native(s), buffer, static_cast<int>(size), 0);
}

long Send(SocketId s, const char* bytes, std::size_t size) {
  return Winsock::Get().send(Native(s), bytes, static_cast<int>(size), 0);
}

void ShutdownSending(SocketId s) { Winsock::Get().shutdown(Native(s), SD_SEND); }

void CloseSocket(SocketId s) { Winsock::Get().closesocket(Native(s)); }

}  // namespace quorvel::loopback
#endif
