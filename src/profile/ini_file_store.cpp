#include "profile/ini_file_store.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "profile/ini_document.h"

namespace quorvel {

ProfileFileState ReadProfileFile(const std::string& path, std::string& text) {
  text.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::filesystem::u8path(path), ec);
    return (exists || ec) ? ProfileFileState::Unreadable : ProfileFileState::Missing;
  }
  // One byte more than allowed tells a file at the limit from a larger one.
  std::string bytes(kMaxProfileFileBytes + 1, '\0');
  in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return ProfileFileState::Unreadable;
  const std::size_t got = static_cast<std::size_t>(in.gcount());
  if (got > kMaxProfileFileBytes) return ProfileFileState::TooLarge;
  bytes.resize(got);
  text = std::move(bytes);
  return ProfileFileState::Read;
}

std::string IniFileStore::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
  std::string text;
  if (ReadProfileFile(path_, text) != ProfileFileState::Read) return defaultValue;
  return IniDocument(std::move(text)).Read(section, key, defaultValue);
}

bool IniFileStore::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
  std::string text;
  const ProfileFileState state = ReadProfileFile(path_, text);
  if (state == ProfileFileState::TooLarge || state == ProfileFileState::Unreadable) return false;

  IniDocument document(std::move(text));
  document.Write(section, key, value);

  const std::filesystem::path folder = std::filesystem::u8path(path_).parent_path();
  if (!folder.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows in the write
  }
  std::string error;
  return writer_.WriteFileAtomically(path_, document.Text(), error);
}

}  // namespace quorvel
