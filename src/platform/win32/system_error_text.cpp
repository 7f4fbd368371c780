#include "platform/win32/system_error_text.h"

#include <memory>

namespace quorvel::win32 {
namespace {

struct LocalFreer {
  void operator()(char* text) const { ::LocalFree(text); }
};

}  // namespace

std::string SystemErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  const std::unique_ptr<char, LocalFreer> owner(buffer);
  std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : "";
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  if (text.empty()) text = "Error " + std::to_string(code);
  return text;
}

}  // namespace quorvel::win32
