#include "platform/x11/painting/image_buffer.h"

#include <X11/Xutil.h>

#include <new>
#include <utility>

#include "platform/x11/display/x_connection.h"

namespace quorvel::x11 {
ImageBuffer::ImageBuffer(XConnection& connection) : connection_(connection) {}

ImageBuffer::~ImageBuffer() { Release(); }

void ImageBuffer::ReleaseImage() {
  surface_ = raster::Surface();
  if (image_ != nullptr) {
    image_->data = nullptr;  // the memory is ours, not Xlib's
    XDestroyImage(image_);
    image_ = nullptr;
  }
}

void ImageBuffer::Release() {
  ReleaseImage();
  if (segment_) connection_.KeepSpareSegment(std::move(segment_));
  plainMemory_.reset();
  capacity_ = 0;
}

bool ImageBuffer::Resize(int width, int height) {
  if (!surface_.empty() && surface_.width() == width && surface_.height() == height) return true;
  fresh_ = true;
  if (width <= 0 || height <= 0) {
    Release();
    return false;
  }
  if (Reshape(width, height)) return true;
  // A growing window gets room to grow further, so one that keeps
  // changing size settles in one piece of memory; a shrunken one gets what
  // it needs.
  const std::size_t previous = capacity_;
  Release();
  const std::size_t bytes = BytesFor(width, height);
  const std::size_t capacity = bytes > previous && previous * 2 > bytes ? previous * 2 : bytes;
  if (connection_.shmAvailable() && CreateShmImage(width, height, bytes, capacity)) return true;
  if (CreatePlainImage(width, height, capacity)) return true;
  Release();
  return false;
}

std::size_t ImageBuffer::BytesFor(int width, int height) const {
  const int bitsPerPixel =
      connection_.pixelLayout().bitsPerPixel > 0 ? connection_.pixelLayout().bitsPerPixel : 32;
  const std::size_t bytesPerLine = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
  return bytesPerLine * static_cast<std::size_t>(height);
}

XImage* ImageBuffer::MakeImage(int width, int height, char* memory) {
  const PixelLayout& layout = connection_.pixelLayout();
  Display* d = connection_.display();
  if (segment_) {
    return XShmCreateImage(d, connection_.visual(), static_cast<unsigned>(layout.depth), ZPixmap,
                           memory, segment_->info(), static_cast<unsigned>(width),
                           static_cast<unsigned>(height));
  }
  const std::size_t bytesPerLine = BytesFor(width, 1);
  return XCreateImage(d, connection_.visual(), static_cast<unsigned>(layout.depth), ZPixmap, 0,
                      memory, static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                      static_cast<int>(bytesPerLine));
}

bool ImageBuffer::Reshape(int width, int height) {
  char* memory = segment_ ? segment_->memory() : plainMemory_.get();
  if (memory == nullptr) return false;
  const std::size_t bytes = BytesFor(width, height);
  // It must fit, and a much smaller window gives the memory back.
  if (bytes > capacity_ || bytes < capacity_ / 4) return false;
  ReleaseImage();
  return PlaceImage(width, height, memory);
}

bool ImageBuffer::PlaceImage(int width, int height, char* memory) {
  image_ = MakeImage(width, height, memory);
  if (image_ == nullptr ||
      static_cast<std::size_t>(image_->bytes_per_line) * static_cast<std::size_t>(height) >
          capacity_) {
    ReleaseImage();
    return false;
  }
  if (connection_.pixelLayout().format.matchesRaster()) {
    surface_ = raster::Surface::Wrap(reinterpret_cast<std::uint32_t*>(image_->data), width, height,
                                     image_->bytes_per_line / 4);
  } else {
    surface_ = raster::Surface(width, height);
  }
  return !surface_.empty();
}

bool ImageBuffer::CreateShmImage(int width, int height, std::size_t atLeast,
                                 std::size_t capacity) {
  segment_ = connection_.TakeSpareSegment(atLeast, atLeast * 4);
  if (!segment_) {
    ShmSegment::Failure failure = ShmSegment::Failure::Nothing;
    segment_ = ShmSegment::Create(connection_.display(), capacity, &failure);
    // A remote display cannot share memory: plain images from now on.
    if (failure == ShmSegment::Failure::Refused) connection_.DisableShm();
    if (!segment_) return false;
  }
  capacity_ = segment_->bytes();
  return PlaceImage(width, height, segment_->memory());
}

bool ImageBuffer::CreatePlainImage(int width, int height, std::size_t capacity) {
  plainMemory_.reset(new (std::nothrow) char[capacity]());
  if (!plainMemory_) return false;
  capacity_ = capacity;
  return PlaceImage(width, height, plainMemory_.get());
}

void ImageBuffer::ConvertInto(const Rect& r) {
  const PixelFormat& format = connection_.pixelLayout().format;
  const bool rows = format.storesRows() && image_->bits_per_pixel == format.bitsPerPixel();
  const int bytesPerPixel = format.bitsPerPixel() / 8;
  for (int y = r.top; y < r.bottom; ++y) {
    const std::uint32_t* row = surface_.Row(y);
    if (rows) {
      auto* target = reinterpret_cast<unsigned char*>(image_->data) +
                     static_cast<std::size_t>(y) * static_cast<std::size_t>(image_->bytes_per_line) +
                     static_cast<std::size_t>(r.left) * static_cast<std::size_t>(bytesPerPixel);
      format.ConvertRow(row + r.left, r.Width(), target);
      continue;
    }
    for (int x = r.left; x < r.right; ++x) XPutPixel(image_, x, y, format.PixelOf(row[x]));
  }
}

void ImageBuffer::Put(Drawable drawable, GC gc, const Rect& area) {
  if (image_ == nullptr || surface_.empty()) return;
  Rect r{area.left < 0 ? 0 : area.left, area.top < 0 ? 0 : area.top,
         area.right > surface_.width() ? surface_.width() : area.right,
         area.bottom > surface_.height() ? surface_.height() : area.bottom};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (!connection_.pixelLayout().format.matchesRaster()) ConvertInto(r);
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
