// Reading an IP address as the connection and proxies write it.
#pragma once

#include <optional>
#include <string>

namespace quorvel::results_site {

// `text` as an IPv4 or IPv6 address in its one usual written form (an
// IPv4 address mapped into IPv6, ::ffff:a.b.c.d, as the IPv4 address),
// so that one host is one text; nothing when it is no address.
std::optional<std::string> CanonicalAddress(const std::string& text);

// An address as a proxy's X-Forwarded-For entry may give it: bare, or
// with a port ("a.b.c.d:port", "[v6]:port"), blanks around it allowed.
std::optional<std::string> ForwardedAddress(const std::string& entry);

}  // namespace quorvel::results_site
