// The DRM adapter reader on a small sysfs tree made from the input: each
// entry picks one of the files and links the reader looks at (or a few
// around them) and gives its bytes or its link target.
#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz_check.h"
#include "platform/linux/drm_adapter.h"
#include "temp_root.h"

namespace {

namespace fs = std::filesystem;

// Files the reader reads, and neighbours that must not confuse it.
const char* const kFiles[] = {
    "sys/class/drm/card0/device/vendor",
    "sys/class/drm/card0/device/device",
    "sys/class/drm/card0/device/mem_info_vram_total",
    "sys/class/drm/card1/device/vendor",
    "sys/class/drm/card1/device/device",
    "sys/class/drm/card0-DP-1/device/vendor",
    "sys/class/drm/card10/device/vendor",
    "sys/class/drm/renderD128/device/vendor",
    "sys/module/amdgpu/version",
    "sys/module/nvidia/version",
    "sys/bus/pci/drivers/nvidia/bind",
    "usr/share/misc/pci.ids",
    "usr/share/hwdata/pci.ids",
    "proc/driver/nvidia/gpus/0000:01:00.0/information",
    "proc/driver/nvidia/version",
};
// Links: the card's device and its driver.
const char* const kLinks[] = {
    "sys/class/drm/card0/device/driver",
    "sys/class/drm/card1/device/driver",
    "sys/class/drm/card0/device",
    "sys/class/drm/card2",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static const quorvel::fuzz::TempRoot root;
  root.Clear();
  FuzzedDataProvider in(data, size);
  const int entries = in.ConsumeIntegralInRange(0, 12);
  for (int entry = 0; entry < entries; ++entry) {
    std::error_code ignored;
    if (in.ConsumeBool()) {
      const fs::path path = root.path() / in.PickValueInArray(kLinks);
      fs::create_directories(path.parent_path(), ignored);
      fs::create_symlink(in.ConsumeRandomLengthString(64), path, ignored);
    } else {
      const fs::path path = root.path() / in.PickValueInArray(kFiles);
      quorvel::fuzz::WriteFile(path, in.ConsumeRandomLengthString(512));
    }
  }
  const std::string kernel = in.ConsumeRandomLengthString(32);
  const quorvel::linux_os::DrmAdapter adapter =
      quorvel::linux_os::ReadDrmAdapter(root.path().string(), kernel);
  FUZZ_CHECK(adapter.driverFound || (adapter.versionMs == 0 && adapter.versionLs == 0),
             "no version without a driver");
  FUZZ_CHECK(!quorvel::fuzz::HasControl(adapter.description),
             "the description is one line of text");
  return 0;
}
