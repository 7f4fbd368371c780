// The test sequence: the four layered-window tests in their order, each a
// showing of the one test window, and what they add up to.
#pragma once

#include "bench/benchmark_scores.h"
#include "bench/run_record.h"
#include "platform/platform.h"

namespace quorvel {

// Runs the four tests in kLayeredTestOrder, each shown modally with half a
// second after it. `scores` starts from a total of 0 and the section's
// first line, and ends with every test's line and the total. The record
// holds each test's record and the run's layered and overall score (the
// total truncated); its report is the caller's to complete.
SequenceRecord RunTestSequence(platform::Platform& platform, BenchmarkScores& scores);

// How many of a run's tests produced a score.
int ScoredTests(const SequenceRecord& run);

}  // namespace quorvel
