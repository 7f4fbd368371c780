// Replacing a file whole on Windows: a temporary file beside the target,
// written and flushed, then moved over the target.
#pragma once

#include <string>

#include "platform/file_writer.h"

namespace quorvel::win32 {

class Win32FileWriter : public platform::FileWriter {
 public:
  // The error text is the system's description of the failure, such as
  // "Access is denied."
  bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                           std::string& error) override;
};

}  // namespace quorvel::win32
