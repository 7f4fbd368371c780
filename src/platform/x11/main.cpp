// The program on Linux: the portable program over the X11 backend.
#include "app/benchmark_app.h"
#include "platform/x11/x11_platform.h"

int main(int argc, char** argv) {
  return quorvel::BenchmarkMain(argc, argv, [] { return quorvel::x11::CreatePlatform(); });
}
