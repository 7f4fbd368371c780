#include "platform/win32/screen_capture.h"

#include "platform/win32/gdi_handles.h"
#include "platform/win32/windows_api.h"

namespace quorvel::win32 {

bool CaptureScreen(const Rect& r, std::vector<Colour>& pixels) {
  pixels.clear();
  if (r.left < 0 || r.top < 0 || r.Width() <= 0 || r.Height() <= 0 ||
      r.right > ::GetSystemMetrics(SM_CXSCREEN) || r.bottom > ::GetSystemMetrics(SM_CYSCREEN)) {
    return false;
  }
  WindowDc screen(nullptr);
  if (!screen) return false;
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  if (!memory) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = r.Width();
  info.bmiHeader.biHeight = -r.Height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return false;
  {
    const ScopedSelect selected(memory.get(), bitmap.get());
    if (!::BitBlt(memory.get(), 0, 0, r.Width(), r.Height(), screen.get(), r.left, r.top,
                  SRCCOPY | CAPTUREBLT)) {
      return false;
    }
  }
  ::GdiFlush();
  const auto* words = static_cast<const std::uint32_t*>(bits);
  const std::size_t count = static_cast<std::size_t>(r.Width()) * r.Height();
  pixels.reserve(count);
  // A DIB's 32-bit pixels are 0x00RRGGBB; a GDI colour is 0x00BBGGRR.
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t w = words[i];
    pixels.push_back(Rgb((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF));
  }
  return true;
}

}  // namespace quorvel::win32
