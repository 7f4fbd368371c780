// /proc/cpuinfo with any bytes: the description reads the file from a root
// of its own and answers the processor keys the program asks for.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "platform/linux/cpuinfo_description.h"
#include "temp_root.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static const quorvel::fuzz::TempRoot root;
  const std::string text(reinterpret_cast<const char*>(data), size);
  quorvel::fuzz::WriteFile(root.path() / "proc/cpuinfo", text);

  quorvel::linux_os::CpuinfoDescription description(root.path().string());
  for (const char* key : {"CentralProcessor\\0", "CentralProcessor\\1", "CentralProcessor\\2"}) {
    for (const char* name : {"VendorIdentifier", "Identifier"}) {
      std::string out;
      if (description.QueryText(key, name, 256, out)) {
        FUZZ_CHECK(out.size() < 256, "a text answer fits its buffer");
        FUZZ_CHECK(!quorvel::fuzz::HasControl(out), "a text answer is one line of text");
      }
    }
    std::uint32_t mhz = 0;
    description.QueryNumber(key, "~Mhz", mhz);
  }
  quorvel::linux_os::ParseCpuinfo(text);
  return 0;
}
