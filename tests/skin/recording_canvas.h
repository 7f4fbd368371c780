// A raster canvas that writes down the calls made on it (and on the
// canvases it makes with CreateCompatible), so that a test can tell which
// path a blit took. It can refuse the colour-key fast path, and it can act
// as a desktop offering TransparentBlt and AlphaBlend.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "raster/raster_canvas.h"
#include "raster/surface.h"

namespace quorvel::testing {

using CallLog = std::vector<std::string>;

struct RecordingSetup {
  bool fastPaths = true;       // offers CopyWithColourKey and BlendWithColourKey
  bool platformBlits = false;  // calls the imaging entry points (simulated)
};

namespace detail {
// Constructed before the RasterCanvas base, which borrows the surface.
struct OwnedSurface {
  raster::Surface pixels;
};
}  // namespace detail

class RecordingCanvas : private detail::OwnedSurface, public raster::RasterCanvas {
 public:
  RecordingCanvas(int w, int h, RecordingSetup setup = {},
                  std::shared_ptr<CallLog> log = std::make_shared<CallLog>());

  const CallLog& log() const { return *log_; }
  // How many calls in the log start with `prefix`.
  int Count(const std::string& prefix) const;
  void ClearLog() { log_->clear(); }

  std::unique_ptr<platform::Canvas> CreateCompatible(int w, int h) override;
  Colour SetTextColour(Colour c) override;
  Colour SetBkColour(Colour c) override;
  void Rectangle(const Rect& r, const platform::Pen& pen, const platform::Brush& brush) override;
  void RoundRect(const Rect& r, int rx, int ry, const platform::Pen& pen,
                 const platform::Brush& brush) override;
  void BitBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
              platform::Rop rop) override;
  void StretchBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc, int wSrc,
                  int hSrc, platform::Rop rop) override;
  void SetDIBitsToDevice(int x, int y, int w, int h, const platform::PixelBuffer& bits) override;
  bool CopyWithColourKey(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                         Colour key) override;
  bool BlendWithColourKey(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                          std::uint8_t alpha, Colour key) override;
  // Stand-ins for the desktop: a keyed copy (equal sizes only), and a
  // constant-alpha blend rounding (s * a + d * (255 - a)) / 255.
  bool PlatformTransparentBlt(void* entry, int x, int y, int w, int h, platform::Canvas& src,
                              int xSrc, int ySrc, int wSrc, int hSrc, Colour key) override;
  bool PlatformAlphaBlend(void* entry, int x, int y, int w, int h, platform::Canvas& src, int xSrc,
                          int ySrc, int wSrc, int hSrc, std::uint8_t alpha) override;

 private:
  void Note(const std::string& call) { log_->push_back(call); }

  RecordingSetup setup_;
  std::shared_ptr<CallLog> log_;
};

}  // namespace quorvel::testing
