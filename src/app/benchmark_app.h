// The program: command line, then the main dialog run modally.
#pragma once

#include <functional>
#include <memory>

#include "platform/platform.h"

namespace quorvel {

// Makes the backend; null when the desktop cannot be reached (the factory
// has then said why on standard error).
using PlatformFactory =
    std::function<std::unique_ptr<platform::Platform>(const platform::PlatformOptions&)>;

// A backend as the program's entry point is given it.
struct Backend {
  platform::PlatformCapabilities capabilities;
  PlatformFactory create;
};

// The whole program, called by each backend's entry point. Reads the
// command line first (so --help and --version need no desktop, and options
// the backend cannot honour are refused before it is made), then makes the
// platform and runs the main dialog, the test (--run) or prints the facts
// (--facts). Returns the process exit code.
int BenchmarkMain(int argc, char** argv, const Backend& backend);

}  // namespace quorvel
