#include "options/options.h"

#include "values/ip_address.h"
#include "values/whole_number.h"

namespace quorvel::results_site {
namespace {

bool NumberIn(const std::string& text, std::int64_t lowest, std::int64_t highest,
              std::int64_t& out) {
  const std::optional<std::int64_t> value = WholeNumber(text, 12);
  if (!value || *value < lowest || *value > highest) return false;
  out = *value;
  return true;
}

}  // namespace

bool ParseListenAddress(const std::string& text, ListenAddress& out) {
  std::string host;
  std::string port;
  if (!text.empty() && text[0] == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':') return false;
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.find(':') != std::string::npos) return false;  // IPv6 needs brackets
  }
  if (host.empty()) return false;
  for (char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '-' || c == ':' || c == '%';
    if (!ok) return false;
  }
  std::int64_t number = 0;
  if (!NumberIn(port, 0, 65535, number)) return false;
  out.host = host;
  out.port = static_cast<int>(number);
  return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options& out, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool hasValue = false;
    const std::size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
      hasValue = true;
    }
    if (name == "--help" || name == "-h") {
      out.help = true;
      continue;
    }
    if (name == "--version") {
      out.version = true;
      continue;
    }
    const bool takesValue = name == "--listen" || name == "--database" || name == "--workers" ||
                            name == "--uploads-per-minute" || name == "--request-timeout" ||
                            name == "--trusted-proxy";
    if (!takesValue) {
      error = "unknown option " + name;
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    std::int64_t number = 0;
    if (name == "--listen") {
      if (!ParseListenAddress(value, out.listen)) {
        error = "--listen needs HOST:PORT (port 0 to 65535), not '" + value + "'";
        return false;
      }
    } else if (name == "--database") {
      if (value.empty()) {
        error = "--database needs sqlite:PATH or postgresql://...";
        return false;
      }
      out.database = value;
    } else if (name == "--workers") {
      if (!NumberIn(value, 1, 256, number)) {
        error = "--workers needs a number from 1 to 256, not '" + value + "'";
        return false;
      }
      out.workers = static_cast<int>(number);
    } else if (name == "--uploads-per-minute") {
      if (!NumberIn(value, 0, 1000000, number)) {
        error = "--uploads-per-minute needs a number from 0 (no limit) to 1000000, not '" + value + "'";
        return false;
      }
      out.uploadsPerMinute = number;
    } else if (name == "--trusted-proxy") {
      const std::optional<std::string> address = CanonicalAddress(value);
      if (!address) {
        error = "--trusted-proxy needs an IP address, not '" + value + "'";
        return false;
      }
      out.trustedProxies.push_back(*address);
    } else {
      if (!NumberIn(value, 1, 3600, number)) {
        error = "--request-timeout needs seconds from 1 to 3600, not '" + value + "'";
        return false;
      }
      out.requestSeconds = static_cast<int>(number);
    }
  }
  return true;
}

std::string UsageText() {
  return "Usage: quorvel-results [options]\n"
         "The Quorvel results site: takes the program's uploads and serves the\n"
         "comparison page (/results.asp), one result's page (/result/ID) and\n"
         "the results as JSON (/api/results).\n"
         "\n"
         "  --listen HOST:PORT        where to listen (default 127.0.0.1:8080; port 0: any free port)\n"
         "  --database LOCATION       sqlite:PATH, or a PostgreSQL URI such as\n"
         "                            postgresql://user@host/dbname or\n"
         "                            postgresql:///dbname?host=/var/run/postgresql\n"
         "                            (default: sqlite:$XDG_DATA_HOME/quorvel-results/results.sqlite)\n"
         "  --workers N               requests served at once (default 8)\n"
         "  --uploads-per-minute N    uploads one address may make in a minute (default 10, 0: no limit)\n"
         "  --request-timeout S       seconds a client has to send its request (default 10)\n"
         "  --trusted-proxy ADDRESS   a reverse proxy or load balancer in front of the site: for\n"
         "                            its requests the last address of X-Forwarded-For is the\n"
         "                            client (upload limit, highlight, log); may be given again\n"
         "                            for each proxy; without it every header is ignored\n"
         "  --help                    this text\n"
         "  --version                 the version\n"
         "\n"
         "SIGTERM or SIGINT stops it after the requests in progress are answered.\n"
         "Exit status: 0 after a stop, 2 for a bad option, an address it cannot\n"
         "listen on or a database it cannot open.\n";
}

std::string DefaultDatabasePath(const char* xdgDataHome, const char* home) {
  std::string base;
  if (xdgDataHome != nullptr && *xdgDataHome != '\0') {
    base = xdgDataHome;
  } else {
    base = std::string(home != nullptr ? home : "") + "/.local/share";
  }
  return base + "/quorvel-results/results.sqlite";
}

std::string WithoutPassword(const std::string& location) {
  const std::size_t scheme = location.find("://");
  if (scheme == std::string::npos) return location;
  const std::size_t authorityStart = scheme + 3;
  const std::size_t authorityEnd = location.find_first_of("/?", authorityStart);
  const std::size_t at = location.rfind('@', authorityEnd == std::string::npos ? location.size() : authorityEnd);
  if (at == std::string::npos || at < authorityStart) return location;
  const std::size_t colon = location.find(':', authorityStart);
  if (colon == std::string::npos || colon > at) return location;
  return location.substr(0, colon + 1) + "***" + location.substr(at);
}

}  // namespace quorvel::results_site
