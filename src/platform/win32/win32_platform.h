// The Win32 backend as one platform::Platform. The contract it keeps:
// platform/BACKENDS.md.
//
// Implements every operation, most as the one Windows call of its name:
//   - dialogs from the templates in res/quorvel.rc with our dialog class,
//     owner-drawn buttons and real edits, MessageBoxA, ShellExecuteA;
//   - GDI drawing, MSIMG32's TransparentBlt and AlphaBlend looked up at run
//     time, SetLayeredWindowAttributes looked up at run time;
//   - facts from GetVersionExA, the registry, DirectDraw 4 (ddraw.dll looked
//     up at run time), the driver file's version and GetDeviceCaps on one
//     held desktop context; desktop composition from dwmapi.dll;
//   - the screen read back through the screen's device context with
//     layered windows captured (CAPTUREBLT);
//   - the INI file through the profile functions, WinINet for the upload.
// Does not:
//   - report compositor frames (TakeFrameReport: not reported);
//   - place the step threads (Begin/EndTimedSteps do nothing: Windows
//     schedules them);
//   - read --sysroot (its capabilities say so).
#pragma once

#include <memory>

#include "platform/platform.h"
#include "platform/win32/dialog_system.h"
#include "platform/win32/gdi_graphics.h"
#include "platform/win32/win32_facts.h"
#include "platform/win32/win32_file_writer.h"
#include "platform/win32/win32_profile_store.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/wininet_http_client.h"

namespace quorvel::win32 {

class Win32Platform : public platform::Platform {
 public:
  platform::Services& services() override { return services_; }
  platform::Graphics& graphics() override { return graphics_; }
  platform::DialogSystem& dialogs() override { return dialogs_; }
  platform::Facts& facts() override { return facts_; }
  platform::FileWriter& files() override { return files_; }
  platform::ProfileStore& profile() override { return profile_; }
  platform::HttpClient& http() override { return http_; }

 private:
  Win32Services services_;
  GdiGraphics graphics_;
  Win32DialogSystem dialogs_;
  Win32Facts facts_;
  Win32FileWriter files_;
  Win32ProfileStore profile_;
  WinInetHttpClient http_;
};

// The backend; null, with the reason on standard error, when no window can
// be made on this desktop.
std::unique_ptr<platform::Platform> CreatePlatform();

}  // namespace quorvel::win32
