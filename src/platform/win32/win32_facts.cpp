#include "platform/win32/win32_facts.h"

#include "platform/win32/adapter_facts.h"
#include "platform/win32/system_entry.h"

namespace quorvel::win32 {

namespace {

// The desktop window's device context, given back when it goes.
class DesktopDc {
 public:
  explicit DesktopDc(const ProbeCalls& calls)
      : calls_(calls), window_(::GetDesktopWindow()), dc_(calls.getDC(window_)) {}
  ~DesktopDc() {
    if (dc_ != nullptr) calls_.releaseDC(window_, dc_);
  }
  DesktopDc(const DesktopDc&) = delete;
  DesktopDc& operator=(const DesktopDc&) = delete;

  HDC get() const { return dc_; }

 private:
  const ProbeCalls& calls_;
  HWND window_;
  HDC dc_;
};

// A desktop context that the facts read while it is held.
class DesktopHold : public platform::Held {
 public:
  DesktopHold(const ProbeCalls& calls, HDC& slot) : dc_(calls), slot_(slot) { slot_ = dc_.get(); }
  ~DesktopHold() override { slot_ = nullptr; }
  DesktopHold(const DesktopHold&) = delete;
  DesktopHold& operator=(const DesktopHold&) = delete;

 private:
  DesktopDc dc_;
  HDC& slot_;
};

}  // namespace

// `read(dc)` on the held desktop context, or on one taken for this call;
// what `read` gives for a null context when there is none.
template <typename Read>
auto Win32Facts::OnDesktop(Read read) {
  if (heldDesktop_ != nullptr) return read(heldDesktop_);
  const DesktopDc desktop(calls_);
  return read(desktop.get());
}

std::uint32_t Win32Facts::OsBuildNumber() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = 148;  // sizeof(OSVERSIONINFOA): the plain, not the EX, form
  if (!::GetVersionExA(&version)) return 0;
  return version.dwBuildNumber;
}

platform::DisplayMode Win32Facts::Display() {
  return OnDesktop([this](HDC dc) {
    platform::DisplayMode mode;
    if (dc == nullptr) return mode;
    mode.width = calls_.getDeviceCaps(dc, HORZRES);
    mode.height = calls_.getDeviceCaps(dc, VERTRES);
    mode.planes = calls_.getDeviceCaps(dc, PLANES);
    mode.bitsPerPixel = calls_.getDeviceCaps(dc, BITSPIXEL);
    mode.refresh = calls_.getDeviceCaps(dc, VREFRESH);
    return mode;
  });
}

std::uint32_t Win32Facts::ShadeBlendCaps() {
  return OnDesktop([this](HDC dc) {
    return dc != nullptr ? static_cast<std::uint32_t>(calls_.getDeviceCaps(dc, SHADEBLENDCAPS))
                         : 0u;
  });
}

std::unique_ptr<platform::Held> Win32Facts::HoldDesktop() {
  if (heldDesktop_ != nullptr) return nullptr;  // an outer hold has it already
  auto hold = std::make_unique<DesktopHold>(calls_, heldDesktop_);
  if (heldDesktop_ == nullptr) return nullptr;  // no context to hold
  return hold;
}

platform::DriverFacts Win32Facts::Driver() { return ReadDirectDrawFacts(calls_); }

std::string Win32Facts::AdapterDescription() { return ReadDisplayDevice(calls_); }

void Win32Facts::LoadDirect3D() { LoadDirect3DImmediateMode(); }

platform::ImagingEntries Win32Facts::Imaging() {
  platform::ImagingEntries entries;
  entries.transparentBlt =
      reinterpret_cast<void*>(calls_.findEntry("msimg32.dll", "TransparentBlt"));
  entries.alphaBlend = reinterpret_cast<void*>(calls_.findEntry("msimg32.dll", "AlphaBlend"));
  return entries;
}

platform::DesktopDescription Win32Facts::Desktop() {
  platform::DesktopDescription desktop;
  desktop.backend = "win32";
  using IsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
  const auto isEnabled = reinterpret_cast<IsCompositionEnabled>(
      reinterpret_cast<void*>(FindSystemEntry("dwmapi.dll", "DwmIsCompositionEnabled")));
  BOOL enabled = FALSE;
  desktop.compositor = isEnabled != nullptr && SUCCEEDED(isEnabled(&enabled)) && enabled;
  return desktop;
}

}  // namespace quorvel::win32
