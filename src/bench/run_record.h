// What one test run measured, beyond the report's lines: the outcome and
// the per-step times of each test, and what the compositor said about its
// frames. Kept for --repeat and the machine-readable results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/shown_check.h"
#include "platform/dialog.h"

namespace quorvel {

enum class TestStatus { Scored, NotRun, Closed };

struct TestRecord {
  int layeredTestIndex = 0;
  std::string label;  // "Black as transparent", as in the report
  TestStatus status = TestStatus::Closed;
  std::string scoreText;  // as in the report; empty when the window was closed
  double score = 0;       // the number the score text reads as
  // Each step's duration in counter ticks, at `frequency` ticks a second;
  // as many as were carried out (900 for a complete test).
  std::vector<std::int64_t> stepTicks;
  std::int64_t frequency = 0;
  platform::FrameReport frames;  // the compositor's answers during the steps
  ShownRecord shown;  // what the desktop showed, read back after the steps
  platform::StepsSchedule schedule;  // what the scheduler did during the steps
};

// One whole sequence of the four tests, in the report's order.
struct SequenceRecord {
  std::vector<TestRecord> tests;
  std::int32_t layeredScore = 0;
  std::int32_t overallScore = 0;
  std::string resultsText;  // the whole report of this run

  bool AllScored() const {
    for (const TestRecord& t : tests) {
      if (t.status != TestStatus::Scored) return false;
    }
    return !tests.empty();
  }
};

// The run whose report stands for a set of runs: the median by overall
// score, the lower of the two middle runs when their number is even (the
// earlier run among equal scores). 0 for no runs.
std::size_t MedianRunIndex(const std::vector<SequenceRecord>& runs);

}  // namespace quorvel
