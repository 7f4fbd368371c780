#include "app/command_line.h"

namespace quorvel {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      result.action = CommandLine::Action::ShowHelp;
      return result;
    }
    if (arg == "--version") {
      result.action = CommandLine::Action::ShowVersion;
      return result;
    }
    if (arg == "--run") {
      result.runOnce = true;
      continue;
    }
    result.action = CommandLine::Action::Error;
    result.error = arg.rfind("-", 0) == 0 ? "unknown option '" + arg + "'"
                                          : "unexpected argument '" + arg + "'";
    return result;
  }
  return result;
}

std::string UsageText() {
  return "Usage: quorvel [--run | --help | --version]\n"
         "\n"
         "Quorvel measures how fast the desktop moves and redraws translucent and\n"
         "colour-keyed windows. Started without arguments it opens its window, shows\n"
         "the machine's graphics facts and runs the test when you press 'Run Test'.\n"
         "\n"
         "Options:\n"
         "  --run      run the test as soon as the window is up, print the report to\n"
         "             standard output and exit (0 when every test produced a score)\n"
         "  --help     show this text and exit\n"
         "  --version  show the program's version and exit\n";
}

std::string VersionText() { return std::string("quorvel ") + QUORVEL_VERSION + "\n"; }

}  // namespace quorvel
