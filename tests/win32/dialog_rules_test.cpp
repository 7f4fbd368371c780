// The rules the dialog window procedure applies before the dialog manager,
// on real windows of the main template.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/resource_ids.h"
#include "platform/win32/dialog_system.h"
#include "test_dialog.h"
#include "test_surface.h"

namespace quorvel::win32 {
namespace {

using testing::kTimedOut;
using testing::TestDialog;

constexpr int kEndedByTest = 77;

struct SystemCommandCase {
  const char* name;
  WPARAM sent;
  bool swallow;
  unsigned handlerSees;
  int result;  // what RunModal returns
};

class SystemCommandTest : public ::testing::TestWithParam<SystemCommandCase> {};

// Sent once the dialog is on screen. A swallowed command must have no effect
// at all: the dialog keeps running until the test ends it, not minimised and
// not moved. Left to the dialog manager, SC_CLOSE becomes IDCANCEL.
TEST_P(SystemCommandTest, SwallowedCommandsHaveNoEffect) {
  const SystemCommandCase& c = GetParam();
  TestDialog dialog;
  dialog.swallowSystemCommands = c.swallow;
  LRESULT answer = -1;
  RECT before{}, after{};
  bool iconic = true;
  dialog.init = [&] {
    dialog.After(50, [&] {
      ::GetWindowRect(dialog.hwnd, &before);
      answer = ::SendMessageA(dialog.hwnd, WM_SYSCOMMAND, c.sent, 0);
      dialog.After(200, [&] {
        ::GetWindowRect(dialog.hwnd, &after);
        iconic = ::IsIconic(dialog.hwnd) != FALSE;
        dialog.host->EndDialog(kEndedByTest);
      });
    });
  };

  EXPECT_EQ(testing::RunDialog(dialog), c.result);
  ASSERT_EQ(dialog.systemCommands.size(), 1u);
  EXPECT_EQ(dialog.systemCommands[0], c.handlerSees);
  if (c.swallow) {
    EXPECT_EQ(answer, 0);
    EXPECT_FALSE(iconic);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof(RECT)), 0);
    EXPECT_TRUE(dialog.commands.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SystemCommandTest,
    ::testing::Values(
        SystemCommandCase{"close_swallowed", SC_CLOSE, true, platform::kScClose, kEndedByTest},
        // The low four bits (here HTCAPTION, as a caption drag sends) are the system's.
        SystemCommandCase{"move_swallowed", SC_MOVE | HTCAPTION, true, platform::kScMove,
                          kEndedByTest},
        SystemCommandCase{"minimise_swallowed", SC_MINIMIZE, true, platform::kScMinimize,
                          kEndedByTest},
        SystemCommandCase{"close_left_to_the_system", SC_CLOSE, false, platform::kScClose,
                          IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogRules, NonClientActivationSwallowedAnswersZero) {
  for (bool swallow : {true, false}) {
    TestDialog dialog;
    dialog.swallowNonClientActivate = swallow;
    LRESULT answer = -1;
    dialog.init = [&] {
      answer = ::SendMessageA(dialog.hwnd, WM_NCACTIVATE, TRUE, 0);
      dialog.host->EndDialog(kEndedByTest);
    };
    EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
    if (swallow) {
      EXPECT_EQ(answer, 0);
    } else {
      EXPECT_NE(answer, 0) << "the default processing answers TRUE";
    }
  }
}

// The handler paints through a canvas over the message's device context;
// the context comes back in the state it was given. Left unpainted, the
// dialog manager erases with the brush of WM_CTLCOLORDLG.
TEST(DialogRules, EraseBackgroundPaintsThroughTheHandler) {
  struct Case {
    bool paint;
    LRESULT answer;
    Colour pixel;
  };
  const Colour brush = Rgb(10, 20, 30);
  const Colour painted = Rgb(200, 0, 0);
  for (const Case& c : {Case{true, 99, painted}, Case{false, 1, brush}}) {
    TestDialog dialog;
    dialog.brushColour = brush;
    auto surface = testing::NewDib(16, 16, Rgb(255, 255, 255));
    ASSERT_NE(surface, nullptr);
    const COLORREF textBefore = ::GetTextColor(surface->dc());
    Rect seenSize;
    dialog.erase = [&](platform::Canvas& window) {
      seenSize = Rect{0, 0, window.Width(), window.Height()};
      if (!c.paint) return false;
      window.SetTextColour(Rgb(1, 2, 3));
      testing::Fill(window, painted);
      return true;
    };
    LRESULT answer = -1;
    RECT client{};
    dialog.init = [&] {
      ::GetClientRect(dialog.hwnd, &client);
      answer = ::SendMessageA(dialog.hwnd, WM_ERASEBKGND,
                              reinterpret_cast<WPARAM>(surface->dc()), 0);
      dialog.host->EndDialog(kEndedByTest);
    };
    EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
    EXPECT_EQ(answer != 0, c.answer != 0);
    if (c.paint) {
      EXPECT_EQ(answer, 99);
    }
    EXPECT_EQ(testing::PixelAt(*surface, 5, 5), c.pixel) << "paint=" << c.paint;
    EXPECT_EQ(seenSize, (Rect{0, 0, client.right, client.bottom}));
    EXPECT_EQ(::GetTextColor(surface->dc()), textBefore);
  }
}

TEST(DialogRules, DialogBrushIsMadeOnceAndFreedWithTheWindow) {
  TestDialog dialog;
  dialog.brushColour = Rgb(1, 128, 255);
  HBRUSH first = nullptr, second = nullptr;
  dialog.init = [&] {
    HDC dc = ::GetDC(dialog.hwnd);
    first = reinterpret_cast<HBRUSH>(::SendMessageA(
        dialog.hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(dialog.hwnd)));
    second = reinterpret_cast<HBRUSH>(::SendMessageA(
        dialog.hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(dialog.hwnd)));
    ::ReleaseDC(dialog.hwnd, dc);
    LOGBRUSH info{};
    ASSERT_NE(::GetObjectA(first, sizeof(info), &info), 0);
    EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(info.lbColor, dialog.brushColour);
    dialog.host->EndDialog(kEndedByTest);
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(::GetObjectType(first), 0u) << "the brush outlived its window";
}

TEST(DialogRules, DrawItemReachesTheHandler) {
  for (bool handle : {true, false}) {
    TestDialog dialog;
    platform::DrawItem seen;
    dialog.drawItem = [&](const platform::DrawItem& item, platform::Canvas&) {
      seen = item;
      return handle;
    };
    auto surface = testing::NewDib(32, 32);
    LRESULT answer = -1;
    dialog.init = [&] {
      DRAWITEMSTRUCT item{};
      item.CtlType = ODT_BUTTON;
      item.CtlID = IDC_RUN_TEST;
      item.itemAction = ODA_SELECT;
      item.itemState = ODS_SELECTED | ODS_FOCUS;
      item.hwndItem = ::GetDlgItem(dialog.hwnd, IDC_RUN_TEST);
      item.hDC = surface->dc();
      item.rcItem = RECT{0, 0, 24, 24};
      answer = ::SendMessageA(dialog.hwnd, WM_DRAWITEM, IDC_RUN_TEST,
                              reinterpret_cast<LPARAM>(&item));
      dialog.host->EndDialog(kEndedByTest);
    };
    EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
    EXPECT_EQ(answer, handle ? TRUE : FALSE);
    EXPECT_EQ(seen.controlId, IDC_RUN_TEST);
    EXPECT_EQ(seen.rect, (Rect{0, 0, 24, 24}));
    EXPECT_TRUE(seen.selected);
  }
}

// Only clicks become commands: an edit's notification on WM_COMMAND is not one.
TEST(DialogRules, ButtonClicksBecomeCommands) {
  TestDialog dialog;
  dialog.init = [&] {
    HWND edit = ::GetDlgItem(dialog.hwnd, IDC_NAME_EDIT);
    ::SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDC_NAME_EDIT, EN_CHANGE),
                   reinterpret_cast<LPARAM>(edit));
    dialog.host->ShowControl(IDC_RUN_TEST, true);
    ::SendMessageA(::GetDlgItem(dialog.hwnd, IDC_RUN_TEST), BM_CLICK, 0, 0);
    dialog.host->EndDialog(kEndedByTest);
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  EXPECT_EQ(dialog.commands, std::vector<int>{IDC_RUN_TEST});
}

// Keys reach the dialog manager, which sends IDOK / IDCANCEL; the handler
// ends the dialog with them.
TEST(DialogRules, EnterAndEscapeEndTheDialog) {
  for (auto [key, result] : {std::pair<WPARAM, int>{VK_ESCAPE, IDCANCEL}, {VK_RETURN, IDOK}}) {
    TestDialog dialog;
    dialog.init = [&, key = key] {
      dialog.After(50, [&, key] {
        HWND target = ::GetFocus() != nullptr ? ::GetFocus() : dialog.hwnd;
        ::PostMessageA(target, WM_KEYDOWN, key, 0);
      });
    };
    EXPECT_EQ(testing::RunDialog(dialog), result) << "key " << key;
    EXPECT_EQ(dialog.commands, std::vector<int>{result});
  }
}

TEST(DialogRules, LButtonUpGivesSignedClientPoint) {
  TestDialog dialog;
  dialog.init = [&] {
    ::SendMessageA(dialog.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-5), 40));
    dialog.host->EndDialog(kEndedByTest);
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  ASSERT_EQ(dialog.clicks.size(), 1u);
  EXPECT_EQ(dialog.clicks[0].x, -5);
  EXPECT_EQ(dialog.clicks[0].y, 40);
}

TEST(DialogRules, HandlersSeeTheWindowFromAttachToDetach) {
  TestDialog dialog;
  dialog.init = [&] { dialog.host->EndDialog(kEndedByTest); };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"attach", "init", "destroy", "detach"}));
  EXPECT_EQ(dialog.host, nullptr);
  EXPECT_FALSE(::IsWindow(dialog.hwnd));
}

TEST(DialogRules, MissingTemplateFailsWithoutAttaching) {
  TestDialog dialog;
  EXPECT_EQ(testing::RunDialog(dialog, 4321), -1);
  EXPECT_TRUE(dialog.events.empty());
}

}  // namespace
}  // namespace quorvel::win32
