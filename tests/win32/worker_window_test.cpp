// A worker thread driving the translucent test window, as the benchmark does.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/resource_ids.h"
#include "platform/win32/dialog_system.h"
#include "test_dialog.h"

namespace quorvel::win32 {
namespace {

using testing::TestDialog;

TEST(WorkerWindow, MovesLayersAndOutlivesTheDialog) {
  Win32DialogSystem dialogs;
  TestDialog dialog;
  const DWORD uiThread = ::GetCurrentThreadId();
  std::atomic<int> erasesOffThread{0};
  std::atomic<int> erases{0};
  dialog.erase = [&](platform::Canvas&) {
    ++erases;
    if (::GetCurrentThreadId() != uiThread) ++erasesOffThread;
    return true;
  };

  platform::DialogHost* host = nullptr;
  std::thread worker;
  bool sawVisible = false, layered = false, layeredStyle = false;
  RECT placed{};
  dialog.init = [&] {
    host = dialog.host;
    worker = std::thread([&] {
      for (int i = 0; i < 500 && !host->IsWindowVisible(); ++i) ::Sleep(10);
      sawVisible = host->IsWindowVisible();
      layered = host->SetLayeredAttributes(kKeyMagenta, 200,
                                           platform::kLwaAlpha | platform::kLwaColourKey);
      layeredStyle = (::GetWindowLongA(dialog.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
      for (int step = 0; step < 300; step += 13) {
        host->MoveWindow(step, step, 300, 300, true);
        host->UpdateWindow();
      }
      host->MoveWindow(299, 299, 300, 300, true);
      host->UpdateWindow();
      ::GetWindowRect(dialog.hwnd, &placed);
      host->EndDialog(IDOK);
    });
  };

  EXPECT_EQ(dialogs.RunModal(IDD_LAYERED_TEST, dialog, nullptr), IDOK);
  worker.join();
  EXPECT_TRUE(sawVisible);
  EXPECT_TRUE(layered);
  EXPECT_TRUE(layeredStyle);
  EXPECT_EQ(placed.left, 299);
  EXPECT_EQ(placed.top, 299);
  EXPECT_EQ(placed.right - placed.left, 300);
  EXPECT_EQ(placed.bottom - placed.top, 300);
  EXPECT_GT(erases.load(), 0);
  EXPECT_EQ(erasesOffThread.load(), 0) << "painting must happen on the window's thread";

  // The worker may still hold the host when the dialog has ended.
  std::thread late([&] {
    EXPECT_FALSE(host->IsWindowVisible());
    host->MoveWindow(1, 1, 10, 10, true);
    host->UpdateWindow();
    EXPECT_FALSE(host->SetLayeredAttributes(0, 255, platform::kLwaAlpha));
    host->EndDialog(IDCANCEL);
  });
  late.join();
}

// The program's test dialog, told that its window is gone, stops its worker
// and waits for it to leave. A worker call that was under way when the
// window went must still come back, although the user-interface thread
// waits instead of handling messages.
TEST(WorkerWindow, CallUnderWayWhenTheWindowGoesReturns) {
  Win32DialogSystem dialogs;
  TestDialog dialog;
  std::mutex mutex;
  std::condition_variable changed;
  bool stop = false, workerLeft = false, leftInTime = false;
  std::atomic<int> moves{0};
  std::thread worker;

  dialog.init = [&] {
    platform::DialogHost* host = dialog.host;
    worker = std::thread([&, host] {
      for (int i = 0;; ++i) {
        {
          std::lock_guard<std::mutex> lock(mutex);
          if (stop) break;
        }
        host->MoveWindow(i % 200, i % 200, 300, 300, true);
        host->UpdateWindow();
        ++moves;
      }
      std::lock_guard<std::mutex> lock(mutex);
      workerLeft = true;
      changed.notify_all();
    });
    dialog.After(300, [&] { dialog.host->EndDialog(IDOK); });
  };
  dialog.detached = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    stop = true;
    leftInTime = changed.wait_for(lock, std::chrono::seconds(5), [&] { return workerLeft; });
  };

  EXPECT_EQ(dialogs.RunModal(IDD_LAYERED_TEST, dialog, nullptr), IDOK);
  // Should the worker be stuck in a call, let it finish before joining.
  for (int i = 0; i < 500 && !workerLeft; ++i) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(10);
  }
  worker.join();
  EXPECT_TRUE(leftInTime) << "the worker was stuck in a call to the destroyed window";
  EXPECT_GT(moves.load(), 0);
}

}  // namespace
}  // namespace quorvel::win32
