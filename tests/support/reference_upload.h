// The reference upload every upload test starts from: Test User's 800 MHz
// machine with a GeForce2 MX at 1024 x 768, 32 bits and 85 Hz, constant
// alpha and gradients accelerated, scores 512, 512 and 0, driver
// 6.13.10.1241, 32 MB, Windows XP; and the request the program sends for it.
#pragma once

#include "bench/benchmark_scores.h"
#include "sysinfo/system_info.h"

namespace quorvel::test_support {

struct ReferenceUpload {
  SystemInfo info;
  BenchmarkScores scores;
  ReferenceUpload() {
    info.adapterName = "NVIDIA GeForce2 MX";
    info.modeText = "1024 x 768 x 32 bits (85 Hz)";
    info.constantAlphaAccelerated = 1;
    info.perPixelAlphaAccelerated = 0;
    info.gradientFillAccelerated = 1;
    info.cpuSpeedMhz = "800";
    info.cpuVendor = "GenuineIntel";
    info.cpuIdentifier = "x86 Family 6 Model 8 Stepping 3";
    info.driverVersion = "6.13.10.1241";
    info.videoMemoryText = "32";
    info.multipleProcessors = 0;
    info.isWindowsXP = 1;
    scores.overallScore = "512";
    scores.alphaTestScore = "512";
    scores.twoDTestScore = "0";
  }
};

// The path and query the program sends for the reference upload with the
// name "Test User" and no e-mail address, byte for byte.
constexpr char kReferencePath[] =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Test_User&email=&cardName=NVIDIA_"
    "GeForce2_MX&mode=1024_x_768_x_32_bits_(85_Hz)&Alpha=1&PerPixel=0&grad=1&Overall=512&"
    "AlphaTest=512&TwoDTest=0&cpu=800&driver=6.13.10.1241&mem=32&cpuMan=GenuineIntel&multiCPU=0&"
    "cpuID=x86_Family_6_Model_8_Stepping_3&OS=XP";

}  // namespace quorvel::test_support
