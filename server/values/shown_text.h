// Stored texts and how they are shown. The program sends every blank of a
// text as '_' (and '%' and '$' too), so an underscore in an upload may be
// a blank or an underscore the user typed. The site stores each text as it
// was sent, underscores and all, and turns them into blanks only where a
// text is shown: on the pages and in the API's results.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::results_site {

// A stored text as a visitor reads it: every '_' a blank.
std::string ShownText(std::string_view stored);

// A text as shown (an adapter a visitor picks or types into a filter) in
// the form it is stored in: every blank a '_', as the program sends it.
std::string StoredText(std::string_view shown);

}  // namespace quorvel::results_site
