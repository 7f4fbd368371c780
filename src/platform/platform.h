// Everything a backend provides, in one place. The core never sees a
// window handle, a device context or a display connection.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/facts.h"
#include "platform/file_writer.h"
#include "platform/http_client.h"
#include "platform/profile_store.h"
#include "platform/services.h"

namespace quorvel::platform {

// What the command line asks of a backend before it is made.
struct PlatformOptions {
  // A folder holding another machine's /proc, /sys and PCI ID database, read
  // in place of the running machine's (--sysroot); empty for this machine.
  // Only a backend whose capabilities say it reads such files is given one.
  std::string sysroot;
};

// What a backend can do before it is made, so the program can refuse an
// option the desktop has no use for.
struct PlatformCapabilities {
  // The machine's facts come from files under a root folder (/proc, /sys),
  // so --sysroot can point them at a snapshot of another machine.
  bool readsSysroot = false;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Services& services() = 0;
  virtual Graphics& graphics() = 0;
  virtual DialogSystem& dialogs() = 0;
  virtual Facts& facts() = 0;
  // Saving, the stored settings and the upload.
  virtual FileWriter& files() = 0;
  virtual ProfileStore& profile() = 0;
  virtual HttpClient& http() = 0;
};

}  // namespace quorvel::platform
