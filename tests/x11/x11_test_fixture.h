// A platform on the test display, a driver connection beside it, and access
// to the X windows behind a dialog host.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/x11/controls/control_window.h"
#include "platform/x11/windows/dialog_window.h"
#include "platform/x11/x11_platform.h"
#include "x11/recording_handlers.h"
#include "x11/x_driver.h"

namespace quorvel::x11::testing {

class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = CreatePlatform();
    ASSERT_TRUE(platform_) << "these tests need an X display in DISPLAY";
    ASSERT_TRUE(driver_.ok());
  }

  X11Platform& x11() { return static_cast<X11Platform&>(*platform_); }
  platform::Platform& platform() { return *platform_; }
  int Run(int templateId, RecordingHandlers& handlers, platform::DialogHost* owner = nullptr) {
    return platform_->dialogs().RunModal(templateId, handlers, owner);
  }
  Rect Screen() {
    Display* d = driver_.display();
    return Rect{0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
  }

  static Window WindowOf(platform::DialogHost& host) {
    return static_cast<DialogWindow&>(host).window();
  }
  static Window ControlWindowOf(platform::DialogHost& host, int id) {
    drawn::Control* control = static_cast<DialogWindow&>(host).FindControl(id);
    return control != nullptr ? x11::ControlWindowOf(*control) : None;
  }

  XDriver driver_;
  std::unique_ptr<platform::Platform> platform_;
};

}  // namespace quorvel::x11::testing
