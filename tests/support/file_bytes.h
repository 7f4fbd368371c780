// Whole files as bytes, for tests that check what was written exactly.
#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace quorvel::test_support {

// The file's bytes; nothing when it cannot be opened.
inline std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Makes `bytes` the whole content of the file.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace quorvel::test_support
