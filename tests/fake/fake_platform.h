// A backend for tests: no display, a fake clock, and a dialog host that
// records what the dialogs do with their windows and lets a test drive them.
// The contract it keeps: platform/BACKENDS.md. It draws nothing (FakeCanvas
// counts), reads no screen back (what was shown is "unknown"), reports no
// compositor frames, and runs a dialog's script in place of a modal loop.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace quorvel::fake {

// The machine as a test describes it.
class FakeHardware : public platform::HardwareDescription {
 public:
  struct Value {
    bool isNumber = false;
    std::string text;
    std::uint32_t number = 0;
  };
  // key path -> value name -> value
  std::map<std::string, std::map<std::string, Value>> keys;

  void SetText(const std::string& key, const std::string& name, const std::string& text);
  void SetNumber(const std::string& key, const std::string& name, std::uint32_t number);

  bool QueryText(const std::string& keyPath, const std::string& valueName, std::size_t bufferSize,
                 std::string& out) override;
  bool QueryNumber(const std::string& keyPath, const std::string& valueName,
                   std::uint32_t& out) override;
};

// Names each query in a record of calls, then asks `hardware`.
class RecordingHardware : public platform::HardwareDescription {
 public:
  RecordingHardware(FakeHardware& hardware, std::vector<std::string>& calls)
      : hardware_(hardware), calls_(calls) {}
  bool QueryText(const std::string& keyPath, const std::string& valueName, std::size_t bufferSize,
                 std::string& out) override;
  bool QueryNumber(const std::string& keyPath, const std::string& valueName,
                   std::uint32_t& out) override;

 private:
  FakeHardware& hardware_;
  std::vector<std::string>& calls_;
};

class FakeFacts : public platform::Facts {
 public:
  FakeFacts() = default;
  FakeFacts(const FakeFacts&) = delete;
  FakeFacts& operator=(const FakeFacts&) = delete;

  std::uint32_t buildNumber = 2600;
  FakeHardware hardware;
  platform::DisplayMode display{1024, 768, 1, 32, 60};
  std::uint32_t shadeBlendCaps = 0;
  platform::AdapterFacts adapter;
  std::function<void()> onLoadDirect3D;  // called at every LoadDirect3D
  // Every call, in order: "os", "driver", "imaging", "direct3d", "adapter",
  // "hold", "display", "caps", "hardware", "release" (the hold ends).
  std::vector<std::string> calls;

  std::uint32_t OsBuildNumber() override;
  std::uint32_t ShadeBlendCaps() override;
  platform::DriverFacts Driver() override;
  std::string AdapterDescription() override;
  std::unique_ptr<platform::Held> HoldDesktop() override;
  platform::ImagingEntries Imaging() override;
  void LoadDirect3D() override;
  platform::HardwareDescription& Hardware() override { return recordedHardware_; }
  platform::DisplayMode Display() override;

 private:
  RecordingHardware recordedHardware_{hardware, calls};
};

// A fake clock: time moves only when a test moves it.
class FakeServices : public platform::Services {
 public:
  ~FakeServices() override;  // joins the threads it started
  std::mutex mutex;  // guards the records below against worker threads
  std::atomic<std::uint32_t> tick{5000};
  std::atomic<std::int64_t> counter{0};
  std::int64_t frequency = 1000000;
  std::vector<unsigned> sleeps;
  std::vector<std::string> pagesOpened;
  struct Box {
    std::string text, caption;
    platform::MessageIcon icon;
  };
  std::vector<Box> messageBoxes;
  Point cursor{-1, -1};
  std::map<int, std::string> strings{{101, "&About Ostrin..."}};

  std::uint32_t TickCount() override { return tick; }
  void Sleep(unsigned ms) override;
  std::int64_t PerformanceCounter() override { return counter; }
  std::int64_t PerformanceFrequency() override { return frequency; }
  std::string LoadString(int id) override;
  void SetCursorPos(int x, int y) override { cursor = Point{x, y}; }
  void MessageBox(platform::DialogHost* owner, const std::string& text, const std::string& caption,
                  platform::MessageIcon icon) override;
  void OpenWebPage(platform::DialogHost* owner, const std::string& address,
                   platform::Show how) override;
  bool StartThread(std::function<void()> body) override;

 private:
  std::mutex threadsMutex_;
  std::vector<std::thread> threads_;
};

