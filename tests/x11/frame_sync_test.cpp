// Updates from a worker on a desktop whose window manager reports drawn
// frames: the test plays that compositor on its own connection (it lists
// _NET_WM_FRAME_DRAWN in _NET_SUPPORTED, watches the window's extended frame
// counter and answers finished frames), times the worker's steps, which
// must not wait for it, and reads the answers counted beside them.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
// after Xlib.h
#include <X11/Xatom.h>
#include <X11/extensions/sync.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Lists _NET_WM_FRAME_DRAWN as supported on the root window while it lives.
class AdvertisedFrameDrawn {
 public:
  explicit AdvertisedFrameDrawn(XDriver& driver) : display_(driver.display()) {
    Atom drawn = XInternAtom(display_, "_NET_WM_FRAME_DRAWN", False);
    XChangeProperty(display_, DefaultRootWindow(display_), Supported(), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&drawn), 1);
    XSync(display_, False);
  }
  ~AdvertisedFrameDrawn() {
    XDeleteProperty(display_, DefaultRootWindow(display_), Supported());
    XSync(display_, False);
  }

 private:
  Atom Supported() { return XInternAtom(display_, "_NET_SUPPORTED", False); }
  Display* display_;
};

// The compositor's side: answers every finished frame (an even value of the
// extended counter) after `frameTime`, or never when `answers` is false.
void PlayCompositor(Window window, bool answers, milliseconds frameTime,
                    const std::atomic<bool>& stop, std::vector<unsigned long>& counters,
                    std::int64_t& lastAnswered) {
  XDriver driver;
  Display* d = driver.display();
  int major = 0, minor = 0;
  XSyncInitialize(d, &major, &minor);
  counters = driver.Property32(window, "_NET_WM_SYNC_REQUEST_COUNTER");
  if (counters.size() != 2) return;
  const Atom drawnType = XInternAtom(d, "_NET_WM_FRAME_DRAWN", False);
  while (!stop) {
    XSyncValue v;
    if (!XSyncQueryCounter(d, static_cast<XSyncCounter>(counters[1]), &v)) break;
    const std::int64_t value =
        (static_cast<std::int64_t>(XSyncValueHigh32(v)) << 32) | XSyncValueLow32(v);
    if (answers && value % 2 == 0 && value > lastAnswered) {
      std::this_thread::sleep_for(frameTime);
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = window;
      e.xclient.message_type = drawnType;
      e.xclient.format = 32;
      e.xclient.data.l[0] = static_cast<long>(value & 0xFFFFFFFF);
      e.xclient.data.l[1] = static_cast<long>(value >> 32);
      XSendEvent(d, window, False, 0, &e);
      XFlush(d);
      lastAnswered = value;
    }
    std::this_thread::sleep_for(milliseconds(1));
  }
}

struct CompositorCase {
  const char* name;
  bool advertised;
  bool answers;
  int counters;   // in _NET_WM_SYNC_REQUEST_COUNTER
  bool reported;  // the frame report says the desktop answers frames
};

class FrameDrawnAnswers : public X11Test, public ::testing::WithParamInterface<CompositorCase> {};

TEST_P(FrameDrawnAnswers, AreCountedWithoutHoldingAnyStepBack) {
  const CompositorCase& c = GetParam();
  constexpr milliseconds kFrameTime{20};
  std::unique_ptr<AdvertisedFrameDrawn> advertised;
  if (c.advertised) advertised = std::make_unique<AdvertisedFrameDrawn>(driver_);

  RecordingHandlers h;
  std::thread worker, compositor;
  std::atomic<bool> stop{false};
  std::vector<unsigned long> counters;
  std::int64_t lastAnswered = 0;
  std::vector<Clock::duration> steps;
  platform::FrameReport report;
  h.onInit = [&](platform::DialogHost& host) {
    const Window w = WindowOf(host);
    compositor = std::thread(PlayCompositor, w, c.answers, kFrameTime, std::cref(stop),
                             std::ref(counters), std::ref(lastAnswered));
    worker = std::thread([&] {
      while (!host.IsWindowVisible()) std::this_thread::sleep_for(milliseconds(5));
      host.TakeFrameReport();
      for (int i = 0; i < 4; ++i) {
        const Clock::time_point start = Clock::now();
        host.MoveWindow(10 * i, 0, 200, 300, true);
        host.UpdateWindow();
        steps.push_back(Clock::now() - start);
      }
      report = host.TakeFrameReport();
      stop = true;
      host.EndDialog(IDOK);
    });
  };
  ASSERT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);
  worker.join();
  compositor.join();

  EXPECT_EQ(counters.size(), static_cast<std::size_t>(c.counters));
  ASSERT_EQ(steps.size(), 4u);
  // No step waits a frame time for the compositor.
  for (int i = 0; i < 4; ++i) EXPECT_LT(steps[i], kFrameTime) << "step " << i;
  EXPECT_EQ(report.reported, c.reported);
  EXPECT_EQ(report.latencyNs.size(), static_cast<std::size_t>(report.drawn));
  if (c.answers) {
    // Each step is one finished frame: the move repaints, and the update
    // after it finds nothing invalid and sends nothing, as on Windows. The
    // report waited for the answer to the last one, and every answer came
    // a frame time after its frame.
    EXPECT_EQ(lastAnswered, 8);
    EXPECT_GE(report.drawn, 1);
    for (std::int64_t latency : report.latencyNs) {
      EXPECT_GE(latency, std::chrono::nanoseconds(kFrameTime).count() * 3 / 4);
    }
  } else {
    EXPECT_EQ(report.drawn, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compositors, FrameDrawnAnswers,
    ::testing::Values(CompositorCase{"Answering", true, true, 2, true},
                      CompositorCase{"Silent", true, false, 2, true},
                      CompositorCase{"NotAdvertised", false, false, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::x11::testing
