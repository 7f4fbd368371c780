// An open registry key, closed with RegCloseKey.
#pragma once

#include "platform/win32/windows_api.h"

#include <memory>
#include <string>
#include <type_traits>

namespace quorvel::win32 {

struct RegistryKeyCloser {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};

using UniqueRegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

// Opens `root\path` for reading only; never creates it. Null when missing.
inline UniqueRegistryKey OpenKeyForReading(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  return UniqueRegistryKey(key);
}

}  // namespace quorvel::win32
