// The client's address: the connection's, or behind a trusted proxy the
// entry the proxy added to X-Forwarded-For.
#include <gtest/gtest.h>

#include "http/client_address.h"
#include "values/ip_address.h"

namespace quorvel::results_site {
namespace {

TEST(ClientAddress, AddressesAreReadInOneWrittenForm) {
  const std::pair<const char*, const char*> canonical[] = {
      {"192.0.2.7", "192.0.2.7"},
      {"::1", "::1"},
      {"2001:DB8:0:0::1", "2001:db8::1"},
      {"::ffff:192.0.2.7", "192.0.2.7"},  // IPv4 as a dual-stack socket gives it
      {"192.0.2.07", nullptr},
      {"192.0.2", nullptr},
      {"localhost", nullptr},
      {"", nullptr},
  };
  for (const auto& [text, expected] : canonical) {
    SCOPED_TRACE(text);
    const std::optional<std::string> found = CanonicalAddress(text);
    EXPECT_EQ(found.value_or("none"), expected ? expected : "none");
  }
  const std::pair<const char*, const char*> forwarded[] = {
      {" 203.0.113.5 ", "203.0.113.5"},
      {"203.0.113.5:40123", "203.0.113.5"},
      {"[2001:db8::1]:443", "2001:db8::1"},
      {"[2001:db8::1]", "2001:db8::1"},
      {"2001:db8::1", "2001:db8::1"},
      {"[203.0.113.5]", nullptr},
      {"[2001:db8::1]x", nullptr},
      {"203.0.113.5:1:2", nullptr},
      {"unknown", nullptr},
      {"_hidden", nullptr},
      {"  ", nullptr},
  };
  for (const auto& [entry, expected] : forwarded) {
    SCOPED_TRACE(entry);
    const std::optional<std::string> found = ForwardedAddress(entry);
    EXPECT_EQ(found.value_or("none"), expected ? expected : "none");
  }
}

TEST(ClientAddress, OnlyATrustedProxysLastEntryIsBelieved) {
  struct Row {
    const char* connection;
    std::vector<const char*> headers;  // X-Forwarded-For, in the order sent
    const char* client;
  };
  const std::vector<std::string> trusted = {"10.0.0.2", "2001:db8::2"};
  const Row rows[] = {
      {"10.0.0.2", {"203.0.113.5"}, "203.0.113.5"},
      {"10.0.0.2", {"198.51.100.1, 203.0.113.5"}, "203.0.113.5"},
      {"10.0.0.2", {"198.51.100.1", "203.0.113.5,203.0.113.6"}, "203.0.113.6"},
      {"::ffff:10.0.0.2", {"203.0.113.5"}, "203.0.113.5"},
      {"2001:db8::2", {"[2001:db8::9]:5000"}, "2001:db8::9"},
      {"10.0.0.2", {}, "10.0.0.2"},
      {"10.0.0.2", {"203.0.113.5, unknown"}, "10.0.0.2"},
      {"10.0.0.3", {"203.0.113.5"}, "10.0.0.3"},  // not the proxy: the header is ignored
      {"::ffff:10.0.0.3", {"203.0.113.5"}, "10.0.0.3"},
  };
  for (const Row& r : rows) {
    httplib::Request req;
    req.remote_addr = r.connection;
    std::string trace = r.connection;
    for (const char* h : r.headers) {
      req.headers.emplace("X-Forwarded-For", h);
      trace += std::string(" | ") + h;
    }
    SCOPED_TRACE(trace);
    EXPECT_EQ(ClientAddress(req, trusted), r.client);
    EXPECT_EQ(ClientAddress(req, {}), CanonicalAddress(r.connection).value());  // by default
  }
}

}  // namespace
}  // namespace quorvel::results_site
