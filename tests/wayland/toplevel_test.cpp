// The main window on weston: configured full screen at the output's size,
// and drawn into buffers weston has let go of.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/wayland/shm_buffers.h"
#include "platform/wayland/toplevel.h"
#include "weston_fixture.h"

namespace quorvel::wayland_test {
namespace {

using wayland::ShmBuffer;
using wayland::Toplevel;

TEST_F(OnWeston, ToplevelIsConfiguredFullScreenAtTheOutputsSize) {
  std::string why;
  auto window = Toplevel::Create(*connection_, "Quorvel", 0x00204080, &why);
  ASSERT_TRUE(window) << why << "\n" << weston_.Log();
  const wayland::ToplevelConfigure& configure = window->firstConfigure();
  EXPECT_TRUE(configure.fullscreen);
  EXPECT_NE(configure.serial, 0u);
  EXPECT_EQ(window->width(), 1280);
  EXPECT_EQ(window->height(), 1024);
  EXPECT_FALSE(window->closeRequested());
  // The ack and the first picture were taken: a wrong one is a protocol
  // error, which ends the connection.
  EXPECT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done) << connection_->error();
}

TEST_F(OnWeston, MoreFramesThanBuffersDrawOnlyIntoReleasedBuffers) {
  std::string why;
  auto window = Toplevel::Create(*connection_, "Quorvel", 0, &why);
  ASSERT_TRUE(window) << why;
  std::map<ShmBuffer*, int> releasesWhenDrawn;
  constexpr int kFrames = 20;
  for (int frame = 0; frame < kFrames; ++frame) {
    bool drawn = false;
    const bool presented = window->Present(
        [&](ShmBuffer& buffer) {
          drawn = true;
          EXPECT_FALSE(buffer.held()) << "frame " << frame;
          if (releasesWhenDrawn.count(&buffer) != 0) {
            EXPECT_GT(buffer.releases(), releasesWhenDrawn[&buffer]) << "frame " << frame;
          }
          releasesWhenDrawn[&buffer] = buffer.releases();
          buffer.Fill(0x00010203u * static_cast<std::uint32_t>(frame));
        },
        2000);
    ASSERT_TRUE(presented) << "frame " << frame << ": " << connection_->error();
    EXPECT_TRUE(drawn);
  }
  EXPECT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done) << connection_->error();
}

}  // namespace
}  // namespace quorvel::wayland_test
