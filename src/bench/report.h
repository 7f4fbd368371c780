// The results report: the head from the system facts, the section of the
// layered tests, and the scores derived from their total.
#pragma once

#include <string>

#include "bench/benchmark_scores.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// The first lines of the report: adapter, mode, sentences, processor.
std::string ReportHead(const SystemInfo& info);

// The start of the layered section, before the tests add their lines.
constexpr char kLayeredSectionStart[] = "Layered Window Tests : \r\n";

// After the tests: appends the layered and overall scores to the section,
// sets the three score texts, and returns the overall-score line
// ("Overall Benchmark Score : N") that the main screen shows.
std::string CompleteLayeredSection(BenchmarkScores& scores);

// The report with its CR LF line ends turned into the platform's: "\n",
// which a text-mode stream writes as the platform's line end.
std::string WithNewlines(const std::string& report);

}  // namespace quorvel
