// The request that uploads a run's results: one GET whose query carries
// the user's name and address, the machine's facts and the scores.
#pragma once

#include <string>

#include "bench/benchmark_scores.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// A value made safe for the query. Blanks, '%' and '$' become '_' (the
// results site has always read them so); then '&', '=', '#', '+', '?',
// control characters and bytes outside ASCII are percent-encoded (%XX,
// upper-case hex), so that no value can end the request line or add a
// parameter of its own. So are backslashes (%5C) and the dots that begin a
// segment, right after a '/' (%2E): WinINet would turn a backslash into '/'
// and take "/./" and "/x/../" out of the query as if it were a file path,
// and both backends send the same bytes. The site decodes them to the value
// as it was. Everything else is kept.
std::string QueryValue(const std::string& value);

// The path and query of the upload:
// kSubmitPathPrefix + VER, then UserName, email, cardName, mode, Alpha,
// PerPixel, grad, Overall, AlphaTest, TwoDTest, cpu, driver, mem, cpuMan,
// multiCPU, cpuID, OS (XP or 2000), each value through QueryValue.
std::string BuildRequestPath(const SystemInfo& info, const BenchmarkScores& scores,
                             const std::string& userName, const std::string& email);

}  // namespace quorvel
