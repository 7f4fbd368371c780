// The X11 backend: one connection to the X server and the services, drawing,
// dialogs and facts built on it. The contract it keeps: platform/BACKENDS.md.
//
// Implements:
//   - drawing with the software raster into MIT-SHM images (plain XPutImage
//     without SHM), on TrueColor, DirectColor and 8-bit colour-cube visuals;
//   - dialogs as X windows with self-drawn controls (owner-drawn buttons, a
//     single-line edit with selection and paste, bitmap statics); message
//     boxes as small modal windows;
//   - layered windows: constant alpha as _NET_WM_WINDOW_OPACITY (shown only
//     where a compositor runs), the colour key as an XShape mask;
//   - the worker calls as full exchanges with the window's thread, which
//     wait for the window manager's ConfigureNotify; the step threads kept
//     beside the X server while timed (Begin/EndTimedSteps);
//   - frame reports from _NET_WM_FRAME_DRAWN where the window manager sends
//     them; the screen read back from the root window (TrueColor only);
//   - facts from linux/ (cpuinfo, sysfs, pci.ids) and the X server (RandR
//     mode, compositor selection, RENDER); files, INI store, libcurl.
// Does not:
//   - call OnNonClientActivate (no non-client area of its own);
//   - give a system menu (AppendSystemMenuItem returns false);
//   - erase controls (SuppressControlErase is only recorded);
//   - move the pointer on XWayland (SetCursorPos does nothing there);
//   - offer the MSIMG32 entry points or DirectDraw: the portable blits run.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace quorvel {
class IniFileStore;
}

namespace quorvel::linux_os {
class CurlHttpClient;
class PosixFileWriter;
}  // namespace quorvel::linux_os

namespace quorvel::x11 {

class XConnection;
class X11DialogSystem;
class X11Facts;
class X11Graphics;
class X11Services;

class X11Platform : public platform::Platform {
 public:
  // Takes the connection; to be made on the user-interface thread. The
  // machine's files are read under `sysroot` ("/" when empty).
  X11Platform(std::unique_ptr<XConnection> connection, const std::string& sysroot);
  ~X11Platform() override;

  platform::Services& services() override;
  platform::Graphics& graphics() override;
  platform::DialogSystem& dialogs() override;
  platform::Facts& facts() override;
  platform::FileWriter& files() override;
  // The INI file in the user's configuration folder, as the environment
  // named it when the platform was made.
  platform::ProfileStore& profile() override;
  platform::HttpClient& http() override;

  XConnection& connection() { return *connection_; }
  X11DialogSystem& dialogSystem() { return *dialogs_; }

 private:
  std::unique_ptr<XConnection> connection_;
  std::unique_ptr<X11Graphics> graphics_;
  std::unique_ptr<X11DialogSystem> dialogs_;
  std::unique_ptr<X11Services> services_;
  std::unique_ptr<X11Facts> facts_;
  std::unique_ptr<linux_os::PosixFileWriter> files_;
  std::unique_ptr<IniFileStore> profile_;  // writes through files_
  std::unique_ptr<linux_os::CurlHttpClient> http_;
};

// Opens $DISPLAY and makes the platform; null, after one line on standard
// error saying why, when the display cannot be opened.
std::unique_ptr<platform::Platform> CreatePlatform(const platform::PlatformOptions& options = {});

}  // namespace quorvel::x11
