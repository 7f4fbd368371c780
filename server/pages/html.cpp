#include "pages/html.h"

#include <ctime>

namespace quorvel::results_site {

std::string Html(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UrlValue(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string Thousands(std::int64_t n) {
  const bool negative = n < 0;
  std::string digits = std::to_string(negative ? -n : n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

std::string UtcTime(std::int64_t seconds, const char* format) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char text[64];
  if (std::strftime(text, sizeof text, format, &parts) == 0) return "";
  return text;
}

std::string UtcDate(std::int64_t seconds) { return UtcTime(seconds, "%Y-%m-%d %H:%M UTC"); }

std::string PageStart(std::string_view title) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         Html(title) +
         "</title>\n<style>\n"
         "body{font-family:sans-serif;margin:1.5em;color:#123}\n"
         "table{border-collapse:collapse;margin:0.5em 0 1.5em}\n"
         "th,td{border:1px solid #bcd;padding:0.2em 0.6em;text-align:left}\n"
         "td.num,th.num{text-align:right}\n"
         "tr#your-result,tr.yours{background:#ffe680;font-weight:bold}\n"
         ".bar{fill:#5a7dde}.bar.yours{fill:#e0a000}\n"
         "#your-score-marker{stroke:#c00;stroke-width:2}\n"
         "</style>\n</head>\n<body>\n";
}

std::string PageEnd() { return "</body>\n</html>\n"; }

}  // namespace quorvel::results_site
