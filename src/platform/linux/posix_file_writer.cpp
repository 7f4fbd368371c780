#include "platform/linux/posix_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

namespace quorvel::linux_os {
namespace {

std::string ErrnoText(int error) { return std::error_code(error, std::generic_category()).message(); }

// An open descriptor, closed once. Close() reports the result of close(2),
// which on some file systems is where a failed write first shows.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool Close() {
    // Linux frees the descriptor even when close fails (EINTR included), so
    // it is never closed a second time.
    return ::close(std::exchange(fd_, -1)) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// "dir/.name.XXXXXX" beside "dir/name": the same file system, so rename(2)
// replaces the target in one step; hidden, so a failed save that somehow
// stays behind does not sit among the user's files.
std::string TemporaryPathFor(const std::string& path, unsigned attempt) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const unsigned long long mix =
      (static_cast<unsigned long long>(now) * 0x9E3779B97F4A7C15ull) ^
      (static_cast<unsigned long long>(::getpid()) << 32) ^ (counter++ * 0x100000001B3ull) ^ attempt;
  static const char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  unsigned long long bits = mix;
  for (int i = 0; i < 6; ++i) {
    suffix += kLetters[bits % 62];
    bits /= 62;
  }
  return folder + "." + name + "." + suffix;
}

// Creates a new temporary file with the mode 0666, which the kernel narrows
// by the umask (and a default ACL of the folder) as for any new file.
// mkstemp(3) would make it 0600 and leave the umask to be read, and umask(2)
// can only be read by changing it, which is not safe beside other threads.
int CreateTemporary(const std::string& path, std::string& temporary) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryPathFor(path, attempt);
    int fd;
    do {
      fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Makes the rename itself durable. Best effort: a folder that cannot be
// opened or flushed does not undo a save that has already replaced the file.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  UniqueFd owner(fd);
  ::fsync(fd);
}

}  // namespace

bool PosixFileWriter::WriteFileAtomically(const std::string& path, const std::string& bytes,
                                          std::string& error) {
  std::string temporary;
  const int fd = CreateTemporary(path, temporary);
  if (fd < 0) {
    error = ErrnoText(errno);
    return false;
  }
  UniqueFd file(fd);
  const auto fail = [&error, &temporary] {
    const int reason = errno;
    ::unlink(temporary.c_str());
    error = ErrnoText(reason);
    return false;
  };
  if (!WriteAll(file.get(), bytes)) return fail();
  if (::fsync(file.get()) != 0) return fail();
  if (!file.Close()) return fail();
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail();
  SyncFolderOf(path);
  error.clear();
  return true;
}

}  // namespace quorvel::linux_os
