// The command line: no arguments runs the program; --help and --version
// print and end; anything else is an error with exit code 2.
#include <gtest/gtest.h>

#include "app/benchmark_app.h"
#include "app/command_line.h"
#include "fake/fake_platform.h"

namespace quorvel {
namespace {

int Main(std::vector<std::string> args, bool* platformMade = nullptr) {
  args.insert(args.begin(), "quorvel");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  Backend backend;
  backend.create = [&](const platform::PlatformOptions&) {
    if (platformMade != nullptr) *platformMade = true;
    return std::unique_ptr<platform::Platform>(new fake::FakePlatform);
  };
  return BenchmarkMain(static_cast<int>(argv.size()), argv.data(), backend);
}

TEST(CommandLine, OptionsPrintAndEndWithoutTheDesktop) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* output;
  } cases[] = {
      {{"--help"}, 0, "Usage: quorvel"},
      {{"--version"}, 0, "quorvel 1."},
  };
  for (const Case& c : cases) {
    bool made = false;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Main(c.args, &made), c.exitCode);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(c.output), std::string::npos);
    EXPECT_FALSE(made) << "no desktop is needed for " << c.args[0];
  }
}

TEST(CommandLine, UnknownArgumentsAreErrors) {
  for (const char* arg : {"--bogus", "-x", "results.txt"}) {
    bool made = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main({arg}, &made), 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(arg), std::string::npos) << err;
    EXPECT_FALSE(made);
  }
}

TEST(CommandLine, NoArgumentsRunsTheDialogAndEndsWithZero) {
  bool made = false;
  EXPECT_EQ(Main({}, &made), 0);
  EXPECT_TRUE(made);
}

TEST(CommandLine, NoDesktopEndsWithOne) {
  char name[] = "quorvel";
  char* argv[] = {name};
  Backend backend;
  backend.create = [](const platform::PlatformOptions&) {
    return std::unique_ptr<platform::Platform>();
  };
  EXPECT_EQ(BenchmarkMain(1, argv, backend), 1);
}

}  // namespace
}  // namespace quorvel
