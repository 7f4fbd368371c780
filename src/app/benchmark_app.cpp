#include "app/benchmark_app.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "bench/layered_tests.h"
#include "bench/report.h"
#include "bench/benchmark_scores.h"
#include "sysinfo/system_info.h"

namespace quorvel {
namespace {

// The application object: runs the main dialog modally; the program ends
// when it returns.
class BenchmarkApp {
 public:
  explicit BenchmarkApp(platform::Platform& platform) : platform_(platform) {}

  // Returns false, so that the program ends without a message loop of its own.
  bool InitInstance() {
    MainDialog dialog(platform_, systemInfo_, scores_);
    dialog.DoModal();
    return false;
  }

  // --run: the sequence right after the opening slide, the report on
  // standard output. Returns the exit code.
  int RunOnce() {
    MainDialog dialog(platform_, systemInfo_, scores_);
    dialog.RunOnceAndEnd();
    dialog.DoModal();
    if (!dialog.sequenceCompleted()) {
      std::fputs("quorvel: the window was closed before the test ran\n", stderr);
      return 3;
    }
    std::fputs(WithNewlines(dialog.resultsText).c_str(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
    const int missing = static_cast<int>(std::size(kLayeredTestOrder)) - dialog.lastRunScoredTests();
    if (missing > 0) {
      std::fprintf(stderr, "quorvel: %d of the %d tests produced no score\n", missing,
                   static_cast<int>(std::size(kLayeredTestOrder)));
      return 4;
    }
    return 0;
  }

 private:
  platform::Platform& platform_;
  // The process-wide records: filled while the dialog initialises, kept
  // until the program ends.
  SystemInfo systemInfo_;
  BenchmarkScores scores_;
};

}  // namespace

int BenchmarkMain(int argc, char** argv, const PlatformFactory& createPlatform) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLine commandLine = ParseCommandLine(args);
  switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case CommandLine::Action::ShowVersion:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case CommandLine::Action::Error:
      std::fprintf(stderr, "quorvel: %s\nTry 'quorvel --help' for the options.\n",
                   commandLine.error.c_str());
      return 2;
    case CommandLine::Action::RunDesktop:
      break;
  }

  std::unique_ptr<platform::Platform> platform = createPlatform();
  if (!platform) return 1;
  BenchmarkApp app(*platform);
  if (commandLine.runOnce) return app.RunOnce();
  app.InitInstance();
  return 0;
}

}  // namespace quorvel
