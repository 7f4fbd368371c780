// The hardware description read from the registry, where Windows keeps it
// under HKLM\HARDWARE\DESCRIPTION\SYSTEM.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

#include "platform/facts.h"

namespace quorvel::win32 {

class RegistryHardwareDescription : public platform::HardwareDescription {
 public:
  // Key paths of the queries are relative to `root\base`.
  explicit RegistryHardwareDescription(HKEY root = HKEY_LOCAL_MACHINE,
                                       std::string base = "HARDWARE\\DESCRIPTION\\SYSTEM");

  bool QueryText(const std::string& keyPath, const std::string& valueName,
                 std::size_t bufferSize, std::string& out) override;
  bool QueryNumber(const std::string& keyPath, const std::string& valueName,
                   std::uint32_t& out) override;

 private:
  std::string FullPath(const std::string& keyPath) const;

  HKEY root_;
  std::string base_;
};

}  // namespace quorvel::win32
