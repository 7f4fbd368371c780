// Tests against a headless weston of their own, connected before the test
// body runs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "headless_weston.h"
#include "platform/wayland/wayland_connection.h"

namespace quorvel::wayland_test {

class OnWeston : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(weston_.ok()) << weston_.why();
    std::string why;
    connection_ = wayland::WaylandConnection::Connect(weston_.socket().c_str(), &why);
    ASSERT_TRUE(connection_) << why << "\nweston's log:\n" << weston_.Log();
  }

  // Declared first: weston outlives the connection.
  HeadlessWeston weston_;
  std::unique_ptr<wayland::WaylandConnection> connection_;
};

}  // namespace quorvel::wayland_test
