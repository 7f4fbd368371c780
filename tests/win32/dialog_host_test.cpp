// What a running dialog's host does with its window and controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/dialog_template.h"
#include "platform/resource_ids.h"
#include "platform/win32/control_erase.h"
#include "platform/win32/dialog_system.h"
#include "platform/win32/gdi_graphics.h"
#include "test_dialog.h"
#include "test_surface.h"

namespace quorvel::win32 {
namespace {

using testing::TestDialog;

constexpr int kEndedByTest = 77;

TEST(DialogHost, ControlsByIdentifier) {
  TestDialog dialog;
  GdiGraphics graphics;
  auto font = graphics.CreateFont(platform::FontSpec{"Arial", 16, 700, 4});
  ASSERT_NE(font, nullptr);
  dialog.init = [&] {
    platform::DialogHost& host = *dialog.host;
    HWND logo = ::GetDlgItem(dialog.hwnd, IDC_LOGO);

    host.MoveControl(IDC_LOGO, 10, 20, 30, 40, true);
    // Client coordinates: the dialog's frame must not leak in.
    EXPECT_EQ(host.ControlRect(IDC_LOGO), (Rect{10, 20, 40, 60}));

    EXPECT_FALSE(host.IsControlVisible(IDC_LOGO));
    host.ShowControl(IDC_LOGO, true);
    EXPECT_NE(::GetWindowLongA(logo, GWL_STYLE) & WS_VISIBLE, 0);
    host.ShowControl(IDC_LOGO, false);
    EXPECT_EQ(::GetWindowLongA(logo, GWL_STYLE) & WS_VISIBLE, 0);

    host.SetControlText(IDC_NAME_EDIT, "Ada Lovelace");
    EXPECT_EQ(host.GetControlText(IDC_NAME_EDIT), "Ada Lovelace");
    host.SetControlText(IDC_NAME_EDIT, "");
    EXPECT_EQ(host.GetControlText(IDC_NAME_EDIT), "");

    host.SetControlFont(IDC_NAME_EDIT, *font, false);
    EXPECT_NE(::SendMessageA(::GetDlgItem(dialog.hwnd, IDC_NAME_EDIT), WM_GETFONT, 0, 0), 0);

    // Identifiers the template lacks are ignored.
    host.ShowControl(4242, true);
    host.MoveControl(4242, 0, 0, 1, 1, true);
    host.SetControlText(4242, "x");
    host.SuppressControlErase(4242);
    EXPECT_EQ(host.ControlRect(4242), Rect{});
    EXPECT_EQ(host.GetControlText(4242), "");
    EXPECT_FALSE(host.IsControlVisible(4242));

    host.EndDialog(kEndedByTest);
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
}

// The templates the other backends build from carry what the resource
// script gives each control: shown or hidden, enabled or disabled (the test
// window's OK button is disabled, so Enter does nothing there).
TEST(DialogHost, TemplateDataAgreesWithTheResourceScript) {
  for (int id : {IDD_MAIN_DIALOG, IDD_LAYERED_TEST}) {
    const platform::DialogTemplate* data = platform::FindDialogTemplate(id);
    ASSERT_NE(data, nullptr);
    TestDialog dialog;
    dialog.init = [&] {
      for (const platform::ControlTemplate& c : data->controls) {
        if (c.id == -1) continue;
        HWND control = ::GetDlgItem(dialog.hwnd, c.id);
        ASSERT_NE(control, nullptr) << id << "/" << c.id;
        EXPECT_EQ(::IsWindowEnabled(control) == FALSE, c.disabled) << id << "/" << c.id;
        EXPECT_EQ((::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0, c.visible)
            << id << "/" << c.id;
      }
      dialog.host->EndDialog(kEndedByTest);
    };
    EXPECT_EQ(testing::RunDialog(dialog, id), kEndedByTest);
  }
}

// The control answers WM_ERASEBKGND itself without touching the surface and
// passes everything else on; subclassing it twice must not make it call
// itself.
TEST(DialogHost, SuppressedControlNeverErases) {
  TestDialog dialog;
  auto surface = testing::NewDib(8, 8, Rgb(1, 2, 3));
  dialog.init = [&] {
    HWND control = ::GetDlgItem(dialog.hwnd, IDC_CLOSE);
    const LONG_PTR original = ::GetWindowLongPtrA(control, GWLP_WNDPROC);
    dialog.host->SuppressControlErase(IDC_CLOSE);
    dialog.host->SuppressControlErase(IDC_CLOSE);

    EXPECT_NE(::GetWindowLongPtrA(control, GWLP_WNDPROC), original);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropA(control, kPreviousProcProperty)), original);
    EXPECT_EQ(::SendMessageA(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface->dc()), 0),
              99);
    dialog.host->SetControlText(IDC_CLOSE, "Still a button");
    EXPECT_EQ(dialog.host->GetControlText(IDC_CLOSE), "Still a button");
    EXPECT_EQ(::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
    dialog.host->EndDialog(kEndedByTest);
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  EXPECT_EQ(testing::PixelAt(*surface, 3, 3), Rgb(1, 2, 3));
}

TEST(DialogHost, TimerFiresUntilKilled) {
  TestDialog dialog;
  int ticks = 0;
  dialog.init = [&] { dialog.host->SetTimer(7, 10); };
  dialog.timer = [&](int id) {
    if (id != 7 || ++ticks < 3) return;
    dialog.host->KillTimer(7);
    dialog.After(200, [&] { dialog.host->EndDialog(kEndedByTest); });
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  EXPECT_EQ(std::count(dialog.timers.begin(), dialog.timers.end(), 7), 3);
}

TEST(DialogHost, MaximisedCoversTheScreen) {
  TestDialog dialog;
  Rect window, client;
  dialog.init = [&] {
    dialog.host->ShowWindow(platform::Show::Maximized);
    dialog.After(50, [&] {
      window = dialog.host->WindowRect();
      client = dialog.host->ClientRect();
      dialog.host->EndDialog(kEndedByTest);
    });
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(window.left, 0);
  EXPECT_LE(window.top, 0);
  EXPECT_GE(window.right, screenW);
  EXPECT_GE(window.bottom, screenH);
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_GT(client.Width(), screenW * 9 / 10);
}

// A window manager that will not maximise answers with the window's old
// size, and Wine gives that to the still-maximised window (as the
// SetWindowPos below does): the window covers the screen again. A size the
// program or the user gives a restored window stays.
TEST(DialogHost, MaximisedWindowGivenItsOldSizeBackCoversTheScreenAgain) {
  TestDialog dialog;
  Rect maximised, afterRefusal, restored;
  dialog.init = [&] {
    dialog.host->ShowWindow(platform::Show::Maximized);
    maximised = dialog.host->WindowRect();
    ::SetWindowPos(dialog.hwnd, nullptr, 0, 0, 830, 360,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    dialog.After(50, [&] {
      afterRefusal = dialog.host->WindowRect();
      dialog.host->ShowWindow(platform::Show::Normal);
      ::SetWindowPos(dialog.hwnd, nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
      dialog.After(50, [&] {
        restored = dialog.host->WindowRect();
        dialog.host->EndDialog(kEndedByTest);
      });
    });
  };
  EXPECT_EQ(testing::RunDialog(dialog), kEndedByTest);
  EXPECT_GE(maximised.Width(), ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(afterRefusal, maximised);
  EXPECT_EQ(restored, (Rect{10, 20, 310, 220}));
}

TEST(DialogHost, SystemMenuItemAndIcon) {
  TestDialog dialog;
  bool appended = false;
  dialog.init = [&] {
    appended = dialog.host->AppendSystemMenuItem(IDM_ABOUTBOX, "&About Ostrin...");
    HMENU menu = ::GetSystemMenu(dialog.hwnd, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[64] = {};
    ::GetMenuStringA(menu, count - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Ostrin...");
    EXPECT_NE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);

    dialog.host->SetIcon(IDR_MAINFRAME);
    EXPECT_NE(::SendMessageA(dialog.hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageA(dialog.hwnd, WM_GETICON, ICON_SMALL, 0), 0);
    dialog.host->EndDialog(kEndedByTest);
  };
  // The test window's template has a caption and a system menu.
  EXPECT_EQ(testing::RunDialog(dialog, IDD_LAYERED_TEST), kEndedByTest);
  EXPECT_TRUE(appended);
}

// A dialog run without an owner while the main dialog runs belongs to it:
// the main window is disabled meanwhile and enabled again afterwards, also
// when a worker thread ended the inner dialog.
TEST(DialogHost, InnerDialogOwnedByTheMainOneAndEndedFromAThread) {
  Win32DialogSystem dialogs;
  TestDialog main, inner;
  std::thread worker;
  HWND innerOwner = nullptr;
  bool mainEnabledDuring = true, mainEnabledAfter = false;
  int innerResult = 0;
  inner.init = [&] {
    innerOwner = ::GetWindow(inner.hwnd, GW_OWNER);
    platform::DialogHost* host = inner.host;
    worker = std::thread([host] {
      ::Sleep(100);
      host->EndDialog(42);
    });
    inner.After(50, [&] { mainEnabledDuring = ::IsWindowEnabled(main.hwnd) != FALSE; });
  };
  main.init = [&] {
    main.After(20, [&] {
      innerResult = dialogs.RunModal(IDD_LAYERED_TEST, inner, nullptr);
      mainEnabledAfter = ::IsWindowEnabled(main.hwnd) != FALSE;
      main.host->EndDialog(kEndedByTest);
    });
  };
  EXPECT_EQ(dialogs.RunModal(IDD_MAIN_DIALOG, main, nullptr), kEndedByTest);
  if (worker.joinable()) worker.join();
  EXPECT_EQ(innerResult, 42);
  EXPECT_EQ(innerOwner, main.hwnd);
  EXPECT_FALSE(mainEnabledDuring);
  EXPECT_TRUE(mainEnabledAfter);
}

}  // namespace
}  // namespace quorvel::win32
