// One press of "Send results..." against a loopback server, with the real
// HTTP client of a backend and services that record what the user would
// see; the same for both backends.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/http_client.h"
#include "results/send_results.h"
#include "support/loopback_server.h"

namespace quorvel::loopback {

struct UploadSeen {
  SendOutcome outcome = SendOutcome::NoAnswer;
  std::vector<std::string> pagesOpened;
  std::vector<std::string> messageBoxes;  // "caption: text"
  std::vector<std::string> requests;      // the heads the server received
  std::chrono::milliseconds took{0};      // from the press to the page or message
  int port = 0;                           // the loopback server's
};

// Sends a run's results to a server giving `replies`, waiting the real
// second between the sending and the status.
UploadSeen PressSendResults(platform::HttpClient& http, std::vector<Reply> replies);

// The checks each backend's client must pass (gtest expectations):
// a 302 to a 200 opens the comparison page, and no request carries an
// Accept, Pragma or Cache-Control header;
void ExpectRedirectOpensTheComparisonPage(platform::HttpClient& http);
// a 404 whose body never comes shows the "site down" message box about a
// second after the press (the one-second wait), not at the time limit.
void ExpectStalledNotFoundShowsTheMessageSoon(platform::HttpClient& http);
// a status line whose code is not a number, in a head after which the
// server holds the connection, shows the message the same way.
void ExpectAGarbledStatusLineShowsTheMessageSoon(platform::HttpClient& http);

}  // namespace quorvel::loopback
