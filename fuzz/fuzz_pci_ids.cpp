// A pci.ids database with any bytes, asked for the IDs the input starts with.
#include <fuzzer/FuzzedDataProvider.h>

#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "platform/linux/drm_adapter.h"
#include "platform/linux/pci_names.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const unsigned vendor = in.ConsumeIntegral<std::uint16_t>();
  const unsigned device = in.ConsumeIntegral<std::uint16_t>();
  std::istringstream database(in.ConsumeRemainingBytesAsString());
  const quorvel::linux_os::PciIdsNames names =
      quorvel::linux_os::PciIdsLookup(database, vendor, device);
  // CR LF files name alike: the blanks and line ends around names are cut.
  for (const std::string& name : {names.vendor, names.device}) {
    FUZZ_CHECK(name.empty() || (name.find_first_of(" \t\r\n") != 0 &&
                                name.find_last_of(" \t\r\n") != name.size() - 1),
               "a name has no blanks around it");
    FUZZ_CHECK(!quorvel::fuzz::HasControl(name), "a name holds no control character");
    std::uint32_t ms = 0, ls = 0;
    quorvel::linux_os::ParseDriverVersion(name, ms, ls);
  }
  return 0;
}
