// Writing HTML: the one place where text becomes markup, and the number and
// date formats every page shares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel::results_site {

// `text` safe inside an element or a quoted attribute: & < > " ' escaped.
// Every text that came from a user passes through here on its way to a page.
std::string Html(std::string_view text);

// `text` as a query value: everything but letters, digits and -._~ as %XX.
std::string UrlValue(std::string_view text);

// 1204 -> "1,204".
std::string Thousands(std::int64_t n);

// Seconds since 1970 in UTC, written by strftime's `format`.
std::string UtcTime(std::int64_t seconds, const char* format);

// Seconds since 1970 as "2026-12-10 11:05 UTC".
std::string UtcDate(std::int64_t seconds);

// The head of every page up to and including <body>, and its end.
std::string PageStart(std::string_view title);
std::string PageEnd();

}  // namespace quorvel::results_site
