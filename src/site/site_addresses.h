// Every web address the program uses, in one place: the product's and the
// maker's sites, the driver download pages of the card makers, and the
// server that takes uploaded results.
#pragma once

#include <string>

#include "site/upload_protocol.h"

namespace quorvel {

// Pages opened in the user's browser.
constexpr char kProductSiteAddress[] = "http://www.quorvel.net/";
constexpr char kMakerHomeAddress[] = "http://www.ostrin.com/";
constexpr char kComparisonPageAddress[] = "http://www.quorvel.net/results.asp";

// Driver download pages, one for each card maker the program recognises.
constexpr char kMatroxDriverPage[] = "http://www.matrox.com/mga/support/drivers/latest/home.cfm";
constexpr char kAtiDriverPage[] = "http://www.ati.com/support/driver.html";
constexpr char k3dfxDriverPage[] = "http://www.3dfx.com/downloads/drivers.html";
constexpr char kNvidiaDriverPage[] = "http://www.nvidia.com/content/drivers/drivers.asp";

// An environment variable that points uploads at another server, such as a
// local test server: "http://host" or "http://host:port", with an optional
// trailing slash.
constexpr char kResultsUrlVariable[] = "QUORVEL_RESULTS_URL";

struct ResultsServer {
  std::string host = "results.quorvel.net";
  int port = 80;
};

// Reads "http://host[:port]" with an optional trailing "/" into `server`.
// The scheme is matched without regard to letter case; the host is one or
// more letters, digits, '-' and '.'; the port is 1 to 65535 and defaults
// to 80. Anything else (another scheme, a path, a query, user details, an
// empty host or port, spaces) is refused: false, and `server` unchanged.
bool ParseResultsUrl(const std::string& url, ResultsServer& server);

// The default server, or the one `overrideUrl` names when it is not null
// and well formed.
ResultsServer ResultsServerFrom(const char* overrideUrl);

// The server uploads go to: the default unless QUORVEL_RESULTS_URL holds a
// well-formed address.
ResultsServer ResultsServerInUse();

// The comparison page to open after `server` took an upload: the built-in
// kComparisonPageAddress for the built-in server; for any other server its
// own page, "http://host/results.asp" or "http://host:port/results.asp"
// (the port only when it is not 80).
std::string ComparisonPageAddress(const ResultsServer& server);

}  // namespace quorvel
