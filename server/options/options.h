// The command line of quorvel-results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::results_site {

struct ListenAddress {
  std::string host;  // a name, an IPv4 address, or an IPv6 address without brackets
  int port = 0;      // 0: any free port
};

struct Options {
  ListenAddress listen{"127.0.0.1", 8080};
  std::string database;  // empty: the default SQLite file
  int workers = 8;
  std::int64_t uploadsPerMinute = 10;
  int requestSeconds = 10;
  // Canonical addresses of the proxies whose X-Forwarded-For is believed.
  std::vector<std::string> trustedProxies;
  bool help = false;
  bool version = false;
};

// "host:port" or "[v6-address]:port", port 0 to 65535. False when it is not.
bool ParseListenAddress(const std::string& text, ListenAddress& out);

// Reads `args` (without the program name). False, with `error` set, on an
// unknown option, a missing value or a value out of range.
bool ParseOptions(const std::vector<std::string>& args, Options& out, std::string& error);

// The text of --help.
std::string UsageText();

// Where the default database lives: $XDG_DATA_HOME/quorvel-results/results.sqlite,
// with ~/.local/share when XDG_DATA_HOME is unset or empty.
std::string DefaultDatabasePath(const char* xdgDataHome, const char* home);

// `location` with the password of a connection URI hidden, for messages.
std::string WithoutPassword(const std::string& location);

}  // namespace quorvel::results_site
