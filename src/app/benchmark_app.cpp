#include "app/benchmark_app.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <iterator>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "bench/layered_tests.h"
#include "bench/report.h"
#include "bench/benchmark_scores.h"
#include "bench/run_record.h"
#include "results/results_document.h"
#include "sysinfo/system_info.h"
#include "sysinfo/system_probe.h"
#include "text/json_writer.h"

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

  // --run: the sequence right after the opening slide, `repeat` times (or,
  // with `untilPrecise`, as --repeat auto decides), the report of the
  // median run on standard output and, when asked, the results document.
  // Returns the exit code.
  int RunOnce(int repeat, bool untilPrecise, const std::string& resultsFile) {
    MainDialog dialog(platform_, systemInfo_, scores_);
    if (untilPrecise) {
      dialog.RunUntilPreciseAndEnd();
    } else {
      dialog.RunAndEnd(repeat);
    }
    dialog.DoModal();
    const std::vector<SequenceRecord>& runs = dialog.completedRuns();
    if (runs.empty()) {
      std::fputs("quorvel: the window was closed before the test ran\n", stderr);
      return 3;
    }
    const SequenceRecord& median = runs[MedianRunIndex(runs)];
    std::fputs(WithNewlines(median.resultsText).c_str(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
    // What the desktop did not show as the tests asked, never inside the
    // report: a score that measured other work must say so.
    for (const TestRecord& test : median.tests) {
      const std::string warning = ShownWarning(test.label, test.shown);
      if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
    }

    int status = 0;
    if (!resultsFile.empty() && !WriteResultsFile(resultsFile, runs, dialog.stopReason())) {
      status = 5;
    }
    const int tests = static_cast<int>(std::size(kLayeredTestOrder));
    for (std::size_t i = 0; i < runs.size(); ++i) {
      int missing = 0;
      for (const TestRecord& test : runs[i].tests) missing += test.status != TestStatus::Scored;
      if (missing == 0) continue;
      if (runs.size() == 1) {
        std::fprintf(stderr, "quorvel: %d of the %d tests produced no score\n", missing, tests);
      } else {
        std::fprintf(stderr, "quorvel: run %d: %d of the %d tests produced no score\n", static_cast<int>(i) + 1,
                     missing, tests);
      }
      if (status == 0) status = 4;
    }
    return status;
  }

  // --facts: the facts of the results file as one JSON document on
  // standard output; no window opens.
  int PrintFacts() {
    ProbeSystem(systemInfo_, platform_.facts());
    text::JsonWriter json;
    WriteFacts(json, systemInfo_);
    std::fputs(json.text().c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

 private:
  bool WriteResultsFile(const std::string& path, const std::vector<SequenceRecord>& runs,
                        StopReason stopReason) {
    const std::string document =
        ResultsDocument(systemInfo_, platform_.facts().Desktop(), runs, stopReason);
    std::string error;
    if (platform_.files().WriteFileAtomically(path, document, error)) return true;
    std::fprintf(stderr, "quorvel: could not write the results file %s: %s\n", path.c_str(),
                 error.c_str());
    return false;
  }

  platform::Platform& platform_;
  // The process-wide records: filled while the dialog initialises, kept
  // until the program ends.
  SystemInfo systemInfo_;
  BenchmarkScores scores_;
};

// Why --sysroot cannot be honoured; empty when it can (or is not given).
std::string SysrootProblem(const std::string& sysroot, const platform::PlatformCapabilities& can) {
  if (sysroot.empty()) return std::string();
  if (!can.readsSysroot) return "--sysroot is not available on this desktop";
  std::error_code ec;
  if (!std::filesystem::is_directory(sysroot, ec)) {
    return "--sysroot: '" + sysroot + "' is not a folder";
  }
  return std::string();
}

}  // namespace

int BenchmarkMain(int argc, char** argv, const Backend& backend) {
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
    case CommandLine::Action::PrintFacts:
      break;
  }
  const std::string sysrootProblem = SysrootProblem(commandLine.sysroot, backend.capabilities);
  if (!sysrootProblem.empty()) {
    std::fprintf(stderr, "quorvel: %s\n", sysrootProblem.c_str());
    return 2;
  }

  platform::PlatformOptions options;
  options.sysroot = commandLine.sysroot;
  std::unique_ptr<platform::Platform> platform = backend.create ? backend.create(options) : nullptr;
  if (!platform) return 1;
  BenchmarkApp app(*platform);
  if (commandLine.action == CommandLine::Action::PrintFacts) return app.PrintFacts();
  if (commandLine.runOnce) {
    return app.RunOnce(commandLine.repeat, commandLine.repeatAuto, commandLine.resultsFile);
  }
  app.InitInstance();
  return 0;
}

}  // namespace quorvel
