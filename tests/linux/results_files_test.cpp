// Saving files on the local file system: written whole or not at all.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/posix_file_writer.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace quorvel::linux_os {
namespace {

namespace fs = std::filesystem;

using test_support::ReadFileBytes;
using test_support::TempFolder;
using test_support::WriteFileBytes;

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

}  // namespace
}  // namespace quorvel::linux_os
