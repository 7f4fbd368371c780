// Owners of X server objects: each frees its object when it goes away.
#pragma once

#include <X11/Xlib.h>

#include <utility>

namespace quorvel::x11 {

class WindowHandle {
 public:
  WindowHandle() = default;
  WindowHandle(Display* display, Window window) : display_(display), window_(window) {}
  ~WindowHandle() { Reset(); }
  WindowHandle(WindowHandle&& other) noexcept
      : display_(other.display_), window_(std::exchange(other.window_, None)) {}
  WindowHandle& operator=(WindowHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      display_ = other.display_;
      window_ = std::exchange(other.window_, None);
    }
    return *this;
  }
  WindowHandle(const WindowHandle&) = delete;
  WindowHandle& operator=(const WindowHandle&) = delete;

  Window get() const { return window_; }
  explicit operator bool() const { return window_ != None; }
  void Reset() {
    if (window_ != None) XDestroyWindow(display_, std::exchange(window_, None));
  }

 private:
  Display* display_ = nullptr;
  Window window_ = None;
};

class GcHandle {
 public:
  GcHandle() = default;
  GcHandle(Display* display, GC gc) : display_(display), gc_(gc) {}
  ~GcHandle() { Reset(); }
  GcHandle(GcHandle&& other) noexcept
      : display_(other.display_), gc_(std::exchange(other.gc_, nullptr)) {}
  GcHandle& operator=(GcHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      display_ = other.display_;
      gc_ = std::exchange(other.gc_, nullptr);
    }
    return *this;
  }
  GcHandle(const GcHandle&) = delete;
  GcHandle& operator=(const GcHandle&) = delete;

  GC get() const { return gc_; }
  void Reset() {
    if (gc_ != nullptr) XFreeGC(display_, std::exchange(gc_, nullptr));
  }

 private:
  Display* display_ = nullptr;
  GC gc_ = nullptr;
};

}  // namespace quorvel::x11
