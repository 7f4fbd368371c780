#include "platform/win32/win32_profile_store.h"

#include "platform/win32/windows_api.h"
#include "profile/profile_location.h"

namespace quorvel::win32 {

// A file name without a folder: the profile functions keep it in the
// Windows folder (or where the system maps it for this user).
std::string Win32ProfileStore::ReadString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue) {
  char value[255] = {};
  const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(),
                                                  defaultValue.c_str(), value, sizeof value,
                                                  kProfileFileName);
  return std::string(value, length);
}

bool Win32ProfileStore::WriteString(const std::string& section, const std::string& key,
                                    const std::string& value) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      kProfileFileName) != FALSE;
}

}  // namespace quorvel::win32
