// Stand-ins for the DirectDraw object and its DirectDraw 4 interface that
// answer the probe's three questions and write each call into a record.
#pragma once

#include "platform/win32/windows_api.h"

#include <ddraw.h>

#include <cstring>
#include <string>
#include <vector>

namespace quorvel::win32 {

// Methods the probe never calls.
#define QUORVEL_UNUSED(name, ...) \
  STDMETHOD(name)(__VA_ARGS__) override { return E_NOTIMPL; }

class FakeDirectDraw4 : public IDirectDraw4 {
 public:
  explicit FakeDirectDraw4(std::vector<std::string>& calls) : calls_(calls) {}
  DWORD videoMemory = 64u << 20;
  std::string driverFile = "quorvel_stand_in.drv";

  STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return 2; }
  STDMETHOD_(ULONG, Release)() override {
    calls_.push_back("Release DirectDraw 4");
    return 0;
  }
  STDMETHOD(GetAvailableVidMem)(LPDDSCAPS2 caps, LPDWORD total, LPDWORD free) override {
    calls_.push_back("GetAvailableVidMem caps " + std::to_string(caps->dwCaps) + " " +
                     std::to_string(caps->dwCaps2) + " " + std::to_string(caps->dwCaps3) +
                     " " + std::to_string(caps->dwCaps4));
    *total = videoMemory;
    *free = videoMemory / 2;
    return DD_OK;
  }
  STDMETHOD(GetDeviceIdentifier)(LPDDDEVICEIDENTIFIER identifier, DWORD flags) override {
    calls_.push_back("GetDeviceIdentifier " + std::to_string(flags));
    std::strncpy(identifier->szDriver, driverFile.c_str(), sizeof identifier->szDriver - 1);
    return DD_OK;
  }
  QUORVEL_UNUSED(Compact)
  QUORVEL_UNUSED(CreateClipper, DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*)
  QUORVEL_UNUSED(CreatePalette, DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*)
  QUORVEL_UNUSED(CreateSurface, LPDDSURFACEDESC2, LPDIRECTDRAWSURFACE4*, IUnknown*)
  QUORVEL_UNUSED(DuplicateSurface, LPDIRECTDRAWSURFACE4, LPDIRECTDRAWSURFACE4*)
  QUORVEL_UNUSED(EnumDisplayModes, DWORD, LPDDSURFACEDESC2, LPVOID, LPDDENUMMODESCALLBACK2)
  QUORVEL_UNUSED(EnumSurfaces, DWORD, LPDDSURFACEDESC2, LPVOID, LPDDENUMSURFACESCALLBACK2)
  QUORVEL_UNUSED(FlipToGDISurface)
  QUORVEL_UNUSED(GetCaps, LPDDCAPS, LPDDCAPS)
  QUORVEL_UNUSED(GetDisplayMode, LPDDSURFACEDESC2)
  QUORVEL_UNUSED(GetFourCCCodes, LPDWORD, LPDWORD)
  QUORVEL_UNUSED(GetGDISurface, LPDIRECTDRAWSURFACE4*)
  QUORVEL_UNUSED(GetMonitorFrequency, LPDWORD)
  QUORVEL_UNUSED(GetScanLine, LPDWORD)
  QUORVEL_UNUSED(GetVerticalBlankStatus, WINBOOL*)
  QUORVEL_UNUSED(Initialize, GUID*)
  QUORVEL_UNUSED(RestoreDisplayMode)
  QUORVEL_UNUSED(SetCooperativeLevel, HWND, DWORD)
  QUORVEL_UNUSED(SetDisplayMode, DWORD, DWORD, DWORD, DWORD, DWORD)
  QUORVEL_UNUSED(WaitForVerticalBlank, DWORD, HANDLE)
  QUORVEL_UNUSED(GetSurfaceFromDC, HDC, LPDIRECTDRAWSURFACE4*)
  QUORVEL_UNUSED(RestoreAllSurfaces)
  QUORVEL_UNUSED(TestCooperativeLevel)

 private:
  std::vector<std::string>& calls_;
};

class FakeDirectDraw : public IDirectDraw {
 public:
  FakeDirectDraw(std::vector<std::string>& calls, FakeDirectDraw4& four)
      : calls_(calls), four_(four) {}

  STDMETHOD(QueryInterface)(REFIID riid, void** out) override {
    // IID_IDirectDraw4
    static const GUID kFour = {0x9c59509a, 0x39bd, 0x11d1,
                               {0x8c, 0x4a, 0x00, 0xc0, 0x4f, 0xd9, 0x30, 0xc5}};
    const bool four = IsEqualGUID(riid, kFour);
    calls_.push_back(four ? "QueryInterface DirectDraw 4" : "QueryInterface other");
    *out = four ? static_cast<IDirectDraw4*>(&four_) : nullptr;
    return four ? S_OK : E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return 2; }
  STDMETHOD_(ULONG, Release)() override {
    calls_.push_back("Release DirectDraw");
    return 0;
  }
  QUORVEL_UNUSED(Compact)
  QUORVEL_UNUSED(CreateClipper, DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*)
  QUORVEL_UNUSED(CreatePalette, DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*)
  QUORVEL_UNUSED(CreateSurface, LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*)
  QUORVEL_UNUSED(DuplicateSurface, LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*)
  QUORVEL_UNUSED(EnumDisplayModes, DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK)
  QUORVEL_UNUSED(EnumSurfaces, DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK)
  QUORVEL_UNUSED(FlipToGDISurface)
  QUORVEL_UNUSED(GetCaps, LPDDCAPS, LPDDCAPS)
  QUORVEL_UNUSED(GetDisplayMode, LPDDSURFACEDESC)
  QUORVEL_UNUSED(GetFourCCCodes, LPDWORD, LPDWORD)
  QUORVEL_UNUSED(GetGDISurface, LPDIRECTDRAWSURFACE*)
  QUORVEL_UNUSED(GetMonitorFrequency, LPDWORD)
  QUORVEL_UNUSED(GetScanLine, LPDWORD)
  QUORVEL_UNUSED(GetVerticalBlankStatus, WINBOOL*)
  QUORVEL_UNUSED(Initialize, GUID*)
  QUORVEL_UNUSED(RestoreDisplayMode)
  QUORVEL_UNUSED(SetCooperativeLevel, HWND, DWORD)
  QUORVEL_UNUSED(SetDisplayMode, DWORD, DWORD, DWORD)
  QUORVEL_UNUSED(WaitForVerticalBlank, DWORD, HANDLE)

 private:
  std::vector<std::string>& calls_;
  FakeDirectDraw4& four_;
};

#undef QUORVEL_UNUSED

}  // namespace quorvel::win32
