// The program's command line. Without arguments it is the desktop program;
// the options serve people who start it from scripts.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

// How many whole sequences --repeat allows.
constexpr int kMaxRepeat = 100;

struct CommandLine {
  enum class Action { RunDesktop, PrintFacts, ShowHelp, ShowVersion, Error };
  Action action = Action::RunDesktop;
  bool runOnce = false;  // --run: run the test right away, print the report, end
  int repeat = 1;        // --repeat N: sequences in one process (with --run)
  bool repeatAuto = false;  // --repeat auto: until the median score is precise (with --run)
  std::string resultsFile;  // --results-file PATH: the JSON results (with --run)
  std::string sysroot;      // --sysroot DIR: the machine's files under DIR, not /
  std::string error;  // for Action::Error: what was wrong, for the user
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text printed by --help.
std::string UsageText();
// The text printed by --version.
std::string VersionText();

}  // namespace quorvel
