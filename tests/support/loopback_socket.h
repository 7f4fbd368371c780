// The few socket calls a loopback test server needs, over POSIX sockets or
// Winsock: the server itself is the same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel::loopback {

using SocketId = std::intptr_t;
constexpr SocketId kNoSocket = -1;

// False when sockets cannot be used at all (Winsock did not start).
bool SocketsReady();
// A socket listening on 127.0.0.1 at an ephemeral port, which `port`
// receives; kNoSocket when there is none.
SocketId ListenOnLoopback(int* port);
SocketId Accept(SocketId listener);
// True when `s` has something to read (or a connection to accept) within
// `ms` milliseconds.
bool WaitReadable(SocketId s, int ms);
// Bytes received or sent; 0 or less when the connection is gone.
long Receive(SocketId s, char* buffer, std::size_t size);
long Send(SocketId s, const char* bytes, std::size_t size);
void ShutdownSending(SocketId s);
void CloseSocket(SocketId s);

}  // namespace quorvel::loopback
