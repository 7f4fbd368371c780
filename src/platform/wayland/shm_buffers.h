// Pictures in shared memory for the compositor (wl_shm): one memfd holds a
// set of equal buffers, each a wl_buffer of the pool. A buffer attached to a
// surface belongs to the compositor from that commit until it sends
// wl_buffer.release; `Acquire` hands out only buffers it does not hold, so a
// picture is never drawn into while the compositor may still read it. Two
// buffers make double buffering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/wayland/wayland_objects.h"

namespace quorvel::wayland {

class WaylandConnection;

// How a pixel is stored: a 32-bit word, blue in the low byte. Wayland's
// ARGB8888 has premultiplied alpha; XRGB8888 ignores the top byte.
enum class ShmFormat { Argb8888Premultiplied, Xrgb8888 };

// `colour` (0x00BBGGRR) at `alpha` (0..255) as a premultiplied ARGB8888 pixel.
std::uint32_t PremultipliedArgb(Colour colour, int alpha);

class ShmBuffer {
 public:
  ShmBuffer(const ShmBuffer&) = delete;
  ShmBuffer& operator=(const ShmBuffer&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  int strideBytes() const { return width_ * 4; }
  // Row y starts at pixels() + y * width().
  std::uint32_t* pixels() const { return pixels_; }
  void Fill(std::uint32_t pixel);
  wl_buffer* buffer() const { return buffer_.get(); }

  // Attaches the buffer to `surface` (at 0, 0) for the surface's next
  // commit: the compositor holds it from then until it releases it.
  void AttachTo(wl_surface* surface);
  bool held() const { return held_; }
  // How often the compositor has released it.
  int releases() const { return releases_; }

 private:
  friend class ShmBuffers;
  ShmBuffer(int width, int height, std::uint32_t* pixels) : width_(width), height_(height), pixels_(pixels) {}
  static void OnRelease(void* data, wl_buffer* buffer);

  int width_;
  int height_;
  std::uint32_t* pixels_;
  WaylandPtr<wl_buffer> buffer_;
  bool held_ = false;
  int releases_ = 0;
};

class ShmBuffers {
 public:
  // `count` buffers of `width` x `height`. Null with `why` set when they
  // cannot be had: a size of nothing or too large for wl_shm, no memory
  // (the memory is reserved here, so drawing into it later cannot fail), no
  // wl_shm.
  static std::unique_ptr<ShmBuffers> Create(WaylandConnection& connection, int width, int height,
                                            ShmFormat format, int count, std::string* why);
  ~ShmBuffers();  // the buffers and the pool go; the memory with them
  ShmBuffers(const ShmBuffers&) = delete;
  ShmBuffers& operator=(const ShmBuffers&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  ShmFormat format() const { return format_; }
  int count() const { return static_cast<int>(buffers_.size()); }
  ShmBuffer& at(int index) { return *buffers_[static_cast<std::size_t>(index)]; }

  // A buffer the compositor does not hold, to draw into and attach. When
  // all are held, dispatches the compositor's events for up to `waitMs`
  // until one is released; null when none is by then, or the connection
  // failed.
  ShmBuffer* Acquire(int waitMs);
  // A free buffer if there is one now; null otherwise. Waits for nothing.
  ShmBuffer* FreeBuffer();

 private:
  ShmBuffers(WaylandConnection& connection, int width, int height, ShmFormat format)
      : connection_(connection), width_(width), height_(height), format_(format) {}

  WaylandConnection& connection_;
  int width_;
  int height_;
  ShmFormat format_;
  int fd_ = -1;
  void* memory_ = nullptr;
  std::size_t bytes_ = 0;
  WaylandPtr<wl_shm_pool> pool_;
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;
};

}  // namespace quorvel::wayland
