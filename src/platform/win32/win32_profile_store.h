// The settings in Quorvel.ini in the Windows folder, through the system's
// own profile functions.
#pragma once

#include <string>

#include "platform/profile_store.h"

namespace quorvel::win32 {

class Win32ProfileStore : public platform::ProfileStore {
 public:
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
};

}  // namespace quorvel::win32
