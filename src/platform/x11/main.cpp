// The program on Linux: the portable program over the X11 backend.
#include "app/benchmark_app.h"
#include "platform/x11/x11_platform.h"

int main(int argc, char** argv) {
  quorvel::Backend backend;
  // Every machine fact is read from files under a root folder.
  backend.capabilities.readsSysroot = true;
  backend.create = [](const quorvel::platform::PlatformOptions& options) {
    return quorvel::x11::CreatePlatform(options);
  };
  return quorvel::BenchmarkMain(argc, argv, backend);
}
