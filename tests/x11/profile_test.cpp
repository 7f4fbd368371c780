// The settings file of the X11 platform in the user's configuration folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/x11/x11_platform.h"
#include "results/identity.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace quorvel::x11 {
namespace {

using test_support::ReadFileBytes;
using test_support::TempFolder;

// Sets an environment variable for one scope (null: unset) and puts the old
// value back after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old != nullptr) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct ProfileCase {
  const char* name;
  const char* xdgConfigHome;  // relative to the test's folder; null: unset
  const char* home;
  const char* file;           // where the settings must end up
};

class X11Profile : public ::testing::TestWithParam<ProfileCase> {};

// The identity goes into the INI file the environment names, whose missing
// folders are made, and a second platform reads it back.
TEST_P(X11Profile, StoresTheIdentityInTheUsersConfigurationFolder) {
  const ProfileCase& c = GetParam();
  TempFolder folder;
  const std::string xdg = c.xdgConfigHome ? folder / c.xdgConfigHome : "";
  const std::string home = folder / c.home;
  ScopedEnv xdgEnv("XDG_CONFIG_HOME", c.xdgConfigHome ? xdg.c_str() : nullptr);
  ScopedEnv homeEnv("HOME", home.c_str());

  {
    std::unique_ptr<platform::Platform> platform = CreatePlatform();
    ASSERT_TRUE(platform) << "these tests need an X display in DISPLAY";
    EXPECT_EQ(ReadIdentity(platform->profile()).userName, "");
    WriteIdentity(platform->profile(), "Test User", "a@b.c");
  }
  EXPECT_EQ(ReadFileBytes(folder / c.file), "[QUORVEL]\r\nNAME=Test User\r\nMAIL=a@b.c\r\n");

  std::unique_ptr<platform::Platform> again = CreatePlatform();
  ASSERT_TRUE(again);
  const Identity identity = ReadIdentity(again->profile());
  EXPECT_EQ(identity.userName, "Test User");
  EXPECT_EQ(identity.email, "a@b.c");
  EXPECT_EQ(again->profile().ReadString("quorvel", "mail", "none"), "a@b.c");
  EXPECT_EQ(again->profile().ReadString("Other", "MAIL", "none"), "none");
}

INSTANTIATE_TEST_SUITE_P(
    Environment, X11Profile,
    ::testing::Values(
        ProfileCase{"XdgConfigHome", "xdg/deeper", "home", "xdg/deeper/Quorvel.ini"},
        ProfileCase{"HomeConfig", nullptr, "home", "home/.config/Quorvel.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::x11
