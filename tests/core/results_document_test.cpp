// What a test's record carries beyond its score reaches the results file:
// what the desktop showed and what the scheduler did during the steps.
#include <gtest/gtest.h>

#include <string>

#include "results/results_document.h"

namespace quorvel {
namespace {

SequenceRecord OneRun(const TestRecord& test) {
  SequenceRecord run;
  for (int i = 0; i < 4; ++i) run.tests.push_back(test);
  return run;
}

TEST(ResultsDocument, ShownAndScheduleOfATest) {
  TestRecord test;
  test.label = "47% visibility";
  test.status = TestStatus::Scored;
  test.shown = ShownRecord{ShownVerdict::Opaque, true, 1.0};
  test.schedule.reported = true;
  test.schedule.worker = {true, 1, 0, 90'000'000, 1'500, 2, 7};
  test.schedule.server = {true, 0, 0, 40'000'000, 250'000, 0, 3};
  test.schedule.stealNs = 4'000'000;
  const std::string json = ResultsDocument(SystemInfo{}, {}, {OneRun(test)});
  for (const char* expected : {
           "\"shown\": \"opaque\"",
           "\"blendFraction\": 1",
           "\"processors\": [\n                1,\n                0\n              ]",
           "\"runMicroseconds\": 90000,",
           "\"waitMicroseconds\": 1.5,",
           "\"migrations\": 2,",
           "\"involuntarySwitches\": 7",
           "\"window\": null",
           "\"waitMicroseconds\": 250,",
           "\"stealMicroseconds\": 4000",
       }) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
  }
}

TEST(ResultsDocument, WhatWasNotSeenIsNull) {
  TestRecord test;
  test.label = "50% visibility";
  test.status = TestStatus::Scored;
  const std::string json = ResultsDocument(SystemInfo{}, {}, {OneRun(test)});
  for (const char* expected :
       {"\"schedule\": null", "\"shown\": \"unknown\"", "\"blendFraction\": null"}) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
  }
}

}  // namespace
}  // namespace quorvel
