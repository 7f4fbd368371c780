// NVIDIA's proprietary driver without its DRM module (nvidia-drm) makes no
// DRM card; it describes its cards in /proc/driver/nvidia instead.
#pragma once

#include <filesystem>
#include <string>

namespace quorvel::linux_os {

struct NvidiaProcFacts {
  // The model of the first card ("NVIDIA GeForce RTX 4090"); empty when
  // the driver describes none.
  std::string model;
  // The driver's version ("545.29.06"); empty when it cannot be read.
  std::string version;
};

// Reads under `root`:
//   proc/driver/nvidia/gpus/<bus id>/information   "Model:   <name>", the
//                                                  lowest bus id first
//   proc/driver/nvidia/version                     "NVRM version: ... Kernel
//                                                  Module  545.29.06  ..."
NvidiaProcFacts ReadNvidiaProc(const std::filesystem::path& root);

// The version in the "NVRM version:" line: its first word that is digits
// and dots with at least one dot; empty without one.
std::string NvidiaVersionFromText(const std::string& text);

}  // namespace quorvel::linux_os
