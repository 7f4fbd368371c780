// The blend capabilities on the test display, without and with a compositing
// manager (xcompmgr) running.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/facts.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/facts/x11_facts.h"

namespace quorvel::x11 {
namespace {

using Clock = std::chrono::steady_clock;

// xcompmgr on the test display for the life of the object.
class Compositor {
 public:
  Compositor() {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("xcompmgr", "xcompmgr", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Compositor() { Stop(); }
  bool started() const { return pid_ > 0; }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

class BlendCaps : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    connection_ = XConnection::Open(nullptr, &why);
    ASSERT_TRUE(connection_) << "these tests need an X display in DISPLAY: " << why;
    const std::string name = "_NET_WM_CM_S" + std::to_string(connection_->screen());
    selection_ = XInternAtom(connection_->display(), name.c_str(), False);
  }

  bool CompositorOwnsTheSelection() {
    return XGetSelectionOwner(connection_->display(), selection_) != None;
  }
  // Polls until the selection has (or no longer has) an owner, up to 3 s.
  bool WaitForOwner(bool owned) {
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (CompositorOwnsTheSelection() != owned) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  std::unique_ptr<XConnection> connection_;
  Atom selection_ = None;
};

TEST_F(BlendCaps, AlphaBitsFollowTheCompositingManagerAndRenderGivesGradients) {
  if (CompositorOwnsTheSelection()) GTEST_SKIP() << "a compositing manager already runs here";
  X11Facts facts(*connection_, "/");
  constexpr std::uint32_t kAlpha = platform::kBlendConstantAlpha | platform::kBlendPerPixelAlpha;

  std::uint32_t caps = facts.ShadeBlendCaps();
  EXPECT_EQ(caps & kAlpha, 0u);
  // Xvfb offers RENDER 0.11.
  EXPECT_EQ(caps & platform::kBlendGradientRect, platform::kBlendGradientRect);
  EXPECT_EQ(caps & (platform::kBlendPremultipliedAlpha | platform::kBlendGradientTriangle), 0u);

  Compositor compositor;
  ASSERT_TRUE(compositor.started());
  ASSERT_TRUE(WaitForOwner(true)) << "xcompmgr took no _NET_WM_CM_S selection";
  caps = facts.ShadeBlendCaps();
  // Xvfb's depth-24 screen has a depth-32 ARGB visual beside it.
  EXPECT_EQ(caps & kAlpha, kAlpha);
  EXPECT_EQ(caps & platform::kBlendGradientRect, platform::kBlendGradientRect);

  // Asked again after the compositor has gone, the answer follows.
  compositor.Stop();
  ASSERT_TRUE(WaitForOwner(false));
  EXPECT_EQ(facts.ShadeBlendCaps() & kAlpha, 0u);
}

}  // namespace
}  // namespace quorvel::x11
