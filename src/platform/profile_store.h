// The program's stored settings: named string values in named sections, as
// the Windows profile functions keep them in an INI file.
#pragma once

#include <string>

namespace quorvel::platform {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The value of `key` in `section`, or `defaultValue` when either is
  // missing or the store cannot be read. Section and key names match
  // without regard to letter case; values are at most 254 characters.
  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) = 0;
  // Stores `value` under `key` in `section`, creating either as needed.
  // False when the store could not be written.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
};

}  // namespace quorvel::platform
