// An edit control on the display: focus by click, keys, select-all, paste
// from CLIPBOARD converted to Windows-1252.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <atomic>
#include <thread>

#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

// One step of a test: acts on the dialog, and is called on each tick until
// it returns true (done).
using Step = std::function<bool(platform::DialogHost&)>;

class EditControlTest : public X11Test {
 protected:
  // Runs the main dialog with the name edit shown at 100,100 (200 x 24) and
  // runs the steps on a 20 ms timer once the window is painted. The edit's
  // text after each step.
  std::vector<std::string> RunSteps(RecordingHandlers& h, const std::vector<Step>& steps);
};

std::vector<std::string> EditControlTest::RunSteps(RecordingHandlers& h,
                                                   const std::vector<Step>& steps) {
  std::vector<std::string> texts;
  std::size_t next = 0;
  h.onInit = [](platform::DialogHost& host) {
    host.ShowWindow(platform::Show::Maximized);
    host.MoveControl(IDC_NAME_EDIT, 100, 100, 200, 24, false);
    host.SetControlText(IDC_NAME_EDIT, "ab");
    host.ShowControl(IDC_NAME_EDIT, true);
  };
  h.onShown = [](platform::DialogHost& host) { host.SetTimer(1, 20); };
  // A step's events are sent on one tick and looked at on the next.
  bool sent = false;
  h.onTimer = [&](platform::DialogHost& host, int) {
    if (sent) {
      texts.push_back(host.GetControlText(IDC_NAME_EDIT));
      sent = false;
    }
    if (next == steps.size()) {
      host.EndDialog(IDOK);
      return;
    }
    if (steps[next](host)) {
      ++next;
      sent = true;
    }
  };
  EXPECT_EQ(Run(IDD_MAIN_DIALOG, h), IDOK);
  return texts;
}

TEST_F(EditControlTest, ClickFocusesAndKeysEdit) {
  RecordingHandlers h;
  auto key = [this](platform::DialogHost& host, unsigned long keysym, unsigned state = 0) {
    driver_.SendKey(WindowOf(host), keysym, state);
  };
  const std::vector<std::string> texts = RunSteps(h, {
      [&](platform::DialogHost& host) {
        // Keys before the click go nowhere: no control has the focus.
        key(host, XK_z);
        driver_.SendClick(ControlWindowOf(host, IDC_NAME_EDIT), 190, 12);  // after the text
        return true;
      },
      [&](platform::DialogHost& host) {
        key(host, XK_c);
        key(host, XK_d);
        key(host, XK_BackSpace);
        key(host, XK_Left);
        key(host, XK_X, ShiftMask);
        key(host, XK_Delete);
        return true;
      },
      [&](platform::DialogHost& host) {
        key(host, XK_a, ControlMask);
        key(host, XK_q);
        return true;
      },
  });
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "ab");
  EXPECT_EQ(texts[1], "abX");
  EXPECT_EQ(texts[2], "q");
  EXPECT_TRUE(h.commands.empty());
}

TEST_F(EditControlTest, PasteTakesTheFirstLineInWindows1252) {
  XDriver owner;
  owner.OwnClipboard();
  std::atomic<bool> stop{false};
  std::thread server([&] {
    owner.AnswerClipboardRequests("Zo\xC3\xAB \xE2\x82\xAC" "5 \xE6\x97\xA5\nsecond line", stop);
  });
  RecordingHandlers h;
  int waited = 0;
  const std::vector<std::string> texts = RunSteps(h, {
      [&](platform::DialogHost& host) {
        driver_.SendClick(ControlWindowOf(host, IDC_NAME_EDIT), 2, 12);  // before the text
        return true;
      },
      [&](platform::DialogHost& host) {
        driver_.SendKey(WindowOf(host), XK_v, ControlMask);
        return true;
      },
      // The clipboard answers from another thread: wait for the text.
      [&](platform::DialogHost& host) {
        return host.GetControlText(IDC_NAME_EDIT) != "ab" || ++waited > 50;
      },
  });
  stop = true;
  server.join();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2], "Zo\xEB \x80" "5 ab");
}

}  // namespace
}  // namespace quorvel::x11::testing
