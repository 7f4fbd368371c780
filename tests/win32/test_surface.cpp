#include "test_surface.h"

namespace quorvel::win32::testing {

std::unique_ptr<GdiCanvas> NewDib(int w, int h, Colour fill) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  auto canvas = GdiCanvas::OverBitmap(nullptr, std::move(bitmap), static_cast<std::uint32_t*>(bits));
  if (canvas) Fill(*canvas, fill);
  return canvas;
}

Colour PixelAt(platform::Canvas& canvas, int x, int y) {
  platform::PixelBuffer buffer;
  if (!canvas.Pixels(buffer)) return 0xFFFFFFFFu;
  const int row = buffer.bottomUp ? buffer.height - 1 - y : y;
  const std::uint32_t pixel = buffer.pixels[row * buffer.width + x];
  // Memory holds blue, green, red: 0x00RRGGBB as a number.
  return Rgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

void Fill(platform::Canvas& canvas, Colour colour) {
  // Rectangle without an outline leaves the last column and row: one more each.
  canvas.Rectangle(Rect{0, 0, canvas.Width() + 1, canvas.Height() + 1},
                   platform::Pen{platform::kPenNull, 0, 0}, platform::Brush{colour});
}

}  // namespace quorvel::win32::testing
