// Shared-memory buffers: a buffer the compositor holds is never handed out
// for drawing, checked by a compositor that notices any change to the
// pixels of a buffer it holds; buffers that cannot be had are an error
// value; pixels are premultiplied ARGB.
#include <gtest/gtest.h>
#include <wayland-client.h>

#include <map>
#include <string>

#include "fake_compositor.h"
#include "platform/wayland/shm_buffers.h"
#include "platform/wayland/wayland_connection.h"

namespace quorvel::wayland_test {
namespace {

using wayland::ShmBuffer;
using wayland::ShmBuffers;
using wayland::ShmFormat;
using wayland::WaylandConnection;

class BuffersOnAFakeCompositor : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    connection_ = WaylandConnection::ConnectToFd(fake_.TakeClientFd(), &why);
    ASSERT_TRUE(connection_) << why;
    surface_ = wl_compositor_create_surface(connection_->compositor());
    ASSERT_NE(surface_, nullptr);
  }
  void TearDown() override {
    if (surface_ != nullptr) wl_surface_destroy(surface_);
  }

  // Draws `pixel` into `buffer` and commits it to the surface.
  void Show(ShmBuffer& buffer, std::uint32_t pixel) {
    buffer.Fill(pixel);
    buffer.AttachTo(surface_);
    wl_surface_damage_buffer(surface_, 0, 0, buffer.width(), buffer.height());
    wl_surface_commit(surface_);
    ASSERT_TRUE(connection_->Flush());
  }

  FakeCompositor fake_{FakeOffer{}};
  std::unique_ptr<WaylandConnection> connection_;
  wl_surface* surface_ = nullptr;
};

TEST_F(BuffersOnAFakeCompositor, MoreFramesThanBuffersReuseEachOnlyAfterItsRelease) {
  auto buffers = ShmBuffers::Create(*connection_, 64, 32, ShmFormat::Xrgb8888, 2, nullptr);
  ASSERT_TRUE(buffers);
  // The compositor keeps the newest picture and lets the one before go.
  fake_.SetHolding(BufferHolding::ReleasePrevious);
  std::map<ShmBuffer*, int> releasesWhenShown;
  constexpr int kFrames = 12;
  for (int frame = 0; frame < kFrames; ++frame) {
    ShmBuffer* buffer = buffers->Acquire(1000);
    ASSERT_NE(buffer, nullptr) << "frame " << frame;
    EXPECT_FALSE(buffer->held());
    if (releasesWhenShown.count(buffer) != 0) {
      EXPECT_GT(buffer->releases(), releasesWhenShown[buffer]) << "frame " << frame;
    }
    releasesWhenShown[buffer] = buffer->releases();
    Show(*buffer, 0x00010101u * static_cast<std::uint32_t>(frame + 1));
  }
  ASSERT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done);
  EXPECT_EQ(fake_.bufferCommits(), kFrames);
  EXPECT_EQ(fake_.writesWhileHeld(), 0);
  EXPECT_EQ(releasesWhenShown.size(), 2u);  // both buffers took turns
}

TEST_F(BuffersOnAFakeCompositor, AllHeldGivesNoBufferUntilTheCompositorReleasesOne) {
  auto buffers = ShmBuffers::Create(*connection_, 16, 16, ShmFormat::Argb8888Premultiplied, 2,
                                    nullptr);
  ASSERT_TRUE(buffers);
  fake_.SetHolding(BufferHolding::HoldAll);
  for (int frame = 0; frame < 2; ++frame) {
    ShmBuffer* buffer = buffers->Acquire(1000);
    ASSERT_NE(buffer, nullptr);
    Show(*buffer, 0xFF000000u + static_cast<std::uint32_t>(frame));
  }
  ASSERT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done);
  EXPECT_EQ(fake_.held(), 2);
  EXPECT_EQ(buffers->Acquire(50), nullptr);
  EXPECT_FALSE(connection_->failed());

  fake_.ReleaseAll();
  ShmBuffer* freed = buffers->Acquire(1000);
  ASSERT_NE(freed, nullptr);
  EXPECT_EQ(freed->releases(), 1);
  Show(*freed, 0xFF00FF00u);
  ASSERT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done);
  EXPECT_EQ(fake_.writesWhileHeld(), 0);
}

