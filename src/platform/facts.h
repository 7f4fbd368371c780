// Raw facts of the machine; sysinfo/ turns them into the texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvel::platform {

// The machine's hardware description, read like the Windows registry's
// HKLM\HARDWARE\DESCRIPTION\SYSTEM: keys such as "CentralProcessor\0" with
// named values. On Linux the backend answers from /proc/cpuinfo.
class HardwareDescription {
 public:
  virtual ~HardwareDescription() = default;
  // A string value. False when the key or value is missing, is not a
  // string, or does not fit `bufferSize` bytes with its terminator.
  virtual bool QueryText(const std::string& keyPath, const std::string& valueName,
                         std::size_t bufferSize, std::string& out) = 0;
  // A 32-bit number value. False when the key or value is missing.
  virtual bool QueryNumber(const std::string& keyPath, const std::string& valueName,
                           std::uint32_t& out) = 0;
};

// The desktop's display mode, as GetDeviceCaps reports it on the desktop.
struct DisplayMode {
  int width = 0;          // HORZRES
  int height = 0;         // VERTRES
  int planes = 1;         // PLANES
  int bitsPerPixel = 0;   // BITSPIXEL
  int refresh = 0;        // VREFRESH; 0 when unknown
};

class Facts {
 public:
  virtual ~Facts() = default;
  // The operating system's build number; 0 when it cannot be read. Linux
  // reports the kernel release packed as major x 1000 + minor.
  virtual std::uint32_t OsBuildNumber() = 0;
  virtual HardwareDescription& Hardware() = 0;
  virtual DisplayMode Display() = 0;
};

}  // namespace quorvel::platform
