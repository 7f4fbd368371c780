#include "platform/win32/file_version_reader.h"

#include "platform/win32/windows_api.h"

#include <cstring>

namespace quorvel::win32 {

bool FileVersionReader::Read(const std::string& path) {
  std::memset(fixed_, 0, sizeof fixed_);
  resource_.reset();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return false;
  resource_ = std::make_unique<unsigned char[]>(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, resource_.get())) return false;
  void* block = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(resource_.get(), "\\", &block, &length) || block == nullptr ||
      length < sizeof fixed_) {
    return false;
  }
  std::uint32_t words[kWordCount];
  std::memcpy(words, block, sizeof words);
  if (words[kSignatureWord] != kSignature) return false;
  std::memcpy(fixed_, words, sizeof fixed_);
  return true;
}

}  // namespace quorvel::win32
