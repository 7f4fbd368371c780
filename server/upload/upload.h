// One validated upload: the values of the program's query, decoded and
// typed. Text fields are UTF-8 as the program sent them, underscores
// standing for blanks (text/shown_text.h shows them).
#pragma once

#include <cstdint>
#include <string>

namespace quorvel::results_site {

struct Upload {
  std::int64_t version = 0;  // VER
  std::string userName;
  std::string email;         // stored, never shown
  std::string cardName;
  std::string mode;
  bool alpha = false;
  bool perPixel = false;
  bool grad = false;
  std::int64_t overall = 0;
  std::int64_t alphaTest = 0;
  std::int64_t twoDTest = 0;
  std::string cpu;           // MHz as digits; empty when the program could not read it
  std::string driver;
  std::int64_t mem = 0;
  std::string cpuMan;
  bool multiCPU = false;
  std::string cpuID;
  std::string os;            // "XP" or "2000"
};

}  // namespace quorvel::results_site
