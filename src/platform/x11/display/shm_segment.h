// A System V shared-memory segment attached to the X server (MIT-SHM): the
// memory of images the server reads in place, without a copy over the
// socket.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <memory>

namespace quorvel::x11 {

class ShmSegment {
 public:
  enum class Failure { Nothing, NoMemory, Refused };

  // A segment of `bytes`, attached here and on the server; null with
  // `failure` set when it cannot be had. Refused means the server could not
  // attach it (a remote display): shared memory will not work at all.
  static std::unique_ptr<ShmSegment> Create(Display* display, std::size_t bytes,
                                            Failure* failure);
  ~ShmSegment();  // detaches on both sides
  ShmSegment(const ShmSegment&) = delete;
  ShmSegment& operator=(const ShmSegment&) = delete;

  // What XShmCreateImage and the server need; its address stays fixed.
  XShmSegmentInfo* info() { return &info_; }
  char* memory() const { return info_.shmaddr; }
  std::size_t bytes() const { return bytes_; }

 private:
  ShmSegment(Display* display, const XShmSegmentInfo& info, std::size_t bytes)
      : display_(display), info_(info), bytes_(bytes) {}

  Display* display_;
  XShmSegmentInfo info_;
  std::size_t bytes_;
};

}  // namespace quorvel::x11
