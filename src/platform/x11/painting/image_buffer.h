// A window's back buffer: a raster surface the size of the window and the
// XImage that carries it to the server in one put. With MIT-SHM the surface
// lives in a shared-memory segment the server reads directly; without it (a
// remote display, or an attach that failed) the image is sent over the wire.
// The memory outlives a change of size while the new size fits in it: a
// window that is resized again and again (the test window, whose passes
// change its shape) would otherwise pay for a new segment, its attach, and
// the first touch of every page on both sides at each change.
#pragma once

#include <X11/Xlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/geometry.h"
#include "platform/x11/display/shm_segment.h"
#include "raster/surface.h"

namespace quorvel::x11 {

class XConnection;

class ImageBuffer {
 public:
  explicit ImageBuffer(XConnection& connection);
  ~ImageBuffer();
  ImageBuffer(const ImageBuffer&) = delete;
  ImageBuffer& operator=(const ImageBuffer&) = delete;

  // Makes the buffer w x h. The pixels are kept while the size stays the
  // same; after a new size they are undefined until painted (see fresh()).
  // False when the memory cannot be had (the buffer is then empty).
  bool Resize(int width, int height);
  // True when the last Resize made a new buffer (its pixels are undefined
  // for the picture until painted).
  bool fresh() const { return fresh_; }
  void MarkPainted() { fresh_ = false; }

  raster::Surface& surface() { return surface_; }
  const raster::Surface& surface() const { return surface_; }
  bool empty() const { return surface_.empty(); }
  bool usesShm() const { return segment_ != nullptr; }

  // Puts area `r` of the buffer at the same place of `drawable`, then waits
  // until the server has done it, so the buffer can be drawn into again.
  void Put(Drawable drawable, GC gc, const Rect& r);

 private:
  void Release();
  void ReleaseImage();
  // Puts an image of the new size over the memory the buffer has.
  bool Reshape(int width, int height);
  bool CreateShmImage(int width, int height, std::size_t atLeast, std::size_t capacity);
  bool CreatePlainImage(int width, int height, std::size_t capacity);
  // An image of w x h over `memory` and the surface drawn into it; false
  // (and no image) when it does not fit the buffer's memory.
  bool PlaceImage(int width, int height, char* memory);
  XImage* MakeImage(int width, int height, char* memory);
  std::size_t BytesFor(int width, int height) const;
  // When the visual's pixels differ from the raster's, copies `r` from the
  // surface into the image, converting each pixel.
  void ConvertInto(const Rect& r);

  XConnection& connection_;
  XImage* image_ = nullptr;
  std::unique_ptr<ShmSegment> segment_;
  std::unique_ptr<char[]> plainMemory_;  // image memory without MIT-SHM
  std::size_t capacity_ = 0;              // bytes of the plain memory or the segment
  raster::Surface surface_;              // over the image memory when the layouts match
  bool fresh_ = true;
};

}  // namespace quorvel::x11
