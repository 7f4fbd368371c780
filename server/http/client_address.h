// The address a request comes from, as the upload limit and the page's
// highlight go by it.
#pragma once

#include <httplib.h>

#include <string>
#include <vector>

namespace quorvel::results_site {

// The connection's address; or, when the connection comes from one of
// `trustedProxies` (canonical addresses, see CanonicalAddress) and the
// request carries X-Forwarded-For, the last address of its last such
// header: the one the proxy itself added, of the host that connected to
// it. The addresses before it were written by whoever sent the request and
// prove nothing, and the header of any other sender is ignored. A trusted
// proxy's entry that is no address counts as the proxy's own.
std::string ClientAddress(const httplib::Request& req, const std::vector<std::string>& trustedProxies);

}  // namespace quorvel::results_site
