// What the store holds and answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// How many results of one adapter and system reached one overall score;
// `id` names the result when the row is one result (results = 1).
struct ScoreRow {
  std::int64_t id = 0;
  std::string cardName;
  std::string os;
  std::int64_t overall = 0;
  std::int64_t results = 1;
};

// The score counts of all results as one moment saw them: `lastId` the
// newest result counted, `changes` the removals and edits counted so far.
struct CountedScores {
  std::int64_t lastId = 0;
  std::int64_t changes = 0;
  std::vector<ScoreRow> rows;
};

// Where a listing, best first, begins: at the `skip`-th result (0-based)
// of those scoring `atOrBelow` or less; without `atOrBelow`, at the
// `skip`-th of all.
struct ListStart {
  std::optional<std::int64_t> atOrBelow;
  std::int64_t skip = 0;
};

// The uploads one address may make: none more once `count` (0: no limit)
// were made at or after `since`.
struct SenderLimit {
  std::int64_t since = 0;
  std::int64_t count = 0;
};

struct HistogramBin {
  std::int64_t index = 0;  // the bin holds overall scores index*width .. index*width + width - 1
  std::int64_t count = 0;
};

}  // namespace quorvel::results_site
