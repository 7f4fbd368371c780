#include "platform/linux/nvidia_proc.h"

#include <algorithm>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace fs = std::filesystem;
namespace {

// The value of the "Model:" line of an information file; nothing when that
// value holds a control character (a damaged file).
std::string ModelFromInformation(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || TrimBlanks(line.substr(0, colon)) != "Model") continue;
    std::string model = TrimBlanks(line.substr(colon + 1));
    return HoldsControlCharacter(model) ? std::string() : model;
  }
  return std::string();
}

bool IsVersionWord(const std::string& word) {
  if (word.empty() || word.front() < '0' || word.front() > '9') return false;
  bool dot = false;
  for (char c : word) {
    if (c == '.') {
      dot = true;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return dot;
}

}  // namespace

std::string NvidiaVersionFromText(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("NVRM version:", 0) != 0) continue;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
      if (IsVersionWord(word)) return word;
    }
  }
  return std::string();
}

NvidiaProcFacts ReadNvidiaProc(const fs::path& root) {
  NvidiaProcFacts facts;
  const fs::path driver = root / "proc/driver/nvidia";
  std::vector<fs::path> gpus;
  std::error_code ec;
  fs::directory_iterator it(driver / "gpus", ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) gpus.push_back(it->path());
  std::sort(gpus.begin(), gpus.end());
  for (const fs::path& gpu : gpus) {
    std::string information;
    if (!ReadRegularFile(gpu / "information", kMaxAttributeSize, information)) continue;
    facts.model = ModelFromInformation(information);
    if (!facts.model.empty()) break;
  }
  std::string version;
  if (ReadRegularFile(driver / "version", kMaxAttributeSize, version)) {
    facts.version = NvidiaVersionFromText(version);
  }
  return facts;
}

}  // namespace quorvel::linux_os
