// Everything a backend provides, in one place. The core never sees a
// window handle, a device context or a display connection.
#pragma once

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/facts.h"
#include "platform/file_writer.h"
#include "platform/http_client.h"
#include "platform/profile_store.h"
#include "platform/services.h"

namespace quorvel::platform {

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
