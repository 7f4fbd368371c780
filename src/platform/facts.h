// Raw facts of the machine; sysinfo/ turns them into the texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// What the display driver says of itself (Windows: DirectDraw 4 and the
// driver file's version resource).
struct DriverFacts {
  bool directDrawAvailable = false;
  // Total video memory in bytes as DirectDraw reports it; 0 when unknown.
  // Wide enough for cards beyond 4 GiB, which the Linux backend can report.
  std::uint64_t videoMemoryTotal = 0;
  // The display driver's file and its fixed version halves (most and least
  // significant 32 bits); both halves are 0 when the file has no version.
  bool driverFound = false;
  std::uint32_t driverVersionMs = 0, driverVersionLs = 0;
};

// The driver and the adapter's name together, as a backend that reads both
// from one place keeps them (Linux: the DRM card).
struct AdapterFacts : DriverFacts {
  bool adapterFound = false;
  std::string adapterDescription;
};

// What a backend keeps open for as long as its caller holds this.
class Held {
 public:
  virtual ~Held() = default;
};

// Bits of the desktop's SHADEBLENDCAPS: which blends the driver accelerates.
constexpr std::uint32_t kBlendConstantAlpha = 0x01;
constexpr std::uint32_t kBlendPerPixelAlpha = 0x02;
constexpr std::uint32_t kBlendPremultipliedAlpha = 0x04;
constexpr std::uint32_t kBlendGradientRect = 0x10;
constexpr std::uint32_t kBlendGradientTriangle = 0x20;

// The optional imaging entry points (TransparentBlt, AlphaBlend); null when
// the desktop does not offer them.
struct ImagingEntries {
  void* transparentBlt = nullptr;
  void* alphaBlend = nullptr;
};

// The desktop the program runs on, as far as it can tell.
struct DesktopDescription {
  std::string backend;            // "x11" or "win32"
  bool windowManagerKnown = false;
  std::string windowManager;      // the name the window manager gives itself
  bool compositor = false;        // a compositor draws the windows
  bool frameDrawn = false;        // the window manager answers drawn frames
};

class Facts {
 public:
  virtual ~Facts() = default;
  // The operating system's build number; 0 when it cannot be read. Linux
  // reports the kernel release packed as major x 1000 + minor.
  virtual std::uint32_t OsBuildNumber() = 0;
  virtual HardwareDescription& Hardware() = 0;
  virtual DisplayMode Display() = 0;
  // The display driver, asked once, in the first round of probing, before
  // the imaging entry points.
  virtual DriverFacts Driver() { return {}; }
  // The adapter's name (Windows: display device 0), asked once, in the
  // second round; empty when it cannot be read. It must name the adapter
  // whose driver Driver() described.
  virtual std::string AdapterDescription() { return {}; }
  // Holds the desktop's drawing context from the reading of the display
  // mode until the processor has been probed: while held, Display() and
  // ShadeBlendCaps() read that one context (Windows: the desktop window's
  // device context, released when the hold ends). Null where there is
  // nothing to hold; both still answer.
  virtual std::unique_ptr<Held> HoldDesktop() { return nullptr; }
  // Loads the desktop's 3D library once and keeps it (Windows: D3DIM.DLL),
  // during start-up after the skin is loaded; a failure is ignored. Other
  // desktops have nothing to load.
  virtual void LoadDirect3D() {}
  // The SHADEBLENDCAPS bits above; 0 when nothing is accelerated or unknown.
  virtual std::uint32_t ShadeBlendCaps() { return 0; }
  virtual ImagingEntries Imaging() { return {}; }
  virtual DesktopDescription Desktop() { return {}; }
};

}  // namespace quorvel::platform
