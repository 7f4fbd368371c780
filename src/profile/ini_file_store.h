// The settings kept in an INI file on disk, for platforms without the
// Windows profile functions.
#pragma once

#include <cstddef>
#include <string>

#include "platform/file_writer.h"
#include "platform/profile_store.h"

namespace quorvel {

// A settings file larger than this is not one the program wrote: it is
// taken as damaged.
constexpr std::size_t kMaxProfileFileBytes = 1024 * 1024;

enum class ProfileFileState {
  Missing,     // no file yet: reads give defaults, a write creates it
  Read,        // the whole file was read
  TooLarge,    // more than kMaxProfileFileBytes
  Unreadable,  // the file exists but could not be opened or read
};

// Reads the file at `path` into `text` (empty unless Read).
ProfileFileState ReadProfileFile(const std::string& path, std::string& text);

// A ProfileStore over one INI file (see IniDocument for the format). Every
// call reads the file afresh, as the Windows profile functions do, so that
// changes made by another program are seen. Writes go through the
// FileWriter, which replaces the file whole or not at all; the folder of the
// file is created first when missing.
//
// A file that is too large or cannot be read gives default values, and is
// never written over: a write then fails and leaves it as it is, rather
// than throw away content the program never saw.
class IniFileStore : public platform::ProfileStore {
 public:
  IniFileStore(std::string path, platform::FileWriter& writer)
      : path_(std::move(path)), writer_(writer) {}

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  platform::FileWriter& writer_;
};

}  // namespace quorvel
