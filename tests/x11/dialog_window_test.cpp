// The dialog's window on the server: full-screen main window, painting,
// moves and layered attributes from a worker thread.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/x11/display/x_connection.h"
#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

using DialogWindowTest = X11Test;

// Waits (on a worker thread) until the program has shown the window.
bool WaitUntilVisible(platform::DialogHost& host) {
  for (int i = 0; i < 200; ++i) {
    if (host.IsWindowVisible()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST_F(DialogWindowTest, MaximisedMainWindowCoversTheScreenUndecorated) {
  RecordingHandlers h;
  Rect windowRect, clientRect, onServer;
  bool viewable = false;
  std::vector<unsigned long> motif, state;
  h.onInit = [&](platform::DialogHost& host) {
    host.ShowWindow(platform::Show::Maximized);
    windowRect = host.WindowRect();
    clientRect = host.ClientRect();
  };
  h.onShown = [&](platform::DialogHost& host) {
    const Window w = WindowOf(host);
    onServer = driver_.Geometry(w);
    viewable = driver_.Viewable(w);
    motif = driver_.Property32(w, "_MOTIF_WM_HINTS");
    state = driver_.Property32(w, "_NET_WM_STATE");
    host.EndDialog(IDOK);
  };
  ASSERT_EQ(Run(IDD_MAIN_DIALOG, h), IDOK);

  const Rect screen = Screen();
  EXPECT_EQ(windowRect, screen);
  EXPECT_EQ(clientRect, screen);
  EXPECT_EQ(onServer, screen);
  EXPECT_TRUE(viewable);
  ASSERT_EQ(motif.size(), 5u);
  EXPECT_NE(motif[0] & 2u, 0u);  // decorations given...
  EXPECT_EQ(motif[2], 0u);       // ...as none
  const Atom fullscreen = XInternAtom(driver_.display(), "_NET_WM_STATE_FULLSCREEN", False);
  EXPECT_NE(std::find(state.begin(), state.end(), fullscreen), state.end());
}

// The program's icon reaches the window manager in every size of the icon
// file, as ARGB with its transparent corners.
TEST_F(DialogWindowTest, MainWindowIconInEverySize) {
  RecordingHandlers h;
  std::vector<unsigned long> icon;
  h.onInit = [&](platform::DialogHost& host) { host.SetIcon(IDR_MAINFRAME); };
  h.onShown = [&](platform::DialogHost& host) {
    icon = driver_.Property32(WindowOf(host), "_NET_WM_ICON");
    host.EndDialog(IDOK);
  };
  ASSERT_EQ(Run(IDD_MAIN_DIALOG, h), IDOK);

  std::vector<unsigned long> sizes;
  for (std::size_t at = 0; at + 2 <= icon.size();) {
    const unsigned long w = icon[at], hgt = icon[at + 1];
    ASSERT_EQ(w, hgt);
    ASSERT_LE(at + 2 + w * hgt, icon.size());
    const unsigned long* pixels = &icon[at + 2];
    EXPECT_EQ(pixels[(hgt / 2) * w + w / 2] >> 24, 0xFFu) << w << " px: the middle is opaque";
    EXPECT_LT(pixels[0] >> 24, 0x80u) << w << " px: the corner is rounded off";
    sizes.push_back(w);
    at += 2 + w * hgt;
  }
  EXPECT_EQ(sizes, (std::vector<unsigned long>{16, 32, 48, 64, 128}));
}

struct PaintCase {
  const char* name;
  bool erasePaints;  // false: the dialog brush fills the frame
  bool shm;
};

class DialogPainting : public X11Test, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(DialogPainting, FrameThenOwnerDrawnButtonOnTop) {
  if (!GetParam().shm) x11().connection().DisableShm();
  const Colour buttonColour = Rgb(250, 240, 5);
  RecordingHandlers h;
  h.erasePaints = GetParam().erasePaints;
  const Colour frame = h.erasePaints ? h.eraseColour : h.brushColour;
  std::vector<Colour> framePixels;
  Colour buttonPixel = 0;
  platform::DrawItem drawn;
  h.onDrawItem = [&](const platform::DrawItem& item, platform::Canvas& canvas) {
    drawn = item;
    platform::Pen none{platform::kPenNull, 0, 0};
    canvas.Rectangle(Rect{0, 0, item.rect.right + 1, item.rect.bottom + 1}, none,
                     platform::Brush{buttonColour, platform::kHatchNone});
    return true;
  };
  h.onInit = [&](platform::DialogHost& host) {
    host.ShowWindow(platform::Show::Maximized);
    host.MoveControl(IDC_CLOSE, 100, 100, 40, 30, false);
    host.ShowControl(IDC_CLOSE, true);
  };
  h.onShown = [&](platform::DialogHost& host) {
    const Window w = WindowOf(host);
    const Rect s = Screen();
    for (Point p : {Point{0, 0}, Point{s.right - 1, s.bottom - 1}, Point{s.right / 2, s.bottom / 2},
                    Point{99, 99}, Point{140, 130}}) {
      framePixels.push_back(driver_.PixelAt(w, p.x, p.y));
    }
    buttonPixel = driver_.PixelAt(w, 120, 115);
    host.EndDialog(IDOK);
  };
  ASSERT_EQ(Run(IDD_MAIN_DIALOG, h), IDOK);
  for (Colour c : framePixels) EXPECT_EQ(c, frame) << std::hex << c;
  EXPECT_EQ(buttonPixel, buttonColour);
  EXPECT_EQ(drawn.controlId, IDC_CLOSE);
  EXPECT_EQ(drawn.rect, (Rect{0, 0, 40, 30}));
  EXPECT_FALSE(drawn.selected);
}

INSTANTIATE_TEST_SUITE_P(Fills, DialogPainting,
                         ::testing::Values(PaintCase{"Erase", true, true},
                                           PaintCase{"Brush", false, true},
                                           PaintCase{"EraseWithoutShm", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogWindowTest, MoveWindowFromAWorkerRepaintsAtTheNewPlaceAndSize) {
  RecordingHandlers h;
  std::thread worker;
  Rect onServer;
  Colour corner = 0;
  std::string title;
  h.onInit = [&](platform::DialogHost& host) {
    const Window w = WindowOf(host);
    worker = std::thread([&host, w, &onServer, &corner] {
      if (!WaitUntilVisible(host)) return;
      host.MoveWindow(100, 120, 300, 200, true);
      host.UpdateWindow();
      XDriver driver;
      onServer = driver.Geometry(w);
      corner = driver.PixelAt(w, 299, 199);  // only there at the new size
      host.EndDialog(7);
    });
  };
  ASSERT_EQ(Run(IDD_LAYERED_TEST, h), 7);
  worker.join();
  EXPECT_EQ(onServer, (Rect{100, 120, 400, 320}));
  EXPECT_EQ(corner, h.eraseColour);
}

// Resizing keeps the back buffer's memory while the new size fits, and a
// closed window's memory serves the next one: the picture must still come
// out right, line for line, at every size and in a second showing.
TEST_F(DialogWindowTest, PictureIsRightAtEverySizeAWorkerGivesTheWindow) {
  const Colour marker = Rgb(250, 20, 20);
  const std::vector<std::pair<int, int>> sizes = {
      {200, 500}, {500, 200}, {300, 300}, {90, 90}, {200, 500}, {640, 480}};
  for (int showing = 0; showing < 2; ++showing) {
    RecordingHandlers h;
    // A 10 x 10 marker in the bottom-right corner: a wrong line length
    // moves it away from there.
    h.onErased = [&](platform::Canvas& canvas) {
      const int w = canvas.Width(), ht = canvas.Height();
      canvas.Rectangle(Rect{w - 10, ht - 10, w + 1, ht + 1}, platform::Pen{platform::kPenNull, 0, 0},
                       platform::Brush{marker, platform::kHatchNone});
    };
    std::thread worker;
    std::vector<std::string> wrong;
    h.onInit = [&](platform::DialogHost& host) {
      const Window win = WindowOf(host);
      worker = std::thread([&, win] {
        if (!WaitUntilVisible(host)) return;
        XDriver driver;
        for (const auto& [w, ht] : sizes) {
          host.MoveWindow(20, 30, w, ht, true);
          host.UpdateWindow();
          const std::string at = std::to_string(w) + "x" + std::to_string(ht);
          if (driver.PixelAt(win, w - 5, ht - 5) != marker) wrong.push_back(at + " corner");
          if (driver.PixelAt(win, w - 15, ht - 5) != h.eraseColour) wrong.push_back(at + " left");
          if (driver.PixelAt(win, w - 5, ht - 15) != h.eraseColour) wrong.push_back(at + " above");
          if (driver.PixelAt(win, 3, 3) != h.eraseColour) wrong.push_back(at + " origin");
        }
        host.EndDialog(IDOK);
      });
    };
    ASSERT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);
    worker.join();
    EXPECT_TRUE(wrong.empty()) << "showing " << showing << ": " << ::testing::PrintToString(wrong);
  }
}

TEST_F(DialogWindowTest, CallsOnAnEndedDialogReturnAtOnce) {
  RecordingHandlers h;
  platform::DialogHost* ended = nullptr;
  h.onInit = [&](platform::DialogHost& host) {
    ended = &host;
    host.EndDialog(IDOK);
  };
  ASSERT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);
  ASSERT_NE(ended, nullptr);

  bool visible = true;
  bool layered = true;
  auto calls = [&] {
    ended->MoveWindow(10, 10, 50, 50, true);
    ended->UpdateWindow();
    visible = ended->IsWindowVisible();
    layered = ended->SetLayeredAttributes(0, 128, platform::kLwaAlpha);
    ended->EndDialog(3);
  };
  const auto start = std::chrono::steady_clock::now();
  std::thread(calls).join();  // a worker: nothing runs the loop now
  calls();                    // the user-interface thread
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_FALSE(visible);
  EXPECT_FALSE(layered);
}

TEST_F(DialogWindowTest, OpacityPropertyFromAWorker) {
  for (int alpha : {128, 255, 0}) {
    RecordingHandlers h;
    std::thread worker;
    bool applied = false;
    std::vector<unsigned long> opacity;
    h.onInit = [&](platform::DialogHost& host) {
      const Window w = WindowOf(host);
      worker = std::thread([&host, w, alpha, &applied, &opacity] {
        if (!WaitUntilVisible(host)) return;
        applied = host.SetLayeredAttributes(0, alpha, platform::kLwaAlpha);
        XDriver driver;
        opacity = driver.Property32(w, "_NET_WM_WINDOW_OPACITY");
        host.EndDialog(IDOK);
      });
    };
    ASSERT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);
    worker.join();
    EXPECT_TRUE(applied);
    EXPECT_EQ(opacity, std::vector<unsigned long>{static_cast<unsigned long>(alpha) * 0x01010101ul})
        << alpha;
  }
}

// Is (x, y) inside the window's bounding shape?
bool InShape(Display* d, Window w, int x, int y) {
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(d, w, ShapeBounding, &count, &ordering);
  bool inside = false;
  for (int i = 0; i < count; ++i) {
    const XRectangle& r = rects[i];
    if (x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height) inside = true;
  }
  if (rects != nullptr) XFree(rects);
  return inside;
}

TEST_F(DialogWindowTest, BlackColourKeyShapesTheWindowToItsOtherPixels) {
  RecordingHandlers h;
  h.eraseColour = Rgb(0, 0, 0);  // all black but the logo control
  std::thread worker;
  bool applied = false;
  bool cornerCut = false, logoKept = false, shapeCleared = false;
  h.onInit = [&](platform::DialogHost& host) {
    const Window w = WindowOf(host);
    worker = std::thread([&, w] {
      if (!WaitUntilVisible(host)) return;
      applied = host.SetLayeredAttributes(Rgb(0, 0, 0), 0, platform::kLwaColourKey);
      XDriver driver;
      cornerCut = !InShape(driver.display(), w, 5, 5);
      logoKept = InShape(driver.display(), w, 97 + 41, 42 + 33);  // the logo's centre
      host.SetLayeredAttributes(0, 200, platform::kLwaAlpha);     // no key any more
      shapeCleared = InShape(driver.display(), w, 5, 5);
      host.EndDialog(IDOK);
    });
  };
  ASSERT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);
  worker.join();
  EXPECT_TRUE(applied);
  EXPECT_TRUE(cornerCut);
  EXPECT_TRUE(logoKept);
  EXPECT_TRUE(shapeCleared);
}

}  // namespace
}  // namespace quorvel::x11::testing
