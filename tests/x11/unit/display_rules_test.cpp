// The rules built on the X server's RandR outputs, without a server: which
// display names and outputs this machine's card drives, which output's mode
// the desktop's is, and the refresh rate of a mode's timings.
#include <gtest/gtest.h>

#include <vector>

#include "platform/x11/display/display_mode.h"
#include "platform/x11/display/randr_outputs.h"
#include "platform/x11/facts/display_origin.h"

namespace quorvel::x11 {
namespace {

TEST(DisplayOrigin, OnlyALocalServerWithAMonitorConnectorIsDrivenHere) {
  const struct {
    const char* name;
    bool local;
  } names[] = {
      {":0", true},           {":1.0", true},         {"unix:0", true},
      {"/tmp/.X11-unix/X0", true}, {"localhost:10.0", false}, {"remote:0", false},
      {"192.168.1.5:0.0", false},  {"", false},
  };
  for (const auto& n : names) EXPECT_EQ(DisplayNameIsLocal(n.name), n.local) << n.name;

  const struct {
    const char* output;
    bool connector;
  } outputs[] = {
      {"HDMI-1", true},    {"HDMI-A-0", true},  {"eDP-1", true},      {"eDP", true},
      {"DP1", true},       {"DP-0", true},      {"DisplayPort-2", true}, {"DVI-I-1", true},
      {"VGA-0", true},     {"LVDS1", true},     {"Virtual-1", true},  {"XWAYLAND0", true},
      {"DFP-0", true},     {"screen", false},   {"VNC-0", false},     {"rdp0", false},
      {"default", false},  {"DUMMY0", false},   {"DPMS", false},      {"", false},
  };
  for (const auto& o : outputs) EXPECT_EQ(IsMonitorConnectorName(o.output), o.connector) << o.output;

  RandrOutput hdmi;
  hdmi.name = "HDMI-1";
  hdmi.connected = true;
  RandrOutput xvfb;
  xvfb.name = "screen";
  xvfb.connected = true;
  RandrOutput unplugged = hdmi;
  unplugged.connected = false;
  EXPECT_TRUE(DisplayDrivenHere(":0", {xvfb, hdmi}));
  EXPECT_FALSE(DisplayDrivenHere("localhost:10.0", {hdmi}));  // ssh -X
  EXPECT_FALSE(DisplayDrivenHere(":99", {xvfb}));             // Xvfb
  EXPECT_FALSE(DisplayDrivenHere(":0", {unplugged}));
  EXPECT_FALSE(DisplayDrivenHere(":0", {}));  // no RandR
}

RandrOutput Output(const char* name, bool connected, bool primary, int x, int width, int height,
                   unsigned long clock = 148500000, unsigned hTotal = 2200, unsigned vTotal = 1125) {
  RandrOutput o;
  o.name = name;
  o.connected = connected;
  o.primary = primary;
  o.shown = width > 0;
  o.x = x;
  o.width = width;
  o.height = height;
  o.dotClock = clock;
  o.hTotal = hTotal;
  o.vTotal = vTotal;
  return o;
}

TEST(DisplayModeChoice, ThePrimaryMonitorElseTheFirstShownElseTheScreen) {
  const RandrOutput left = Output("DP-1", true, false, 0, 1920, 1080);
  const RandrOutput right = Output("HDMI-1", true, true, 1920, 2560, 1440, 241500000, 2720, 1481);
  const RandrOutput rightSecondary = Output("HDMI-1", true, false, 1920, 2560, 1440);
  const RandrOutput off = Output("VGA-1", false, false, 0, 0, 0);
  const struct {
    const char* what;
    std::vector<RandrOutput> outputs;
    int width, height, refresh;
  } cases[] = {
      {"two monitors side by side: the primary one", {left, right}, 2560, 1440, 60},
      {"no primary: the first connected one that shows a mode", {off, left, rightSecondary}, 1920, 1080,
       60},
      {"nothing shown: the whole screen", {off}, 4480, 1440, 0},
      {"no RandR: the whole screen", {}, 4480, 1440, 0},
  };
  for (const auto& c : cases) {
    const platform::DisplayMode mode = ModeOfOutputs(c.outputs, 4480, 1440, 32);
    EXPECT_EQ(mode.width, c.width) << c.what;
    EXPECT_EQ(mode.height, c.height) << c.what;
    EXPECT_EQ(mode.refresh, c.refresh) << c.what;
    EXPECT_EQ(mode.bitsPerPixel, 32) << c.what;
    EXPECT_EQ(mode.planes, 1) << c.what;
  }
  // 1080i: the vertical total spans both fields, so 30 frames a second;
  // a double-scan 320x240 mode at 60 frames draws each line twice.
  EXPECT_EQ(RefreshRate(74250000, 2200, 1125), 30);
  EXPECT_EQ(RefreshRate(25175000, 800, 262, true), 60);
}

TEST(DisplayMode, RefreshRateFromTheModeTimings) {
  EXPECT_EQ(RefreshRate(148500000, 2200, 1125), 60);   // 1920x1080@60
  EXPECT_EQ(RefreshRate(108000000, 1688, 1066), 60);   // 1280x1024@60 (60.02)
  EXPECT_EQ(RefreshRate(135000000, 1688, 1066), 75);   // 1280x1024@75 (75.02)
  EXPECT_EQ(RefreshRate(25175000, 800, 525), 60);      // 640x480 (59.94)
  EXPECT_EQ(RefreshRate(0, 1688, 1066), 0);            // Xvfb's modes have no clock
  EXPECT_EQ(RefreshRate(108000000, 0, 1066), 0);
}

}  // namespace
}  // namespace quorvel::x11
