// The figures the results of a set of runs carry, computed once from the
// runs' records, before anything is written: each test's step and frame
// statistics, which runs lie far from the median, the spread of the
// overall score and its median's interval, and each test's median and cv.
#pragma once

#include <string>
#include <vector>

#include "bench/run_record.h"
#include "bench/score_precision.h"
#include "bench/step_statistics.h"

namespace quorvel {

// One test of one run.
struct TestFigures {
  bool stepped = false;  // at least one step was timed
  StepStatistics steps;  // microseconds
  bool framesReported = false;
  int framesDrawn = 0;
  StepStatistics frameLatency;  // microseconds; p50 and p99 are written
};

// One test label over every run, in the order the tests first appear.
struct LabelFigures {
  std::string label;
  bool scored = false;  // some run scored it
  double median = 0, cv = 0;
};

struct RunsFigures {
  std::vector<std::vector<TestFigures>> tests;  // [run][test], as in the runs
  std::vector<bool> outliers;                   // per run (FarFromMedian)
  Spread overall;
  MedianInterval interval;
  std::vector<LabelFigures> labels;
};

RunsFigures ComputeRunsFigures(const std::vector<SequenceRecord>& runs);

}  // namespace quorvel
