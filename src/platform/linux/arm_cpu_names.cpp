#include "platform/linux/arm_cpu_names.h"

namespace quorvel::linux_os {
namespace {

struct Implementer {
  unsigned code;
  const char* name;
};

constexpr Implementer kImplementers[] = {
    {0x41, "ARM"},       {0x42, "Broadcom"}, {0x43, "Cavium"},   {0x46, "Fujitsu"},
    {0x48, "HiSilicon"}, {0x4e, "NVIDIA"},   {0x50, "APM"},      {0x51, "Qualcomm"},
    {0x53, "Samsung"},   {0x56, "Marvell"},  {0x61, "Apple"},    {0x69, "Intel"},
    {0x6d, "Microsoft"}, {0x70, "Phytium"},  {0xc0, "Ampere"},
};

struct Part {
  unsigned implementer, part;
  const char* name;
};

// The cores of boards, phones, laptops and servers that run Linux desktops.
constexpr Part kParts[] = {
    {0x41, 0xb76, "ARM1176"},        {0x41, 0xc07, "Cortex-A7"},
    {0x41, 0xc08, "Cortex-A8"},      {0x41, 0xc09, "Cortex-A9"},
    {0x41, 0xc0d, "Cortex-A12"},     {0x41, 0xc0e, "Cortex-A17"},
    {0x41, 0xc0f, "Cortex-A15"},     {0x41, 0xd03, "Cortex-A53"},
    {0x41, 0xd04, "Cortex-A35"},     {0x41, 0xd05, "Cortex-A55"},
    {0x41, 0xd07, "Cortex-A57"},     {0x41, 0xd08, "Cortex-A72"},
    {0x41, 0xd09, "Cortex-A73"},     {0x41, 0xd0a, "Cortex-A75"},
    {0x41, 0xd0b, "Cortex-A76"},     {0x41, 0xd0c, "Neoverse-N1"},
    {0x41, 0xd0d, "Cortex-A77"},     {0x41, 0xd40, "Neoverse-V1"},
    {0x41, 0xd41, "Cortex-A78"},     {0x41, 0xd44, "Cortex-X1"},
    {0x41, 0xd46, "Cortex-A510"},    {0x41, 0xd47, "Cortex-A710"},
    {0x41, 0xd48, "Cortex-X2"},      {0x41, 0xd49, "Neoverse-N2"},
    {0x41, 0xd4d, "Cortex-A715"},    {0x41, 0xd4e, "Cortex-X3"},
    {0x41, 0xd4f, "Neoverse-V2"},    {0x41, 0xd80, "Cortex-A520"},
    {0x41, 0xd81, "Cortex-A720"},    {0x41, 0xd82, "Cortex-X4"},
    {0x4e, 0x004, "Carmel"},         {0x51, 0x800, "Kryo 2XX Gold"},
    {0x51, 0x801, "Kryo 2XX Silver"}, {0x51, 0x803, "Kryo 3XX Silver"},
    {0x51, 0x804, "Kryo 4XX Gold"},  {0x51, 0x805, "Kryo 4XX Silver"},
    {0x51, 0x001, "Oryon"},          {0x61, 0x022, "Icestorm"},
    {0x61, 0x023, "Firestorm"},
};

}  // namespace

std::string ArmImplementerName(unsigned implementer) {
  for (const Implementer& i : kImplementers) {
    if (i.code == implementer) return i.name;
  }
  return std::string();
}

std::string ArmPartName(unsigned implementer, unsigned part) {
  for (const Part& p : kParts) {
    if (p.implementer == implementer && p.part == part) return p.name;
  }
  return std::string();
}

}  // namespace quorvel::linux_os
