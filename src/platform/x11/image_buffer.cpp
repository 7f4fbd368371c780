#include "platform/x11/image_buffer.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <new>

#include "platform/x11/x_connection.h"
#include "platform/x11/x_errors.h"

namespace quorvel::x11 {
namespace {

// The bits of `value` moved into the place of `mask` (8-bit channel in).
unsigned long Channel(std::uint32_t value8, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  int bits = 0;
  while (((mask >> (shift + bits)) & 1u) != 0) ++bits;
  unsigned long v = bits >= 8 ? (static_cast<unsigned long>(value8) << (bits - 8))
                              : (value8 >> (8 - bits));
  return (v << shift) & mask;
}

}  // namespace

ImageBuffer::ImageBuffer(XConnection& connection) : connection_(connection) {}

ImageBuffer::~ImageBuffer() { Release(); }

void ImageBuffer::Release() {
  surface_ = raster::Surface();
  if (image_ != nullptr) {
    image_->data = nullptr;  // the memory is ours, not Xlib's
    XDestroyImage(image_);
    image_ = nullptr;
  }
  if (shm_.shmaddr != nullptr) {
    XShmDetach(connection_.display(), &shm_);
    XSync(connection_.display(), False);
    shmdt(shm_.shmaddr);
    shm_ = XShmSegmentInfo{};
  }
  plainMemory_.reset();
}

bool ImageBuffer::Resize(int width, int height) {
  if (!surface_.empty() && surface_.width() == width && surface_.height() == height) return true;
  Release();
  fresh_ = true;
  if (width <= 0 || height <= 0) return false;
  if (connection_.shmAvailable() && CreateShmImage(width, height)) return true;
  if (CreatePlainImage(width, height)) return true;
  Release();
  return false;
}

bool ImageBuffer::CreateShmImage(int width, int height) {
  const PixelLayout& layout = connection_.pixelLayout();
  Display* d = connection_.display();
  image_ = XShmCreateImage(d, connection_.visual(), static_cast<unsigned>(layout.depth), ZPixmap,
                           nullptr, &shm_, static_cast<unsigned>(width),
                           static_cast<unsigned>(height));
  if (image_ == nullptr) return false;
  const std::size_t bytes = static_cast<std::size_t>(image_->bytes_per_line) * height;
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shm_.shmid < 0) {
    Release();
    return false;
  }
  void* address = shmat(shm_.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(shm_.shmid, IPC_RMID, nullptr);
    shm_ = XShmSegmentInfo{};
    Release();
    return false;
  }
  shm_.shmaddr = static_cast<char*>(address);
  shm_.readOnly = False;
  image_->data = shm_.shmaddr;

  int error = Success;
  {
    XErrorTrap trap(d);
    XShmAttach(d, &shm_);
    error = trap.Error();
  }
  // Marked for removal now: the segment goes away with the last detach,
  // even if the program dies.
  shmctl(shm_.shmid, IPC_RMID, nullptr);
  if (error != Success) {
    // A remote display cannot share memory: plain images from now on.
    shmdt(shm_.shmaddr);
    shm_ = XShmSegmentInfo{};
    connection_.DisableShm();
    Release();
    return false;
  }

  if (layout.matchesRaster) {
    surface_ = raster::Surface::Wrap(reinterpret_cast<std::uint32_t*>(image_->data), width, height,
                                     image_->bytes_per_line / 4);
  } else {
    surface_ = raster::Surface(width, height);
  }
  return !surface_.empty();
}

bool ImageBuffer::CreatePlainImage(int width, int height) {
  const PixelLayout& layout = connection_.pixelLayout();
  const int bitsPerPixel = layout.bitsPerPixel > 0 ? layout.bitsPerPixel : 32;
  const int bytesPerLine = ((width * bitsPerPixel + 31) / 32) * 4;
  const std::size_t bytes = static_cast<std::size_t>(bytesPerLine) * height;
  plainMemory_.reset(new (std::nothrow) char[bytes]());
  if (!plainMemory_) return false;
  image_ = XCreateImage(connection_.display(), connection_.visual(),
                        static_cast<unsigned>(layout.depth), ZPixmap, 0, plainMemory_.get(),
                        static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                        bytesPerLine);
  if (image_ == nullptr) return false;
  if (layout.matchesRaster) {
    surface_ = raster::Surface::Wrap(reinterpret_cast<std::uint32_t*>(plainMemory_.get()), width,
                                     height, bytesPerLine / 4);
  } else {
    surface_ = raster::Surface(width, height);
  }
  return !surface_.empty();
}

void ImageBuffer::ConvertInto(const Rect& r) {
  const PixelLayout& layout = connection_.pixelLayout();
  for (int y = r.top; y < r.bottom; ++y) {
    const std::uint32_t* row = surface_.Row(y);
    for (int x = r.left; x < r.right; ++x) {
      const std::uint32_t p = row[x];
      unsigned long pixel = Channel((p >> 16) & 0xFF, layout.redMask) |
                            Channel((p >> 8) & 0xFF, layout.greenMask) |
                            Channel(p & 0xFF, layout.blueMask);
      XPutPixel(image_, x, y, pixel);
    }
  }
}

void ImageBuffer::Put(Drawable drawable, GC gc, const Rect& area) {
  if (image_ == nullptr || surface_.empty()) return;
  Rect r{area.left < 0 ? 0 : area.left, area.top < 0 ? 0 : area.top,
         area.right > surface_.width() ? surface_.width() : area.right,
         area.bottom > surface_.height() ? surface_.height() : area.bottom};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (!connection_.pixelLayout().matchesRaster) ConvertInto(r);
  Display* d = connection_.display();
  if (usesShm()) {
    XShmPutImage(d, drawable, gc, image_, r.left, r.top, r.left, r.top,
                 static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()), False);
  } else {
    XPutImage(d, drawable, gc, image_, r.left, r.top, r.left, r.top,
              static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()));
  }
  // The server reads a shared segment while it handles the request: once
  // synced, the buffer may be drawn into again. Either way the frame is on
  // the window when this returns, as a GDI paint would be.
  XSync(d, False);
}

}  // namespace quorvel::x11
