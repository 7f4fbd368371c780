// The results upload as the program and the results site (server/) both
// know it: where it goes, its version, the keys of its query in the order
// the program sends them, and the comparison page the program opens after
// an upload. The desktop program builds its request from these and the site
// serves and checks uploads by them, so the two cannot drift apart.
#pragma once

#include <cstddef>

namespace quorvel {

// The upload is GET kUploadPath?VER=kUploadVersion&UserName=...
constexpr char kUploadPath[] = "/products/quorvel/submitresults.asp";
constexpr char kUploadVersion[] = "103";
// The request path up to the version's value.
constexpr char kSubmitPathPrefix[] = "/products/quorvel/submitresults.asp?VER=";

constexpr const char* kUploadKeys[] = {
    "VER",       "UserName", "email", "cardName", "mode",   "Alpha",   "PerPixel",
    "grad",      "Overall",  "AlphaTest", "TwoDTest", "cpu", "driver", "mem",
    "cpuMan",    "multiCPU", "cpuID", "OS",
};
constexpr std::size_t kUploadKeyCount = sizeof kUploadKeys / sizeof kUploadKeys[0];

// The comparison page at the root of the results site.
constexpr char kComparisonPagePath[] = "/results.asp";

}  // namespace quorvel
