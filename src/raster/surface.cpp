#include "raster/surface.h"

#include <limits>
#include <new>
#include <utility>

namespace quorvel::raster {
namespace {

// Surfaces larger than this many pixels are refused (a 16k x 16k picture).
constexpr std::size_t kMaxPixels = std::size_t{1} << 28;

}  // namespace

Surface::Surface(int width, int height) : Surface(Allocate(width, height, false)) {}

Surface Surface::BottomUp(int width, int height) { return Allocate(width, height, true); }

Surface Surface::Allocate(int width, int height, bool bottomUp) {
  Surface s;
  if (width <= 0 || height <= 0) return s;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (count > kMaxPixels) return s;
  s.owned_.reset(new (std::nothrow) std::uint32_t[count]());
  if (!s.owned_) return s;
  s.memory_ = s.owned_.get();
  s.width_ = width;
  s.height_ = height;
  if (bottomUp) {
    s.stride_ = -static_cast<std::ptrdiff_t>(width);
    s.top_ = s.memory_ + static_cast<std::ptrdiff_t>(width) * (height - 1);
  } else {
    s.stride_ = width;
    s.top_ = s.memory_;
  }
  return s;
}

Surface Surface::Wrap(std::uint32_t* pixels, int width, int height, int stridePixels) {
  Surface s;
  if (!pixels || width <= 0 || height <= 0) return s;
  const std::ptrdiff_t stride = stridePixels;
  const std::ptrdiff_t magnitude = stride < 0 ? -stride : stride;
  if (magnitude < width) return s;
  s.memory_ = pixels;
  s.width_ = width;
  s.height_ = height;
  s.stride_ = stride;
  s.top_ = stride < 0 ? pixels + magnitude * (height - 1) : pixels;
  return s;
}

Surface::Surface(Surface&& other) noexcept { *this = std::move(other); }

Surface& Surface::operator=(Surface&& other) noexcept {
  if (this != &other) {
    owned_ = std::move(other.owned_);
    memory_ = other.memory_;
    top_ = other.top_;
    stride_ = other.stride_;
    width_ = other.width_;
    height_ = other.height_;
    other.Reset();
  }
  return *this;
}

void Surface::Reset() {
  owned_.reset();
  memory_ = top_ = nullptr;
  stride_ = 0;
  width_ = height_ = 0;
}

}  // namespace quorvel::raster
