#include "bench/run_figures.h"

#include <map>

namespace quorvel {
namespace {

TestFigures FiguresOf(const TestRecord& test) {
  TestFigures f;
  f.stepped = !test.stepTicks.empty();
  if (f.stepped) f.steps = SummariseSteps(test.stepTicks, test.frequency);
  f.framesReported = test.frames.reported;
  if (f.framesReported) {
    f.framesDrawn = test.frames.drawn;
    f.frameLatency = SummariseSteps(test.frames.latencyNs, 1'000'000'000);
  }
  return f;
}

}  // namespace

RunsFigures ComputeRunsFigures(const std::vector<SequenceRecord>& runs) {
  RunsFigures figures;
  std::vector<double> overall;
  std::map<std::string, std::vector<double>> scores;
  for (const SequenceRecord& run : runs) {
    overall.push_back(run.overallScore);
    std::vector<TestFigures>& tests = figures.tests.emplace_back();
    for (const TestRecord& test : run.tests) {
      tests.push_back(FiguresOf(test));
      if (scores.find(test.label) == scores.end()) figures.labels.push_back({test.label});
      std::vector<double>& values = scores[test.label];
      if (test.status == TestStatus::Scored) values.push_back(test.score);
    }
  }
  figures.outliers = FarFromMedian(overall);
  figures.overall = SpreadOf(overall);
  figures.interval = MedianConfidenceInterval(overall);
  for (LabelFigures& label : figures.labels) {
    const std::vector<double>& values = scores[label.label];
    label.scored = !values.empty();
    if (!label.scored) continue;
    const Spread s = SpreadOf(values);
    label.median = s.median;
    label.cv = s.cv;
  }
  return figures;
}

}  // namespace quorvel