// The check the tests above rely on: drawing into a held buffer is seen.
TEST_F(BuffersOnAFakeCompositor, TheCompositorSeesABufferDrawnIntoWhileItHoldsIt) {
  auto buffers = ShmBuffers::Create(*connection_, 16, 16, ShmFormat::Xrgb8888, 1, nullptr);
  ASSERT_TRUE(buffers);
  fake_.SetHolding(BufferHolding::HoldAll);
  Show(buffers->at(0), 0x00112233u);
  ASSERT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done);
  buffers->at(0).pixels()[5] = 0x00FFFFFFu;  // what a faulty client would do
  fake_.ReleaseAll();
  ASSERT_NE(buffers->Acquire(1000), nullptr);
  EXPECT_EQ(fake_.writesWhileHeld(), 1);
}

struct UnmadeCase {
  const char* name;
  int width, height, count;
};

class BuffersThatCannotBeMade : public BuffersOnAFakeCompositor,
                                public ::testing::WithParamInterface<UnmadeCase> {};

TEST_P(BuffersThatCannotBeMade, AreAnErrorValueThatSaysWhy) {
  const UnmadeCase& c = GetParam();
  std::string why;
  EXPECT_EQ(ShmBuffers::Create(*connection_, c.width, c.height, ShmFormat::Xrgb8888, c.count, &why),
            nullptr);
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(connection_->Roundtrip(1000), wayland::Wait::Done);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BuffersThatCannotBeMade,
    ::testing::Values(UnmadeCase{"no_width", 0, 10, 2}, UnmadeCase{"no_height", 10, 0, 2},
                      UnmadeCase{"negative_width", -4, 4, 2}, UnmadeCase{"no_buffers", 4, 4, 0},
                      // More than wl_shm's 32-bit sizes and strides can say.
                      UnmadeCase{"over_2_GiB", 40000, 40000, 1},
                      UnmadeCase{"pair_over_2_GiB", 16384, 16384, 2},
                      UnmadeCase{"stride_over_2_GiB", 600000000, 1, 1}),
    [](const ::testing::TestParamInfo<UnmadeCase>& info) { return std::string(info.param.name); });

TEST(BuffersWithoutShm, AreAnErrorValueThatSaysWhy) {
  FakeCompositor fake({4, false, true});
  std::string why;
  auto connection = WaylandConnection::ConnectToFd(fake.TakeClientFd(), &why);
  ASSERT_TRUE(connection) << why;
  EXPECT_EQ(ShmBuffers::Create(*connection, 10, 10, ShmFormat::Xrgb8888, 2, &why), nullptr);
  EXPECT_EQ(why, "the compositor offers no wl_shm");
}

struct PixelCase {
  Colour colour;
  int alpha;
  std::uint32_t argb;
};

TEST(PremultipliedArgb, ScalesEachChannelByAlphaAndPutsRedAboveBlue) {
  const PixelCase cases[] = {
      {Rgb(0x30, 0x60, 0xF0), 255, 0xFF3060F0u},
      {Rgb(255, 255, 255), 128, 0x80808080u},
      {Rgb(255, 0, 0), 120, 0x78780000u},      // 47 %
      {Rgb(0, 0, 255), 128, 0x80000080u},      // 50 %
      {Rgb(200, 100, 50), 0, 0x00000000u},     // a colour key's hole
      {Rgb(1, 2, 3), 300, 0xFF010203u},        // alpha past 255 is 255
  };
  for (const PixelCase& c : cases) {
    EXPECT_EQ(wayland::PremultipliedArgb(c.colour, c.alpha), c.argb)
        << std::hex << c.colour << " at " << std::dec << c.alpha;
  }
}

}  // namespace
}  // namespace quorvel::wayland_test
