#include "sysinfo/graphics_probe.h"

#include <limits>

#include "sysinfo/advice.h"

namespace quorvel {
namespace {

std::string Halves(std::uint32_t half) {
  return std::to_string(half >> 16) + "." + std::to_string(half & 0xFFFFu);
}

}  // namespace

std::string DriverVersionText(const platform::DriverFacts& driver) {
  if (!driver.directDrawAvailable || !driver.driverFound) return "";
  // A file without a version resource reports 0 in both halves: "0.0.0.0".
  return Halves(driver.driverVersionMs) + "." + Halves(driver.driverVersionLs);
}

std::uint64_t VideoMemoryMb(const platform::DisplayMode& mode, std::uint64_t directDrawTotal) {
  const std::int64_t screenBits = static_cast<std::int64_t>(mode.planes) * mode.bitsPerPixel *
                                  mode.height * mode.width;
  const std::int64_t screenBytes = screenBits / 8;
  // A mode the desktop cannot describe adds nothing rather than subtracting.
  const std::uint64_t screen = screenBytes > 0 ? static_cast<std::uint64_t>(screenBytes) : 0;
  return (screen + directDrawTotal + 100000u) >> 20;
}

void ApplyDriverAndImaging(SystemInfo& info, const platform::DriverFacts& driver,
                           const platform::ImagingEntries& imaging) {
  info.driverVersion = DriverVersionText(driver);
  info.transparentBltEntry = imaging.transparentBlt;
  info.alphaBlendEntry = imaging.alphaBlend;
}

void ApplyAdapter(SystemInfo& info, const std::string& description) {
  info.adapterName = description;
  info.adapterLine = "Graphics adapter : \t" + info.adapterName;
}

void ApplyDisplayMode(SystemInfo& info, const platform::DisplayMode& mode) {
  info.screenWidth = mode.width;
  info.screenHeight = mode.height;
  info.colourBits = mode.planes * mode.bitsPerPixel;
  info.refreshHz = mode.refresh;
  info.modeText = std::to_string(mode.width) + " x " + std::to_string(mode.height) + " x " +
                  std::to_string(info.colourBits) + " bits (" + std::to_string(mode.refresh) +
                  " Hz)";
  info.modeLine = "Current Video Mode : \t" + info.modeText;
}

void ApplyVideoMemory(SystemInfo& info, const platform::DisplayMode& mode,
                      std::uint64_t directDrawTotal) {
  const std::uint64_t mb = VideoMemoryMb(mode, directDrawTotal);
  // The record holds 32 bits of MiB (4 PiB); anything beyond shows the cap.
  constexpr std::uint64_t kMax = std::numeric_limits<decltype(info.videoMemoryMb)>::max();
  info.videoMemoryMb = static_cast<decltype(info.videoMemoryMb)>(mb < kMax ? mb : kMax);
  info.videoMemoryText = std::to_string(info.videoMemoryMb);
}

void ApplyCapabilities(SystemInfo& info, std::uint32_t caps) {
  info.constantAlphaAccelerated = (caps & platform::kBlendConstantAlpha) ? 1 : 0;
  info.perPixelAlphaAccelerated =
      (caps & (platform::kBlendPerPixelAlpha | platform::kBlendPremultipliedAlpha)) ? 1 : 0;
  info.gradientFillAccelerated =
      (caps & (platform::kBlendGradientRect | platform::kBlendGradientTriangle)) ? 1 : 0;
}

std::uint64_t ProbeDriverAndImaging(SystemInfo& info, platform::Facts& facts) {
  // DirectDraw first, then the imaging library: two statements, so the
  // order is not the compiler's choice.
  const platform::DriverFacts driver = facts.Driver();
  const platform::ImagingEntries imaging = facts.Imaging();
  ApplyDriverAndImaging(info, driver, imaging);
  return driver.videoMemoryTotal;
}

void ProbeAdapter(SystemInfo& info, platform::Facts& facts) {
  ApplyAdapter(info, facts.AdapterDescription());
}

void ProbeModeAndCapabilities(SystemInfo& info, platform::Facts& facts,
                              std::uint64_t directDrawTotal) {
  const platform::DisplayMode mode = facts.Display();
  ApplyDisplayMode(info, mode);
  ApplyVideoMemory(info, mode, directDrawTotal);
  ApplyCapabilities(info, facts.ShadeBlendCaps());
  ApplyAdvice(info);
}

void FinishProbing(SystemInfo& info) { info.adapterReportName = info.adapterName; }

}  // namespace quorvel
