// Saving files and the settings file on the local file system.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/x11/posix_file_writer.h"
#include "platform/x11/x11_platform.h"
#include "results/identity.h"
#include "support/file_bytes.h"

namespace quorvel::x11 {
namespace {

namespace fs = std::filesystem;

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorvel-files-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Every name in the folder, so a temporary file left behind shows.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};

// Restores the umask when the test ends, whatever it asserted.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(old_); }

 private:
  mode_t old_;
};

const std::string kBinary = std::string("line 1\r\nline 2\n\r\0\xff\x80 end", 22);

TEST(PosixFileWriter, WritesTheBytesExactlyWithTheModeOfANewFile) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  PosixFileWriter writer;
  for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
    ScopedUmask umask(mask);
    const std::string target = folder / "results.txt";
    std::string error = "stale";
    ASSERT_TRUE(writer.WriteFileAtomically(target, kBinary, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadFileBytes(target), kBinary);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "umask " << std::oct << mask;
  }
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"results.txt"});
}

TEST(PosixFileWriter, ReplacesALongerFileAndWritesRelativeToTheCurrentFolder) {
  TempFolder folder;
  const fs::path before = fs::current_path();
  fs::current_path(folder.path());
  WriteFileBytes("results.txt", std::string(5000, 'x'));
  PosixFileWriter writer;
  std::string error;
  const bool written = writer.WriteFileAtomically("results.txt", "short\r\n", error);
  fs::current_path(before);
  ASSERT_TRUE(written) << error;
  EXPECT_EQ(ReadFileBytes(folder / "results.txt"), "short\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"results.txt"});

  // Writing nothing makes an empty file, not a failure.
  ASSERT_TRUE(writer.WriteFileAtomically(folder / "results.txt", "", error)) << error;
  EXPECT_EQ(ReadFileBytes(folder / "results.txt"), "");
}

struct FailureCase {
  const char* name;
  const char* target;  // in the test's folder, which holds "old.txt" and "folder/inside.txt"
  const char* reason;
};

class PosixFileWriterFailure : public ::testing::TestWithParam<FailureCase> {};

// The target cannot be replaced: the reason is the system's, and nothing
// in the folder changes (no temporary file stays behind).
TEST_P(PosixFileWriterFailure, LeavesEverythingAsItWas) {
  TempFolder folder;
  WriteFileBytes(folder / "old.txt", "old contents");
  fs::create_directory(folder / "folder");
  WriteFileBytes(folder / "folder/inside.txt", "inside");
  const std::vector<std::string> names = folder.Names();

  PosixFileWriter writer;
  std::string error;
  EXPECT_FALSE(writer.WriteFileAtomically(folder / GetParam().target, kBinary, error));
  EXPECT_EQ(error, GetParam().reason);
  EXPECT_EQ(folder.Names(), names);
  EXPECT_EQ(ReadFileBytes(folder / "old.txt"), "old contents");
  EXPECT_EQ(ReadFileBytes(folder / "folder/inside.txt"), "inside");
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PosixFileWriterFailure,
    ::testing::Values(FailureCase{"ADirectory", "folder", "Is a directory"},
                      FailureCase{"MissingFolder", "missing/results.txt",
                                  "No such file or directory"},
                      FailureCase{"UnderARegularFile", "old.txt/results.txt",
                                  "Not a directory"}),
    [](const auto& info) { return std::string(info.param.name); });

// A write that fails half way (here: the file size limit, as a full disk
// would) keeps the old file and removes the partial temporary file.
TEST(PosixFileWriter, AFailedWriteKeepsTheOldFile) {
  TempFolder folder;
  WriteFileBytes(folder / "results.txt", "old contents");
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 1000;
  // Past the limit write(2) gives EFBIG, once SIGXFSZ no longer ends the process.
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  PosixFileWriter writer;
  std::string error;
  const bool written =
      writer.WriteFileAtomically(folder / "results.txt", std::string(5000, 'n'), error);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(error, "File too large");
  EXPECT_EQ(ReadFileBytes(folder / "results.txt"), "old contents");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"results.txt"});
}

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
