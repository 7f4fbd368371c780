// The modal loop: timers, ending from any thread, keys and the window
// manager's close, and a dialog run inside another.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

using DialogLoop = X11Test;

TEST_F(DialogLoop, TimerRepeatsUntilKilled) {
  RecordingHandlers h;
  int ticks = 0;
  h.onInit = [](platform::DialogHost& host) { host.SetTimer(1, 10); };
  h.onTimer = [&](platform::DialogHost& host, int id) {
    if (id == 1 && ++ticks == 3) {
      host.KillTimer(1);
      host.SetTimer(2, 60);  // time for more ticks, were timer 1 still running
    }
    if (id == 2) host.EndDialog(IDOK);
  };
  EXPECT_EQ(Run(IDD_MAIN_DIALOG, h), IDOK);
  EXPECT_EQ(ticks, 3);
}

TEST_F(DialogLoop, EndDialogFromAnotherThreadEndsTheLoopAndTearsDown) {
  RecordingHandlers h;
  std::thread worker;
  h.onInit = [&](platform::DialogHost& host) {
    worker = std::thread([&host] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      host.EndDialog(42);
    });
  };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run(IDD_MAIN_DIALOG, h), 42);
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  EXPECT_EQ(h.lifecycle, (std::vector<std::string>{"attach", "init", "destroy", "detach"}));
  EXPECT_EQ(h.host, nullptr);
  EXPECT_FALSE(h.nonClientActivated);
}

// The loop watches for a worker's next call for a moment after each one and
// then sleeps; a call must be served at once whichever state it finds.
TEST_F(DialogLoop, CallsFromAWorkerAreServedWhateverTheGapBetweenThem) {
  using std::chrono::microseconds;
  RecordingHandlers h;
  std::thread worker;
  std::chrono::steady_clock::duration slowest{};
  h.onInit = [&](platform::DialogHost& host) {
    worker = std::thread([&] {
      const microseconds gaps[] = {microseconds(0), microseconds(30), microseconds(200),
                                   microseconds(5000)};
      for (int i = 0; i < 160; ++i) {
        std::this_thread::sleep_for(gaps[i % 4]);
        const auto start = std::chrono::steady_clock::now();
        host.IsWindowVisible();
        slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
      }
      host.EndDialog(IDOK);
    });
  };
  EXPECT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);  // not the watchdog's end
  worker.join();
  // A lost wake-up would leave a call waiting for the watchdog's timer.
  EXPECT_LT(slowest, std::chrono::milliseconds(500));
}

TEST_F(DialogLoop, EndDialogDuringInitNeverShowsTheWindow) {
  RecordingHandlers h;
  bool everShown = true;
  h.onInit = [&](platform::DialogHost& host) {
    host.EndDialog(IDCANCEL);
    everShown = host.IsWindowVisible();
  };
  EXPECT_EQ(Run(IDD_LAYERED_TEST, h), IDCANCEL);
  EXPECT_FALSE(everShown);
  EXPECT_EQ(h.erasures, 0);
}

struct KeyCase {
  unsigned long keysym;
  int command;
};

class DialogKeys : public X11Test, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeys, EndTheDialogThroughOnCommand) {
  RecordingHandlers h;
  h.onShown = [&](platform::DialogHost& host) { driver_.SendKey(WindowOf(host), GetParam().keysym); };
  EXPECT_EQ(Run(IDD_MAIN_DIALOG, h), GetParam().command);
  EXPECT_EQ(h.commands, std::vector<int>{GetParam().command});
}

INSTANTIATE_TEST_SUITE_P(EscapeAndEnter, DialogKeys,
                         ::testing::Values(KeyCase{XK_Escape, IDCANCEL}, KeyCase{XK_Return, IDOK},
                                           KeyCase{XK_KP_Enter, IDOK}));

TEST_F(DialogLoop, WindowManagerCloseAsksOnSystemCommandThenCancels) {
  for (bool swallow : {false, true}) {
    RecordingHandlers h;
    h.swallowClose = swallow;
    h.onShown = [&](platform::DialogHost& host) {
      driver_.SendDeleteWindow(WindowOf(host));
      host.SetTimer(1, 150);
    };
    h.onTimer = [](platform::DialogHost& host, int) { host.EndDialog(5); };
    const int result = Run(IDD_LAYERED_TEST, h);
    EXPECT_EQ(h.systemCommands, std::vector<unsigned>{platform::kScClose}) << swallow;
    if (swallow) {
      EXPECT_EQ(result, 5);
      EXPECT_TRUE(h.commands.empty());
    } else {
      EXPECT_EQ(result, IDCANCEL);
      EXPECT_EQ(h.commands, std::vector<int>{IDCANCEL});
    }
  }
}

TEST_F(DialogLoop, NestedDialogKeepsTheOuterTimersAndTakesItsInput) {
  RecordingHandlers outer;
  RecordingHandlers inner;
  int outerTicks = 0;
  int outerTicksDuringInner = -1;
  int innerResult = 0;
  bool nested = false;

  inner.onInit = [](platform::DialogHost& host) {
    // The same timer id as the outer one: timers belong to their dialog.
    host.SetTimer(1, 200);
  };
  inner.onShown = [&](platform::DialogHost&) {
    driver_.SendKey(WindowOf(*outer.host), XK_Escape);  // the outer is disabled
  };
  inner.onTimer = [&](platform::DialogHost& host, int) { host.EndDialog(IDOK); };

  outer.onInit = [](platform::DialogHost& host) { host.SetTimer(1, 10); };
  outer.onTimer = [&](platform::DialogHost& host, int) {
    ++outerTicks;
    if (nested) return;
    nested = true;
    const int before = outerTicks;
    innerResult = Run(IDD_LAYERED_TEST, inner, &host);
    outerTicksDuringInner = outerTicks - before;
    host.EndDialog(IDOK);
  };

  EXPECT_EQ(Run(IDD_MAIN_DIALOG, outer), IDOK);
  EXPECT_EQ(innerResult, IDOK);
  EXPECT_GE(outerTicksDuringInner, 5);
  EXPECT_TRUE(outer.commands.empty());
  EXPECT_TRUE(inner.commands.empty());
}

}  // namespace
}  // namespace quorvel::x11::testing
