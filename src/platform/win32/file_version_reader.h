// The version resource of one file: its fixed version block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quorvel::win32 {

class FileVersionReader {
 public:
  // The signature a fixed version block starts with.
  static constexpr std::uint32_t kSignature = 0xFEEF04BDu;

  // The fixed block's 13 words, in the order of VS_FIXEDFILEINFO.
  enum Word {
    kSignatureWord, kStructVersion, kFileVersionMs, kFileVersionLs, kProductVersionMs,
    kProductVersionLs, kFlagsMask, kFlags, kOs, kFileType, kFileSubtype, kDateMs, kDateLs,
    kWordCount
  };

  FileVersionReader() = default;
  virtual ~FileVersionReader() = default;
  FileVersionReader(const FileVersionReader&) = delete;
  FileVersionReader& operator=(const FileVersionReader&) = delete;

  // Reads the version resource of `path`. True when the fixed block was
  // found and carries the signature; otherwise the block stays all 0.
  bool Read(const std::string& path);

  std::uint32_t word(Word w) const { return fixed_[w]; }
  std::uint32_t fileVersionMs() const { return fixed_[kFileVersionMs]; }
  std::uint32_t fileVersionLs() const { return fixed_[kFileVersionLs]; }

 private:
  std::uint32_t fixed_[kWordCount] = {};
  std::unique_ptr<unsigned char[]> resource_;  // the whole resource as read
};

}  // namespace quorvel::win32
