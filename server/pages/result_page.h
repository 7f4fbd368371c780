// The page of one result (/result/<id>) and the results as JSON
// (/api/results). Neither shows the e-mail address or the sender.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/stored_result.h"

namespace quorvel::results_site {

std::string RenderResultPage(const StoredResult& result);

// {"count": count, "results": [...]} with the fields the program uploaded
// under their JSON names, texts as the pages show them (underscores as
// blanks), and "submittedAt" as ISO 8601 UTC.
std::string ResultsJson(std::int64_t count, const std::vector<StoredResult>& results);

}  // namespace quorvel::results_site
