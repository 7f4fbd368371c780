// The keys of the results upload's query, in the order the program sends
// them. The desktop program builds its request from this list and the
// results site (server/) checks uploads against it, so the two cannot drift
// apart.
#pragma once

#include <cstddef>

namespace quorvel {

constexpr const char* kUploadKeys[] = {
    "VER",       "UserName", "email", "cardName", "mode",   "Alpha",   "PerPixel",
    "grad",      "Overall",  "AlphaTest", "TwoDTest", "cpu", "driver", "mem",
    "cpuMan",    "multiCPU", "cpuID", "OS",
};
constexpr std::size_t kUploadKeyCount = sizeof kUploadKeys / sizeof kUploadKeys[0];

}  // namespace quorvel
