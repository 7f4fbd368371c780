// The compositor's name: the command name of the process behind the socket.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/wayland/compositor_process.h"
#include "support/temp_folder.h"

namespace quorvel::wayland_test {
namespace {

using wayland::ProcessCommandName;

TEST(CompositorProcess, CommandNameIsTheCommFileWithoutItsLineEnd) {
  test_support::TempFolder proc;
  std::filesystem::create_directories(proc / "4242");
  std::ofstream(proc / "4242/comm") << "sway\n";
  std::filesystem::create_directories(proc / "77");
  std::ofstream(proc / "77/comm") << "";

  EXPECT_EQ(ProcessCommandName(4242, proc.path()), "sway");
  EXPECT_EQ(ProcessCommandName(77, proc.path()), "");    // an empty file
  EXPECT_EQ(ProcessCommandName(5, proc.path()), "");     // no such process
  EXPECT_EQ(ProcessCommandName(0, proc.path()), "");     // SO_PEERCRED knew none
}

TEST(CompositorProcess, PeerOfALocalSocketIsTheProcessAtItsOtherEnd) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  EXPECT_EQ(wayland::SocketPeerName(fds[0]), ProcessCommandName(getpid()));
  EXPECT_FALSE(wayland::SocketPeerName(fds[0]).empty());
  close(fds[0]);
  close(fds[1]);
  // A pipe is no socket: nobody is at its other end.
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  EXPECT_EQ(wayland::SocketPeerName(pipeFds[0]), "");
  close(pipeFds[0]);
  close(pipeFds[1]);
}

}  // namespace
}  // namespace quorvel::wayland_test
