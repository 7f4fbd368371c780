// Entry point of the Windows program. Built for the Windows subsystem, so
// no console window opens; mingw's start-up code calls main with the
// command line already split.
#include "app/benchmark_app.h"
#include "platform/win32/console.h"
#include "platform/win32/win32_platform.h"

int main(int argc, char** argv) {
  quorvel::win32::UseParentConsole();
  quorvel::Backend backend;
  // The facts come from the registry and the desktop, not from files, so
  // there is no root folder to point elsewhere: --sysroot is refused.
  backend.capabilities.readsSysroot = false;
  backend.create = [](const quorvel::platform::PlatformOptions&) {
    return quorvel::win32::CreatePlatform();
  };
  return quorvel::BenchmarkMain(argc, argv, backend);
}
