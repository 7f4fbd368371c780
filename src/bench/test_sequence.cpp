#include "bench/test_sequence.h"

#include "bench/layered_test_dialog.h"
#include "bench/layered_tests.h"
#include "bench/report.h"
#include "bench/score_text.h"

namespace quorvel {

SequenceRecord RunTestSequence(platform::Platform& platform, BenchmarkScores& scores) {
  LayeredTestDialog test(platform, scores);
  scores.scoreTotal = 0.0;
  scores.layeredSection = kLayeredSectionStart;
  SequenceRecord record;
  for (int index : kLayeredTestOrder) {
    scores.layeredTestIndex = index;
    test.DoModal();
    record.tests.push_back(test.lastRecord());
    platform.services().Sleep(500);
  }
  record.layeredScore = TruncatedValue(scores.scoreTotal);
  record.overallScore = TruncatedValue(scores.scoreTotal);
  return record;
}

int ScoredTests(const SequenceRecord& run) {
  int scored = 0;
  for (const TestRecord& t : run.tests) scored += t.status == TestStatus::Scored;
  return scored;
}

}  // namespace quorvel
