#include "app/command_line.h"

namespace quorvel {
namespace {

CommandLine Failure(const std::string& error) {
  CommandLine result;
  result.action = CommandLine::Action::Error;
  result.error = error;
  return result;
}

// A whole number from 1 to kMaxRepeat, in plain decimal digits.
bool ParseRepeat(const std::string& text, int& out) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxRepeat) return false;
  out = value;
  return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  bool repeatGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
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
    if (arg == "--facts") {
      result.action = CommandLine::Action::PrintFacts;
      continue;
    }
    // Options with a value: "--name value" or "--name=value".
    std::string name = arg, value;
    bool hasValue = false;
    const std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      hasValue = true;
    }
    if (name == "--repeat" || name == "--results-file" || name == "--sysroot") {
      if (!hasValue) {
        if (i + 1 >= args.size()) return Failure("option '" + name + "' needs a value");
        value = args[++i];
      }
      if (name == "--repeat") {
        if (value == "auto") {
          result.repeatAuto = true;
        } else if (ParseRepeat(value, result.repeat)) {
          result.repeatAuto = false;
        } else {
          return Failure("--repeat takes 'auto' or a number from 1 to " +
                         std::to_string(kMaxRepeat) + ", not '" + value + "'");
        }
        repeatGiven = true;
      } else if (name == "--sysroot") {
        if (value.empty()) return Failure("--sysroot needs a folder");
        result.sysroot = value;
      } else {
        if (value.empty()) return Failure("--results-file needs a file name");
        result.resultsFile = value;
      }
      continue;
    }
    return Failure(arg.rfind("-", 0) == 0 ? "unknown option '" + arg + "'"
                                          : "unexpected argument '" + arg + "'");
  }
  if (result.action == CommandLine::Action::PrintFacts && result.runOnce) {
    return Failure("--facts and --run cannot be given together");
  }
  if (!result.runOnce && (repeatGiven || !result.resultsFile.empty())) {
    return Failure(std::string(repeatGiven ? "--repeat" : "--results-file") +
                   " works only with --run");
  }
  return result;
}

std::string UsageText() {
  return "Usage: quorvel [--sysroot DIR]\n"
         "       quorvel [--sysroot DIR] --run [--repeat N|auto] [--results-file PATH]\n"
         "       quorvel [--sysroot DIR] --facts\n"
         "       quorvel --help | --version\n"
         "\n"
         "Quorvel measures how fast the desktop moves and redraws translucent and\n"
         "colour-keyed windows. Started without arguments it opens its window, shows\n"
         "the machine's graphics facts and runs the test when you press 'Run Test'.\n"
         "\n"
         "Options:\n"
         "  --run                run the test as soon as the window is up, print the\n"
         "                       report to standard output and exit (0 when every\n"
         "                       test produced a score)\n"
         "  --repeat N           with --run: run the whole test N times (1 to 100) with\n"
         "                       the window up and print the report of the median run\n"
         "  --repeat auto        with --run: as --repeat N, 3 runs at least and 20 at\n"
         "                       most, until the median overall score is known to\n"
         "                       within 2 % (95 % confidence) or 10 minutes have\n"
         "                       passed; a run with a test without a score ends it\n"
         "  --results-file PATH  with --run: also write every run's figures and a\n"
         "                       summary to PATH as a JSON document\n"
         "  --facts              print the detected system facts as a JSON document\n"
         "                       (the 'facts' of the results file) and exit, without\n"
         "                       opening the window\n"
         "  --sysroot DIR        read /proc, /sys and the PCI ID database under DIR in\n"
         "                       place of the running machine's, to examine a copy of\n"
         "                       another machine's files (Linux only); the display\n"
         "                       mode and the blending still come from the display\n"
         "  --help               show this text and exit\n"
         "  --version            show the program's version and exit\n";
}

std::string VersionText() { return std::string("quorvel ") + QUORVEL_VERSION + "\n"; }

}  // namespace quorvel
