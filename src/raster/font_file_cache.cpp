#include "raster/font_file_cache.h"

#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

namespace quorvel::raster {
namespace {

// Font files are at most a few megabytes; anything larger is not one.
constexpr std::streamoff kMaxFontFile = std::streamoff{64} << 20;

FontBytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0 || size > kMaxFontFile) return nullptr;
  in.seekg(0, std::ios::beg);
  auto bytes = std::make_shared<std::vector<unsigned char>>(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes->data()), size);
  if (!in) return nullptr;
  return bytes;
}

}  // namespace

FontBytes LoadFontFile(const std::string& path) {
  static std::mutex lock;
  static std::map<std::string, FontBytes> files;
  std::lock_guard<std::mutex> hold(lock);
  auto it = files.find(path);
  if (it != files.end()) return it->second;
  FontBytes bytes = ReadFile(path);
  if (bytes) files.emplace(path, bytes);
  return bytes;
}

}  // namespace quorvel::raster
