// The connection: what it binds from a real weston, what it says when
// globals are missing (from a compositor that offers only some), and a
// socket nobody listens on.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wayland-client.h>

#include <string>
#include <vector>

#include "fake_compositor.h"
#include "platform/wayland/clock_reading.h"
#include "platform/wayland/compositor_process.h"
#include "platform/wayland/presentation_recorder.h"
#include "platform/wayland/toplevel.h"
#include "platform/wayland/wayland_connection.h"
#include "weston_fixture.h"

namespace quorvel::wayland_test {
namespace {

using wayland::WaylandConnection;

std::vector<std::string> MissingNames(const WaylandConnection& connection) {
  std::vector<std::string> names;
  for (const auto& missing : connection.missing()) names.push_back(missing.interface);
  return names;
}

TEST_F(OnWeston, BindsWhatWestonOffersAndNamesIt) {
  WaylandConnection& connection = *connection_;
  EXPECT_EQ(connection.compositorName(), "weston");
  EXPECT_NE(connection.compositor(), nullptr);
  EXPECT_NE(connection.subcompositor(), nullptr);
  EXPECT_NE(connection.shm(), nullptr);
  EXPECT_NE(connection.wmBase(), nullptr);
  EXPECT_NE(connection.presentation(), nullptr);
  EXPECT_NE(connection.viewporter(), nullptr);
  EXPECT_TRUE(connection.HasShmFormat(WL_SHM_FORMAT_ARGB8888));
  EXPECT_TRUE(connection.HasShmFormat(WL_SHM_FORMAT_XRGB8888));
  EXPECT_TRUE(connection.HasRequiredGlobals()) << wayland::DescribeMissing(connection.missing());
  // Headless weston has no input devices, so it may offer no seat; nothing
  // else may be missing.
  for (const std::string& name : MissingNames(connection)) EXPECT_EQ(name, "wl_seat");

  // Its presentation clock is one this process can read.
  ASSERT_TRUE(connection.hasPresentationClock());
  EXPECT_GE(wayland::ClockNs(connection.presentationClock()), 0)
      << wayland::ClockName(connection.presentationClock());

  const wayland::OutputInfo* output = connection.FirstOutputWithMode();
  ASSERT_NE(output, nullptr);
  EXPECT_TRUE(output->done);
  EXPECT_EQ(output->current.width, 1280);
  EXPECT_EQ(output->current.height, 1024);
  EXPECT_EQ(output->current.refreshMilliHz, 60000);
  EXPECT_EQ(output->scale, 1);
  EXPECT_EQ(connection.Roundtrip(1000), wayland::Wait::Done);
  EXPECT_FALSE(connection.failed());
}

TEST(WaylandConnect, NoCompositorAtTheSocketIsAnErrorValue) {
  std::string why;
  auto connection = WaylandConnection::Connect("/nonexistent/quorvel-wayland-socket", &why);
  EXPECT_EQ(connection, nullptr);
  EXPECT_NE(why.find("/nonexistent/quorvel-wayland-socket"), std::string::npos) << why;
}

struct MissingCase {
  const char* name;
  FakeOffer offer;
  std::vector<std::string> missing;  // in the order the connection lists them
};

class MissingGlobals : public ::testing::TestWithParam<MissingCase> {};

TEST_P(MissingGlobals, AreNamedNeededFirstAndNothingCrashes) {
  FakeCompositor fake(GetParam().offer);
  std::string why;
  auto connection = WaylandConnection::ConnectToFd(fake.TakeClientFd(), &why);
  ASSERT_TRUE(connection) << why;
  EXPECT_EQ(MissingNames(*connection), GetParam().missing);
  EXPECT_FALSE(connection->HasRequiredGlobals());
  const std::string described = wayland::DescribeMissing(connection->missing());
  EXPECT_NE(described.find("wl_subcompositor (needed: the test window is a subsurface)"),
            std::string::npos)
      << described;
  // The compositor is this process, at the other end of the socket pair.
  EXPECT_EQ(connection->compositorName(), wayland::ProcessCommandName(getpid()));

  // What needs a missing global says so instead of failing later.
  auto window = wayland::Toplevel::Create(*connection, "Quorvel", 0, &why, 500);
  EXPECT_EQ(window, nullptr);
  EXPECT_NE(why.find("offers no"), std::string::npos) << why;
  wayland::PresentationRecorder recorder(*connection);
  EXPECT_FALSE(recorder.available());
  recorder.BeforeCommit(nullptr);
  const wayland::PresentationReport report = recorder.Take(0);
  EXPECT_FALSE(report.reported);
  EXPECT_EQ(report.commits, 0);
  EXPECT_EQ(connection->Roundtrip(1000), wayland::Wait::Done);
}

INSTANTIATE_TEST_SUITE_P(
    FromAFakeCompositor, MissingGlobals,
    ::testing::Values(
        MissingCase{"compositor_shm_and_output",
                    {4, true, true},
                    {"wl_subcompositor", "xdg_wm_base", "wp_presentation", "wp_viewporter",
                     "wl_seat"}},
        MissingCase{"compositor_too_old",
                    {3, true, false},
                    {"wl_compositor", "wl_subcompositor", "xdg_wm_base", "wp_presentation",
                     "wp_viewporter", "wl_output", "wl_seat"}},
        MissingCase{"nothing",
                    {0, false, false},
                    {"wl_compositor", "wl_subcompositor", "wl_shm", "xdg_wm_base",
                     "wp_presentation", "wp_viewporter", "wl_output", "wl_seat"}}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return std::string(info.param.name); });

TEST(MissingGlobalsFromAFakeCompositor, AnOldVersionSaysWhichWasOfferedAndWhichIsNeeded) {
  FakeCompositor fake({3, true, true});
  std::string why;
  auto connection = WaylandConnection::ConnectToFd(fake.TakeClientFd(), &why);
  ASSERT_TRUE(connection) << why;
  EXPECT_EQ(connection->compositor(), nullptr);
  EXPECT_NE(wayland::DescribeMissing(connection->missing())
                .find("wl_compositor (needed: version 3 offered, 4 needed"),
            std::string::npos)
      << wayland::DescribeMissing(connection->missing());
  // What the fake does offer is read as from any compositor.
  const wayland::OutputInfo* output = connection->FirstOutputWithMode();
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->current.width, 800);
  EXPECT_EQ(output->current.height, 600);
  EXPECT_EQ(output->make, "Quorvel");
}

}  // namespace
}  // namespace quorvel::wayland_test
