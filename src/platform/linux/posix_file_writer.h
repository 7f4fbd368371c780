// Replacing a file whole on a POSIX file system: a temporary file in the
// target's folder, written and flushed, then renamed over the target.
#pragma once

#include <string>

#include "platform/file_writer.h"

namespace quorvel::linux_os {

class PosixFileWriter : public platform::FileWriter {
 public:
  // The new file gets the mode a newly created file would (0666 less the
  // umask), whatever the mode of the file it replaces. The error text is
  // the system's description of errno, such as "No such file or directory".
  bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                           std::string& error) override;
};

}  // namespace quorvel::linux_os
