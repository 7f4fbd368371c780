#include "platform/wayland/shm_buffers.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <climits>

#include "platform/wayland/wayland_connection.h"

namespace quorvel::wayland {

std::uint32_t PremultipliedArgb(Colour colour, int alpha) {
  const std::uint32_t a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
  auto scaled = [&](int channel) { return (static_cast<std::uint32_t>(channel) * a + 127) / 255; };
  return a << 24 | scaled(RedOf(colour)) << 16 | scaled(GreenOf(colour)) << 8 |
         scaled(BlueOf(colour));
}

void ShmBuffer::Fill(std::uint32_t pixel) {
  std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, pixel);
}

void ShmBuffer::AttachTo(wl_surface* surface) {
  wl_surface_attach(surface, buffer_.get(), 0, 0);
  held_ = true;
}

void ShmBuffer::OnRelease(void* data, wl_buffer* /*buffer*/) {
  auto& self = *static_cast<ShmBuffer*>(data);
  self.held_ = false;
  ++self.releases_;
}

std::unique_ptr<ShmBuffers> ShmBuffers::Create(WaylandConnection& connection, int width,
                                               int height, ShmFormat format, int count,
                                               std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why != nullptr) *why = reason;
    return nullptr;
  };
  if (connection.shm() == nullptr) return fail("the compositor offers no wl_shm");
  if (width <= 0 || height <= 0 || count <= 0) {
    return fail("no buffer of " + std::to_string(width) + "x" + std::to_string(height) +
                " (x" + std::to_string(count) + ")");
  }
  // wl_shm gives sizes, strides and offsets as 32-bit signed numbers.
  const long long bufferBytes = 4LL * width * height;
  const long long totalBytes = bufferBytes * count;
  if (4LL * width > INT32_MAX || totalBytes > INT32_MAX) {
    return fail(std::to_string(count) + " buffers of " + std::to_string(width) + "x" +
                std::to_string(height) + " exceed what wl_shm can share (2 GiB)");
  }

  std::unique_ptr<ShmBuffers> set(new ShmBuffers(connection, width, height, format));
  set->fd_ = memfd_create("quorvel-shm", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (set->fd_ < 0) return fail(std::string("memfd_create failed (") + strerror(errno) + ")");
  set->bytes_ = static_cast<std::size_t>(totalBytes);
  if (ftruncate(set->fd_, static_cast<off_t>(totalBytes)) != 0) {
    return fail(std::string("no room for the buffers (") + strerror(errno) + ")");
  }
  // Reserve the pages now: memory that is only promised would end the
  // program with SIGBUS at the first drawing when it cannot be had.
  const int reserved = posix_fallocate(set->fd_, 0, static_cast<off_t>(totalBytes));
  if (reserved != 0) {
    return fail("no memory for " + std::to_string(totalBytes / (1024 * 1024)) +
                " MiB of buffers (" + strerror(reserved) + ")");
  }
  // The compositor may rely on the file never shrinking under it.
  fcntl(set->fd_, F_ADD_SEALS, F_SEAL_SHRINK);
  void* memory = mmap(nullptr, set->bytes_, PROT_READ | PROT_WRITE, MAP_SHARED, set->fd_, 0);
  if (memory == MAP_FAILED) return fail(std::string("mmap failed (") + strerror(errno) + ")");
  set->memory_ = memory;

  set->pool_.reset(wl_shm_create_pool(connection.shm(), set->fd_, static_cast<std::int32_t>(totalBytes)));
  if (!set->pool_) return fail("the shm pool cannot be made");
  const std::uint32_t wlFormat =
      format == ShmFormat::Argb8888Premultiplied ? WL_SHM_FORMAT_ARGB8888 : WL_SHM_FORMAT_XRGB8888;
  static const wl_buffer_listener listener = {&ShmBuffer::OnRelease};
  for (int i = 0; i < count; ++i) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(static_cast<char*>(memory) + i * bufferBytes);
    std::unique_ptr<ShmBuffer> buffer(new ShmBuffer(width, height, pixels));
    buffer->buffer_.reset(wl_shm_pool_create_buffer(set->pool_.get(),
                                                    static_cast<std::int32_t>(i * bufferBytes),
                                                    width, height, width * 4, wlFormat));
    if (!buffer->buffer_) return fail("the shm buffer cannot be made");
    wl_buffer_add_listener(buffer->buffer_.get(), &listener, buffer.get());
    set->buffers_.push_back(std::move(buffer));
  }
  return set;
}

ShmBuffers::~ShmBuffers() {
  buffers_.clear();
  pool_.reset();
  if (memory_ != nullptr) munmap(memory_, bytes_);
  if (fd_ >= 0) close(fd_);
}

ShmBuffer* ShmBuffers::FreeBuffer() {
  for (const auto& buffer : buffers_) {
    if (!buffer->held()) return buffer.get();
  }
  return nullptr;
}

ShmBuffer* ShmBuffers::Acquire(int waitMs) {
  if (ShmBuffer* buffer = FreeBuffer()) return buffer;
  connection_.DispatchUntil([&] { return FreeBuffer() != nullptr; }, waitMs);
  return FreeBuffer();
}

}  // namespace quorvel::wayland
