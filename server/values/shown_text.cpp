#include "values/shown_text.h"

#include <algorithm>

namespace quorvel::results_site {

std::string ShownText(std::string_view stored) {
  std::string text(stored);
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

std::string StoredText(std::string_view shown) {
  std::string text(shown);
  std::replace(text.begin(), text.end(), ' ', '_');
  return text;
}

}  // namespace quorvel::results_site
