// A small compositor in the test's own process (libwayland-server on a
// thread of its own), for what a real one cannot be made to do: offer only
// some globals, or old versions of them, and hold the buffers it is given
// for as long as the test says while checking that nobody draws into them.
//
// It offers wl_compositor (surfaces that take buffers and commits; nothing
// is shown), optionally wl_shm and one wl_output of 800 x 600 at 60 Hz. The
// client end of the connection comes from `TakeClientFd`.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace quorvel::wayland_test {

struct FakeOffer {
  int compositorVersion = 4;  // 0: no wl_compositor
  bool shm = true;
  bool output = true;
};

// What the compositor does with the buffers committed to it.
enum class BufferHolding {
  ReleasePrevious,  // holds the newest buffer of each surface, releases the one before
  HoldAll,          // releases nothing until ReleaseAll
};

class FakeCompositor {
 public:
  explicit FakeCompositor(const FakeOffer& offer);
  ~FakeCompositor();
  FakeCompositor(const FakeCompositor&) = delete;
  FakeCompositor& operator=(const FakeCompositor&) = delete;

  // The client's end of the one connection (-1 once taken, or when the
  // compositor could not be made).
  int TakeClientFd();

  void SetHolding(BufferHolding holding);
  // Releases every buffer held (on the compositor's thread, soon after).
  void ReleaseAll();

  // Commits that carried a buffer.
  int bufferCommits() const { return bufferCommits_; }
  // Buffers held right now.
  int held() const { return held_; }
  // Times a held buffer's pixels were found changed: the client drew into
  // a buffer the compositor had not released.
  int writesWhileHeld() const { return writesWhileHeld_; }

  struct State;  // the compositor's side, on its thread

 private:
  void Run();

  std::unique_ptr<State> state_;
  int clientFd_ = -1;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> bufferCommits_{0};
  std::atomic<int> held_{0};
  std::atomic<int> writesWhileHeld_{0};
  std::atomic<bool> releaseAll_{false};
  std::atomic<int> holding_{0};
  friend struct State;
};

}  // namespace quorvel::wayland_test
