// The results of the last test run, read by the results screen, the save
// command and the upload.
#pragma once

#include <string>

namespace quorvel {

struct BenchmarkScores {
  int testsRun = 0;          // set when a sequence starts; never cleared
  int layeredTestIndex = 0;  // which test the next showing of the test window runs
  double scoreTotal = 0.0;   // sum of the test scores of the current sequence
  std::string layeredSection;
  std::string alphaTestScore;
  std::string twoDTestScore;
  std::string overallScore;
};

}  // namespace quorvel
