// The command line: no arguments runs the program; --help and --version
// print and end; anything else is an error with exit code 2.
#include <gtest/gtest.h>

#include "app/benchmark_app.h"
#include "app/command_line.h"
#include "fake/fake_platform.h"

namespace quorvel {
namespace {

// Runs the program over a fake backend that reads a sysroot when
// `readsSysroot`; `options`, when given, receives what the backend was
// made with.
int Main(std::vector<std::string> args, bool* platformMade = nullptr, bool readsSysroot = false,
         platform::PlatformOptions* options = nullptr) {
  args.insert(args.begin(), "quorvel");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  Backend backend;
  backend.capabilities.readsSysroot = readsSysroot;
  backend.create = [&](const platform::PlatformOptions& given) {
    if (platformMade != nullptr) *platformMade = true;
    if (options != nullptr) *options = given;
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

TEST(CommandLine, OptionsThatDoNotGoTogetherAreErrors) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--facts", "--run"}, "--facts and --run"},
      {{"--facts", "--repeat", "3"}, "--repeat works only with --run"},
      {{"--sysroot"}, "'--sysroot' needs a value"},
      {{"--sysroot="}, "--sysroot needs a folder"},
  };
  for (const auto& c : cases) {
    bool made = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main(c.args, &made, true), 2) << c.args[0];
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_FALSE(made);
  }
}

TEST(CommandLine, SysrootReachesOnlyABackendThatReadsOne) {
  const std::string folder = QUORVEL_TEST_FIXTURES;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--sysroot", folder, "--facts"},
        std::vector<std::string>{"--facts", "--sysroot=" + folder}}) {
    platform::PlatformOptions options;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Main(args, nullptr, true, &options), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(options.sysroot, folder);
  }

  const struct {
    std::string folder;
    bool readsSysroot;
    const char* message;
  } refused[] = {
      {folder, false, "--sysroot is not available on this desktop"},
      {folder + "/no such folder", true, "is not a folder"},
      {folder + "/screens/x11-main.png", true, "is not a folder"},
  };
  for (const auto& r : refused) {
    bool made = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main({"--facts", "--sysroot", r.folder}, &made, r.readsSysroot), 2) << r.folder;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(r.message), std::string::npos) << err;
    EXPECT_FALSE(made) << r.folder;
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
