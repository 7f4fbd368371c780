// Entry point of the Windows program. Built for the Windows subsystem, so
// no console window opens; mingw's start-up code calls main with the
// command line already split.
#include "app/benchmark_app.h"
#include "platform/win32/console.h"
#include "platform/win32/win32_platform.h"

int main(int argc, char** argv) {
  quorvel::win32::UseParentConsole();
  return quorvel::BenchmarkMain(argc, argv, [] { return quorvel::win32::CreatePlatform(); });
}
