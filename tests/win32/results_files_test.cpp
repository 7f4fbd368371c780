// Saving files and the settings file with the Windows API.
#include <gtest/gtest.h>

#include "platform/win32/system_error_text.h"
#include "platform/win32/win32_file_writer.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "results/identity.h"
#include "support/file_bytes.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::win32 {
namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// A new folder under the temporary folder, removed with its files after.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH] = {};
    ::GetTempPathA(sizeof base, base);
    for (unsigned n = 0; n < 100 && path_.empty(); ++n) {
      const std::string candidate = std::string(base) + "quorvel-files-" +
                                    std::to_string(::GetCurrentProcessId()) + "-" +
                                    std::to_string(n);
      if (::CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
  }
  ~TempFolder() { Remove(path_); }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  // The names in the folder, so a temporary file left behind shows.
  std::vector<std::string> Names() const { return NamesIn(path_); }

 private:
  static std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }
  static void Remove(const std::string& folder) {
    if (folder.empty()) return;
    for (const std::string& name : NamesIn(folder)) {
      const std::string path = folder + "\\" + name;
      if (::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
        Remove(path);
      } else {
        ::DeleteFileA(path.c_str());
      }
    }
    ::RemoveDirectoryA(folder.c_str());
  }

  std::string path_;
};

const std::string kBinary = std::string("line 1\r\nline 2\n\r\0\xff\x80 end", 22);

TEST(Win32FileWriter, WritesTheBytesExactlyAndReplacesALongerFile) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  Win32FileWriter writer;
  std::string error = "stale";
  ASSERT_TRUE(writer.WriteFileAtomically(folder / "results.txt", kBinary, error)) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(ReadFileBytes(folder / "results.txt"), kBinary);

  WriteFileBytes(folder / "results.txt", std::string(5000, 'x'));
  // Relative to the current folder, as the program saves results.txt.
  char before[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof before, before);
  ASSERT_TRUE(::SetCurrentDirectoryA(folder.path().c_str()));
  const bool written = writer.WriteFileAtomically("results.txt", "short\r\n", error);
  ::SetCurrentDirectoryA(before);
  ASSERT_TRUE(written) << error;
  EXPECT_EQ(ReadFileBytes(folder / "results.txt"), "short\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"results.txt"});
}

struct FailureCase {
  const char* name;
  const char* target;  // in the test's folder, which holds "old.txt" and "folder\inside.txt"
  DWORD reason;
};

class Win32FileWriterFailure : public ::testing::TestWithParam<FailureCase> {};

// The target cannot be replaced: the reason is the system's text for the
// error that stopped the save, and nothing in the folder changes.
TEST_P(Win32FileWriterFailure, LeavesEverythingAsItWas) {
  TempFolder folder;
  WriteFileBytes(folder / "old.txt", "old contents");
  ASSERT_TRUE(::CreateDirectoryA((folder / "folder").c_str(), nullptr));
  WriteFileBytes(folder / "folder\\inside.txt", "inside");
  const std::vector<std::string> names = folder.Names();

  Win32FileWriter writer;
  std::string error;
  EXPECT_FALSE(writer.WriteFileAtomically(folder / GetParam().target, kBinary, error));
  EXPECT_EQ(error, SystemErrorText(GetParam().reason));
  EXPECT_EQ(error.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(folder.Names(), names);
  EXPECT_EQ(ReadFileBytes(folder / "old.txt"), "old contents");
  EXPECT_EQ(ReadFileBytes(folder / "folder\\inside.txt"), "inside");
}

INSTANTIATE_TEST_SUITE_P(
    Targets, Win32FileWriterFailure,
    ::testing::Values(FailureCase{"ADirectory", "folder", ERROR_ACCESS_DENIED},
                      FailureCase{"MissingFolder", "missing\\results.txt", ERROR_PATH_NOT_FOUND},
                      FailureCase{"UnderARegularFile", "old.txt\\results.txt",
                                  ERROR_PATH_NOT_FOUND}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Win32SystemErrorText, IsTheSystemsSentenceWithoutTheLineBreak) {
  const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), ' ');
  EXPECT_EQ(text.find("Error "), std::string::npos) << text;
  EXPECT_EQ(SystemErrorText(0xDEAD0000u), "Error 3735879680");
}

// Quorvel.ini in the Windows folder of the test's prefix, moved aside while
// the test runs and put back after.
class WindowsIniFile {
 public:
  WindowsIniFile() {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, sizeof windows);
    path_ = std::string(windows) + "\\Quorvel.ini";
    saved_ = ReadFileBytes(path_);
    ::DeleteFileA(path_.c_str());
  }
  ~WindowsIniFile() {
    ::DeleteFileA(path_.c_str());
    if (saved_) WriteFileBytes(path_, *saved_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::optional<std::string> saved_;
};

TEST(Win32Profile, StoresTheIdentityInTheWindowsFolder) {
  WindowsIniFile file;
  {
    Win32Platform platform;
    EXPECT_EQ(ReadIdentity(platform.profile()).userName, "");
    WriteIdentity(platform.profile(), "Test User", "a@b.c");
  }
  const std::optional<std::string> text = ReadFileBytes(file.path());
  ASSERT_TRUE(text) << file.path();
  EXPECT_NE(text->find("[QUORVEL]"), std::string::npos) << *text;
  EXPECT_NE(text->find("NAME=Test User"), std::string::npos) << *text;
  EXPECT_NE(text->find("MAIL=a@b.c"), std::string::npos) << *text;

  Win32Platform again;
  const Identity identity = ReadIdentity(again.profile());
  EXPECT_EQ(identity.userName, "Test User");
  EXPECT_EQ(identity.email, "a@b.c");
  EXPECT_EQ(again.profile().ReadString("Other", "MAIL", "none"), "none");
  // Values are read into a 255-byte buffer, as the program always has.
  ASSERT_TRUE(again.profile().WriteString("QUORVEL", "NAME", std::string(300, 'n')));
  EXPECT_EQ(again.profile().ReadString("Quorvel", "Name", ""), std::string(254, 'n'));
}

}  // namespace
}  // namespace quorvel::win32
