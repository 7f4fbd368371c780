#include "platform/win32/win32_facts.h"

#include "platform/win32/adapter_facts.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/system_entry.h"

namespace quorvel::win32 {

std::uint32_t Win32Facts::OsBuildNumber() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = 148;  // sizeof(OSVERSIONINFOA): the plain, not the EX, form
  if (!::GetVersionExA(&version)) return 0;
  return version.dwBuildNumber;
}

platform::DisplayMode Win32Facts::Display() {
  platform::DisplayMode mode;
  WindowDc desktop(::GetDesktopWindow());
  if (!desktop) return mode;
  mode.width = ::GetDeviceCaps(desktop.get(), HORZRES);
  mode.height = ::GetDeviceCaps(desktop.get(), VERTRES);
  mode.planes = ::GetDeviceCaps(desktop.get(), PLANES);
  mode.bitsPerPixel = ::GetDeviceCaps(desktop.get(), BITSPIXEL);
  mode.refresh = ::GetDeviceCaps(desktop.get(), VREFRESH);
  return mode;
}

platform::AdapterFacts Win32Facts::Adapter() {
  platform::AdapterFacts facts;
  {
    std::lock_guard<std::mutex> lock(adapterMutex_);
    if (!directDraw_) directDraw_ = ReadDirectDrawFacts();
    facts = *directDraw_;
  }
  ReadDisplayDevice(facts);
  return facts;
}

void Win32Facts::LoadDirect3D() { LoadDirect3DImmediateMode(); }

std::uint32_t Win32Facts::ShadeBlendCaps() {
  WindowDc desktop(::GetDesktopWindow());
  if (!desktop) return 0;
  return static_cast<std::uint32_t>(::GetDeviceCaps(desktop.get(), SHADEBLENDCAPS));
}

platform::ImagingEntries Win32Facts::Imaging() {
  platform::ImagingEntries entries;
  entries.transparentBlt =
      reinterpret_cast<void*>(FindSystemEntry("msimg32.dll", "TransparentBlt"));
  entries.alphaBlend = reinterpret_cast<void*>(FindSystemEntry("msimg32.dll", "AlphaBlend"));
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
