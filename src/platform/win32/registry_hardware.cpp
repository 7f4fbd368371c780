#include "platform/win32/registry_hardware.h"

#include <cstring>
#include <vector>

#include "platform/win32/registry_key.h"

namespace quorvel::win32 {

RegistryHardwareDescription::RegistryHardwareDescription(HKEY root, std::string base)
    : root_(root), base_(std::move(base)) {}

std::string RegistryHardwareDescription::FullPath(const std::string& keyPath) const {
  if (base_.empty()) return keyPath;
  if (keyPath.empty()) return base_;
  return base_ + "\\" + keyPath;
}

bool RegistryHardwareDescription::QueryText(const std::string& keyPath,
                                            const std::string& valueName,
                                            std::size_t bufferSize, std::string& out) {
  // With no buffer at all RegQueryValueEx would only report the size and
  // succeed; nothing fits, not even the terminator.
  if (bufferSize == 0) return false;
  UniqueRegistryKey key = OpenKeyForReading(root_, FullPath(keyPath));
  if (!key) return false;
  std::vector<char> buffer(bufferSize, '\0');
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(bufferSize);
  const LONG status = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), &size);
  // ERROR_MORE_DATA: the value is longer than the buffer.
  if (status != ERROR_SUCCESS || type != REG_SZ) return false;
  const std::size_t length = strnlen(buffer.data(), size);
  // Data stored without its terminator fills the buffer to the last byte:
  // then the text and its terminator do not fit.
  if (length == bufferSize) return false;
  out.assign(buffer.data(), length);
  return true;
}

bool RegistryHardwareDescription::QueryNumber(const std::string& keyPath,
                                              const std::string& valueName,
                                              std::uint32_t& out) {
  UniqueRegistryKey key = OpenKeyForReading(root_, FullPath(keyPath));
  if (!key) return false;
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof(value);
  const LONG status = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return false;
  out = value;
  return true;
}

}  // namespace quorvel::win32
