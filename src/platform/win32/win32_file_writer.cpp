#include "platform/win32/win32_file_writer.h"

#include "platform/win32/system_error_text.h"
#include "platform/win32/windows_api.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <utility>

namespace quorvel::win32 {
namespace {

// A file handle from CreateFile, closed once. Close() reports whether
// CloseHandle succeeded.
class UniqueFile {
 public:
  explicit UniqueFile(HANDLE handle) : handle_(handle) {}
  ~UniqueFile() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;

  HANDLE get() const { return handle_; }
  bool Close() { return ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE; }

 private:
  HANDLE handle_;
};

// "folder\~name.<process>-<count>.tmp" beside "folder\name": the same
// volume, so the move replaces the target in one step.
std::string TemporaryPathFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const std::size_t cut = path.find_last_of("\\/:");
  const std::string folder = cut == std::string::npos ? "" : path.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  char unique[32];
  std::snprintf(unique, sizeof unique, ".%lx-%x.tmp",
                static_cast<unsigned long>(::GetCurrentProcessId()), counter++);
  return folder + "~" + name + unique;
}

// A new file only: another program's file of the same name is never
// opened, let alone overwritten.
HANDLE CreateTemporary(const std::string& path, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryPathFor(path);
    const HANDLE file = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, next, chunk, &written, nullptr) || written == 0) return false;
    next += written;
    left -= written;
  }
  return true;
}

}  // namespace

bool Win32FileWriter::WriteFileAtomically(const std::string& path, const std::string& bytes,
                                          std::string& error) {
  std::string temporary;
  UniqueFile file(CreateTemporary(path, temporary));
  if (file.get() == INVALID_HANDLE_VALUE) {
    error = SystemErrorText(::GetLastError());
    return false;
  }
  const auto fail = [&error, &file, &temporary] {
    const DWORD reason = ::GetLastError();
    // The handle goes first: an open file cannot be deleted.
    if (file.get() != INVALID_HANDLE_VALUE) file.Close();
    ::DeleteFileA(temporary.c_str());
    error = SystemErrorText(reason);
    return false;
  };
  if (!WriteAll(file.get(), bytes)) return fail();
  if (!::FlushFileBuffers(file.get())) return fail();
  if (!file.Close()) return fail();
  if (!::MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail();
  }
  error.clear();
  return true;
}

}  // namespace quorvel::win32
