#include "platform/x11/x11_platform.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string>

#include "platform/linux/curl_http_client.h"
#include "platform/linux/posix_file_writer.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/facts/x11_facts.h"
#include "platform/x11/painting/x11_graphics.h"
#include "platform/x11/windows/x11_dialog_system.h"
#include "platform/x11/x11_services.h"
#include "profile/ini_file_store.h"
#include "profile/profile_location.h"

namespace quorvel::x11 {

X11Platform::X11Platform(std::unique_ptr<XConnection> connection, const std::string& sysroot)
    : connection_(std::move(connection)),
      graphics_(std::make_unique<X11Graphics>()),
      dialogs_(std::make_unique<X11DialogSystem>(*connection_, *graphics_)),
      services_(std::make_unique<X11Services>(*connection_, *dialogs_, *graphics_)),
      facts_(std::make_unique<X11Facts>(*connection_, sysroot.empty() ? "/" : sysroot)),
      files_(std::make_unique<linux_os::PosixFileWriter>()),
      profile_(std::make_unique<IniFileStore>(ProfilePathFromEnvironment(), *files_)),
      http_(std::make_unique<linux_os::CurlHttpClient>()) {}

X11Platform::~X11Platform() {
  // Everything that uses the connection goes before it.
  facts_.reset();
  services_.reset();
  dialogs_.reset();
  graphics_.reset();
}

platform::Services& X11Platform::services() { return *services_; }
platform::Graphics& X11Platform::graphics() { return *graphics_; }
platform::DialogSystem& X11Platform::dialogs() { return *dialogs_; }
platform::Facts& X11Platform::facts() { return *facts_; }
platform::FileWriter& X11Platform::files() { return *files_; }
platform::ProfileStore& X11Platform::profile() { return *profile_; }
platform::HttpClient& X11Platform::http() { return *http_; }

std::unique_ptr<platform::Platform> CreatePlatform(const platform::PlatformOptions& options) {
  // Only the user-interface thread talks to the server, but Xlib is made
  // thread-safe anyway, before the first connection as it requires.
  XInitThreads();
  std::string why;
  std::unique_ptr<XConnection> connection = XConnection::Open(nullptr, &why);
  if (!connection) {
    std::fprintf(stderr, "quorvel: %s\n", why.c_str());
    return nullptr;
  }
  return std::make_unique<X11Platform>(std::move(connection), options.sysroot);
}

}  // namespace quorvel::x11
