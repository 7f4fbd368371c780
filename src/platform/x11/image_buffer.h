// A window's back buffer: a raster surface the size of the window and the
// XImage that carries it to the server in one put. With MIT-SHM the surface
// lives in a shared-memory segment the server reads directly; without it (a
// remote display, or an attach that failed) the image is sent over the wire.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

#include "platform/geometry.h"
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
  // same; a new size gives a new, black buffer. False when the memory cannot
  // be had (the buffer is then empty).
  bool Resize(int width, int height);
  // True when the last Resize made a new buffer (its pixels are undefined
  // for the picture until painted).
  bool fresh() const { return fresh_; }
  void MarkPainted() { fresh_ = false; }

  raster::Surface& surface() { return surface_; }
  const raster::Surface& surface() const { return surface_; }
  bool empty() const { return surface_.empty(); }
  bool usesShm() const { return shm_.shmaddr != nullptr; }

  // Puts area `r` of the buffer at the same place of `drawable`, then waits
  // until the server has done it, so the buffer can be drawn into again.
  void Put(Drawable drawable, GC gc, const Rect& r);

 private:
  void Release();
  bool CreateShmImage(int width, int height);
  bool CreatePlainImage(int width, int height);
  // When the visual's pixels differ from the raster's, copies `r` from the
  // surface into the image, converting each pixel.
  void ConvertInto(const Rect& r);

  XConnection& connection_;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  std::unique_ptr<char[]> plainMemory_;  // image memory without MIT-SHM
  raster::Surface surface_;              // over the image memory when the layouts match
  bool fresh_ = true;
};

}  // namespace quorvel::x11
