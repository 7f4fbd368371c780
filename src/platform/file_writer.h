// Writing a whole file so that a reader never sees half of it.
#pragma once

#include <string>

namespace quorvel::platform {

class FileWriter {
 public:
  virtual ~FileWriter() = default;

  // Replaces the file at `path` (relative paths are taken from the current
  // directory) with exactly `bytes`, written in binary: a temporary file
  // beside the target is written in full, flushed and renamed over the old
  // file. On any failure the old file, if there was one, is left as it was,
  // the temporary file is removed, and `error` receives a reason the user
  // can read, such as "Permission denied" or "No space left on device".
  virtual bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                                   std::string& error) = 0;
};

}  // namespace quorvel::platform
