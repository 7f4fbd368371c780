// The bytes of font files, read once and shared by every font using them, so
// that drawing never opens a file.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quorvel::raster {

using FontBytes = std::shared_ptr<const std::vector<unsigned char>>;

// The whole file at `path`, read on first request; null when it cannot be
// read. Safe to call from any thread.
FontBytes LoadFontFile(const std::string& path);

}  // namespace quorvel::raster