// A canvas that draws nothing and counts what it was asked to draw.
class FakeCanvas : public platform::Canvas {
 public:
  FakeCanvas(int w, int h) : width_(w), height_(h) {}
  struct Fill {
    Rect rect;
    Colour colour;
  };
  std::vector<Fill> rectangles;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::unique_ptr<platform::Canvas> CreateCompatible(int w, int h) override;
  std::unique_ptr<platform::Canvas> CreateDib32(int w, int h) override;
  std::unique_ptr<platform::Canvas> CreateMonochrome(int w, int h) override;
  bool Pixels(platform::PixelBuffer&) override { return false; }
  void Flush() override {}
  Colour SetTextColour(Colour c) override { return Swap(text_, c); }
  Colour SetBkColour(Colour c) override { return Swap(bk_, c); }
  platform::BkMode SetBkMode(platform::BkMode m) override { return Swap(bkMode_, m); }
  platform::StretchMode SetStretchMode(platform::StretchMode m) override {
    return Swap(stretch_, m);
  }
  void SetClipRect(const Rect*) override {}
  const platform::Font* SelectFont(const platform::Font* f) override { return Swap(font_, f); }
  void Rectangle(const Rect& r, const platform::Pen&, const platform::Brush& brush) override {
    rectangles.push_back(Fill{r, brush.colour});
  }
  void RoundRect(const Rect& r, int, int, const platform::Pen&, const platform::Brush& b) override {
    rectangles.push_back(Fill{r, b.colour});
  }
  void GradientFillH(const Rect&, Colour, Colour) override {}
  void BitBlt(int, int, int, int, platform::Canvas&, int, int, platform::Rop) override {}
  void StretchBlt(int, int, int, int, platform::Canvas&, int, int, int, int,
                  platform::Rop) override {}
  void SetDIBitsToDevice(int, int, int, int, const platform::PixelBuffer&) override {}
  int DrawText(const std::string&, Rect&, unsigned) override { return 0; }

 private:
  template <typename T>
  static T Swap(T& slot, T value) {
    T old = slot;
    slot = value;
    return old;
  }
  int width_, height_;
  Colour text_ = 0, bk_ = 0xFFFFFF;
  platform::BkMode bkMode_ = platform::BkMode::Opaque;
  platform::StretchMode stretch_ = platform::StretchMode::Plain;
  const platform::Font* font_ = nullptr;
};

class FakeGraphics : public platform::Graphics {
 public:
  std::unique_ptr<platform::Font> CreateFont(const platform::FontSpec& spec) override;
  std::unique_ptr<platform::Canvas> LoadBitmap(int id) override;
  std::vector<platform::FontSpec> fontsCreated;
};

class FakePlatform;

// The window of one dialog run by the fake dialog system.
class FakeDialogHost : public platform::DialogHost {
 public:
  struct Control {
    bool visible = false;
    Rect rect;  // client coordinates
    std::string text;
    bool eraseSuppressed = false;
    const platform::Font* font = nullptr;
  };
  struct Timer {
    unsigned period = 0;
    std::uint32_t due = 0;
  };

  FakeDialogHost(FakePlatform& platform, int templateId);

  // What the dialog did.
  int templateId;
  int showing = 0;  // how many dialogs of this template ran before this one
  std::map<int, Control> controls;
  std::map<int, Timer> timers;
  std::vector<std::string> calls;  // "Move 1004", "SuppressErase 1004", ... in order
  int invalidations = 0;
  bool maximized = false;
  std::atomic<bool> ended{false};
  std::atomic<int> endResult{0};
  std::atomic<int> moves{0};
  std::vector<std::pair<unsigned, std::string>> systemMenu;
  bool hasSystemMenu = true;
  int icon = 0;
  int focusCount = 0;

  // Driving: moves the fake clock forward `ms` milliseconds, one at a
  // time, delivering each timer when it falls due, and stops early when the
  // dialog ends. Paints after each tick that invalidated the window.
  void Advance(std::uint32_t ms);
  // Sends a button click or Esc/Enter (IDCANCEL/IDOK).
  void Click(int id);

