// The machine's probe on Windows, call by call: the whole probe of the
// program's start-up runs over Win32Facts with recording stand-ins for the
// system calls, and the record shows which calls are made and in which
// order, and when the DirectDraw objects and the desktop context go.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "fake_direct_draw.h"
#include "platform/win32/system_entry.h"
#include "platform/win32/win32_facts.h"
#include "sysinfo/system_probe.h"

namespace quorvel::win32 {
namespace {

std::vector<std::string> calls;
FakeDirectDraw4 directDraw4(calls);
FakeDirectDraw directDraw(calls, directDraw4);

HRESULT WINAPI StandInDirectDrawCreate(GUID* device, LPDIRECTDRAW* out, IUnknown*) {
  calls.push_back(device == nullptr ? "DirectDrawCreate primary" : "DirectDrawCreate device");
  *out = &directDraw;
  return DD_OK;
}

DirectDrawCreateFn FindStandInDirectDrawCreate() { return StandInDirectDrawCreate; }

class RecordedReader : public FileVersionReader {
 public:
  ~RecordedReader() override { calls.push_back("version reader destroyed"); }
};

std::unique_ptr<FileVersionReader> NewRecordedReader() {
  calls.push_back("version reader made");
  return std::make_unique<RecordedReader>();
}

FARPROC FindRecordedEntry(const char* dll, const char* name) {
  calls.push_back(std::string(dll) + " " + name);
  return FindSystemEntry(dll, name);
}

BOOL WINAPI RecordedEnumDisplayDevices(LPCSTR device, DWORD index, PDISPLAY_DEVICEA out,
                                       DWORD flags) {
  calls.push_back("EnumDisplayDevicesA " + std::string(device == nullptr ? "desktop" : device) +
                  " " + std::to_string(index) + " size " + std::to_string(out->cb) + " flags " +
                  std::to_string(flags));
  std::strcpy(out->DeviceString, "Stand-in Adapter");
  return TRUE;
}

HDC WINAPI RecordedGetDC(HWND window) {
  calls.push_back(window == ::GetDesktopWindow() ? "GetDC desktop" : "GetDC other");
  return ::GetDC(window);
}

int WINAPI RecordedReleaseDC(HWND window, HDC dc) {
  calls.push_back("ReleaseDC");
  return ::ReleaseDC(window, dc);
}

int WINAPI RecordedGetDeviceCaps(HDC dc, int index) {
  calls.push_back("GetDeviceCaps " + std::to_string(index));
  return index == SHADEBLENDCAPS ? SB_CONST_ALPHA : ::GetDeviceCaps(dc, index);
}

const ProbeCalls kRecorded{FindStandInDirectDrawCreate, NewRecordedReader, FindRecordedEntry,
                           RecordedEnumDisplayDevices,  RecordedGetDC,     RecordedReleaseDC,
                           RecordedGetDeviceCaps};

// The registry reads of the processor probe, named in the same record.
class RecordedHardware : public platform::HardwareDescription {
 public:
  explicit RecordedHardware(platform::HardwareDescription& inner) : inner_(inner) {}
  bool QueryText(const std::string& key, const std::string& value, std::size_t size,
                 std::string& out) override {
    calls.push_back("registry " + key + " " + value);
    return inner_.QueryText(key, value, size, out);
  }
  bool QueryNumber(const std::string& key, const std::string& value,
                   std::uint32_t& out) override {
    calls.push_back("registry " + key + " " + value);
    return inner_.QueryNumber(key, value, out);
  }

 private:
  platform::HardwareDescription& inner_;
};

// The record of GetDeviceCaps with each of `indices`, in order.
std::vector<std::string> CapsCalls(std::initializer_list<int> indices) {
  std::vector<std::string> lines;
  for (int index : indices) lines.push_back("GetDeviceCaps " + std::to_string(index));
  return lines;
}

// Each of `parts` in turn.
std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class RecordedFacts : public Win32Facts {
 public:
  RecordedFacts() : Win32Facts(kRecorded) {}
  platform::HardwareDescription& Hardware() override { return hardware_; }

 private:
  RecordedHardware hardware_{Win32Facts::Hardware()};
};

TEST(Win32Probe, CallsTheSystemInTheProgramsOrder) {
  calls.clear();
  RecordedFacts facts;
  SystemInfo info;
  ProbeSystem(info, facts);

  const std::vector<std::string> order = Joined({
      // The first round: DirectDraw, and its objects let go in their order...
      {"DirectDrawCreate primary", "QueryInterface DirectDraw 4",
       "GetAvailableVidMem caps 16384 0 0 0", "GetDeviceIdentifier 1", "version reader made",
       "Release DirectDraw 4", "version reader destroyed", "Release DirectDraw",
       // ...then the imaging library.
       "msimg32.dll TransparentBlt", "msimg32.dll AlphaBlend",
       // The second round: display device 0, once...
       "EnumDisplayDevicesA desktop 0 size 424 flags 0",
       // ...and one desktop context from the mode to the processor's end.
       "GetDC desktop"},
      CapsCalls({HORZRES, VERTRES, PLANES, BITSPIXEL, VREFRESH, SHADEBLENDCAPS}),
      {"registry CentralProcessor\\0 ~Mhz", "registry CentralProcessor\\0 VendorIdentifier",
       "registry CentralProcessor\\1 ~Mhz", "registry CentralProcessor\\0 Identifier",
       "ReleaseDC"},
  });
  EXPECT_EQ(calls, order);
  EXPECT_EQ(info.adapterName, "Stand-in Adapter");
  EXPECT_EQ(info.adapterReportName, "Stand-in Adapter");
  EXPECT_EQ(info.driverVersion, "0.0.0.0");  // the stand-in driver file has no version
  EXPECT_EQ(info.constantAlphaAccelerated, 1);
  EXPECT_NE(info.alphaBlendEntry, nullptr);
  // The screen's bytes and the stand-in's 64 MiB.
  EXPECT_GE(info.videoMemoryMb, 64u);
}

// Outside a hold each reading takes a context of its own and gives it back.
TEST(Win32Probe, ReadingsOutsideAHoldGiveTheirContextBack) {
  calls.clear();
  Win32Facts facts(kRecorded);
  EXPECT_GT(facts.Display().width, 0);
  EXPECT_EQ(facts.ShadeBlendCaps(), static_cast<std::uint32_t>(SB_CONST_ALPHA));
  const std::vector<std::string> order = Joined({
      {"GetDC desktop"}, CapsCalls({HORZRES, VERTRES, PLANES, BITSPIXEL, VREFRESH}),
      {"ReleaseDC", "GetDC desktop"}, CapsCalls({SHADEBLENDCAPS}), {"ReleaseDC"}});
  EXPECT_EQ(calls, order);
}

}  // namespace
}  // namespace quorvel::win32
