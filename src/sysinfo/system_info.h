// The detected facts of the machine and the texts made from them. Filled
// once while the main dialog initialises; read-only afterwards.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The optional imaging entry points of the desktop (TransparentBlt and
// AlphaBlend). Opaque to the core: the backend's blit paths use them.
using ImagingEntry = void*;

struct SystemInfo {
  // Operating system and processor.
  std::uint32_t osBuild = 0;  // the operating system's build number
  int isWindowsXP = 0;
  std::string cpuSpeedMhz;
  std::string cpuSpeedText;
  std::string cpuVendor;
  std::string cpuIdentifier;
  int multipleProcessors = 0;
  std::string cpuLine;

  // Graphics adapter, driver and video memory.
  std::uint32_t videoMemoryMb = 0;
  std::string videoMemoryText;
  std::string driverVersion;
  ImagingEntry transparentBltEntry = nullptr;
  ImagingEntry alphaBlendEntry = nullptr;
  std::string adapterName;
  std::string adapterReportName;
  std::string adapterLine;

  // Display mode and capabilities.
  int screenWidth = 0;
  int screenHeight = 0;
  int colourBits = 0;
  int refreshHz = 0;  // 0 when unknown
  std::string modeText;
  std::string modeLine;
  int constantAlphaAccelerated = 0;
  int perPixelAlphaAccelerated = 0;
  int gradientFillAccelerated = 0;

  // Sentences and advice.
  std::string constantAlphaSentence;
  std::string perPixelAlphaSentence;
  std::string adviceText;
};

}  // namespace quorvel
