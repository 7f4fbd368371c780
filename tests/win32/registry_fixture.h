// Registry keys a test writes under HKCU\Software\QuorvelTests\<name> and
// removes again, to stand in for HKLM\HARDWARE\DESCRIPTION\SYSTEM.
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <string>

namespace quorvel::win32::testing {

class RegistryFixture {
 public:
  explicit RegistryFixture(const std::string& name);
  ~RegistryFixture();
  RegistryFixture(const RegistryFixture&) = delete;
  RegistryFixture& operator=(const RegistryFixture&) = delete;

  // The path under HKEY_CURRENT_USER that stands for the description's root.
  const std::string& base() const { return base_; }

  void SetText(const std::string& key, const std::string& name, const std::string& text);
  // The text without its terminating zero, as a careless writer stores it.
  void SetUnterminatedText(const std::string& key, const std::string& name, const std::string& text);
  void SetNumber(const std::string& key, const std::string& name, std::uint32_t number);
  bool KeyExists(const std::string& key) const;

 private:
  void Set(const std::string& key, const std::string& name, DWORD type, const void* data,
           DWORD size);

  std::string base_;
};

}  // namespace quorvel::win32::testing
