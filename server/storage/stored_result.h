// What the store holds and answers.
#pragma once

#include <cstdint>
#include <string>

#include "upload/upload.h"

namespace quorvel::results_site {

struct StoredResult {
  std::int64_t id = 0;
  std::int64_t submittedAt = 0;  // seconds since 1970, UTC
  std::string sender;            // the address the upload came from
  Upload upload;
};

// Which results a listing covers; an empty field matches every result.
// Fields are compared with the stored texts (underscores for blanks).
struct ResultFilter {
  std::string adapter;
  std::string os;
};

struct AdapterSummary {
  std::string cardName;
  std::int64_t count = 0;
  double medianOverall = 0;
};

// What the figures of all results are made from.
struct ScoreRow {
  std::int64_t id = 0;
  std::string cardName;
  std::string os;
  std::int64_t overall = 0;
};

struct HistogramBin {
  std::int64_t index = 0;  // the bin holds overall scores index*width .. index*width + width - 1
  std::int64_t count = 0;
};

}  // namespace quorvel::results_site