  // DialogHost
  void ShowControl(int id, bool show) override;
  bool IsControlVisible(int id) override;
  void MoveControl(int id, int x, int y, int w, int h, bool repaint) override;
  Rect ControlRect(int id) override;
  void InvalidateControl(int id, bool erase) override;
  void UpdateControl(int id) override;
  void SetControlFont(int id, const platform::Font& font, bool redraw) override;
  std::string GetControlText(int id) override;
  void SetControlText(int id, const std::string& text) override;
  void SuppressControlErase(int id) override;
  void SetTimer(int id, unsigned periodMs) override;
  void KillTimer(int id) override;
  void Invalidate(const Rect* clientRect, bool erase) override;
  void Update() override;
  Rect WindowRect() override;
  Rect ClientRect() override;
  void ShowWindow(platform::Show how) override;
  void SetFocus() override { ++focusCount; }
  bool AppendSystemMenuItem(unsigned command, const std::string& text) override;
  void SetIcon(int iconId) override { icon = iconId; }
  void EndDialog(int result) override;
  bool IsWindowVisible() override { return !ended; }
  void MoveWindow(int x, int y, int w, int h, bool repaint) override;
  void UpdateWindow() override {}
  void BeginTimedSteps() override;
  void EndTimedSteps() override;
  bool SetLayeredAttributes(Colour key, int alpha, unsigned flags) override;

  platform::DialogHandlers* handlers = nullptr;
  Rect windowRect;
  struct Layered {
    Colour key;
    int alpha;
    unsigned flags;
  };
  std::vector<Layered> layered;
  // Runs of timed steps begun and ended, and moves made outside one.
  int timedStepsBegun = 0;
  int timedStepsEnded = 0;
  int movesOutsideTimedSteps = 0;

 private:
  FakePlatform& platform_;
  std::mutex mutex_;  // the worker thread moves the window
};

// Runs dialogs without windows: OnInitDialog, then the test's script for
// that template, then the end.
class FakeDialogSystem : public platform::DialogSystem {
 public:
  explicit FakeDialogSystem(FakePlatform& platform) : platform_(platform) {}
  // Drives a dialog of the template after OnInitDialog (also when that
  // already ended it). Without a script a test window runs until its
  // worker ends it, and any other dialog ends right away.
  std::map<int, std::function<void(FakeDialogHost&)>> scripts;
  // The hosts of every dialog run so far, in order.
  std::vector<std::unique_ptr<FakeDialogHost>> runs;

  int RunModal(int templateId, platform::DialogHandlers& handlers,
               platform::DialogHost* owner) override;

 private:
  FakePlatform& platform_;
};

// Files written in memory; a test can make writing fail.
class FakeFiles : public platform::FileWriter {
 public:
  std::map<std::string, std::string> files;
  std::string failWith;  // non-empty: every write fails with this reason
  bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                           std::string& error) override {
    if (!failWith.empty()) {
      error = failWith;
      return false;
    }
    files[path] = bytes;
    return true;
  }
};

// Settings kept in memory, names matched as given.
class FakeProfile : public platform::ProfileStore {
 public:
  std::map<std::string, std::string> values;  // "SECTION/KEY" -> value
  std::vector<std::string> writes;            // "SECTION/KEY=value", in order
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
};

// An HTTP client that answers as the test says and records the requests.
// Each exchange notes what is done with it in `log`, when a test gives one:
// "send", "status", "body", "release".
class FakeHttp : public platform::HttpClient {
 public:
  struct Answer {
    bool answered = true;
    int status = 200;
    std::string body;
    bool bodyReads = true;  // false: reading the body fails
  };
  Answer answer;
  std::vector<platform::HttpRequest> requests;
  std::vector<std::string>* log = nullptr;

  std::unique_ptr<platform::HttpExchange> Send(const platform::HttpRequest& request) override;
};

class FakePlatform : public platform::Platform {
 public:
  FakePlatform() : dialogSystem(*this) {}
  FakeServices fakeServices;
  FakeGraphics fakeGraphics;
  FakeDialogSystem dialogSystem;
  FakeFacts fakeFacts;
  // How test windows behave: whether they can be made layered, and how far
  // the performance counter moves with each move of the window.
  bool layeredWorks = true;
  std::int64_t counterPerMove = 1000;
  // Called on the worker thread before each move of a test window.
  std::function<void(FakeDialogHost& window, int move)> onMove;

  platform::Services& services() override { return fakeServices; }
  platform::Graphics& graphics() override { return fakeGraphics; }
  platform::DialogSystem& dialogs() override { return dialogSystem; }
  platform::Facts& facts() override { return fakeFacts; }
  platform::FileWriter& files() override { return fakeFiles; }
  platform::ProfileStore& profile() override { return fakeProfile; }
  platform::HttpClient& http() override { return fakeHttp; }

  FakeFiles fakeFiles;
  FakeProfile fakeProfile;
  FakeHttp fakeHttp;
};

}  // namespace quorvel::fake
