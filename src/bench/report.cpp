#include "bench/report.h"

#include "bench/score_text.h"

namespace quorvel {

std::string ReportHead(const SystemInfo& info) {
  std::string head = "Quorvel Results\r\n\r\n";
  head += "Graphics Card : " + info.adapterReportName + "\r\n";
  head += "Current Mode : " + info.modeText + "\r\n";
  head += "\r\n";
  head += info.constantAlphaSentence + "\r\n\r\n";
  head += info.perPixelAlphaSentence + "\r\n\r\n";
  head += "Running on a " + info.cpuSpeedText + " Cpu\r\n\r\n";
  return head;
}

std::string CompleteLayeredSection(BenchmarkScores& scores) {
  // The total adds the 5-digit score texts; the scores are its integer part.
  const std::int32_t layered = TruncatedValue(scores.scoreTotal);
  scores.layeredSection += "\r\n\r\nOverall Layered Windows Score : ";
  scores.alphaTestScore = std::to_string(layered);
  scores.layeredSection += scores.alphaTestScore + "\r\n\r\n";
  // The sequence has no tests besides the layered ones, so the 2D score,
  // the rest of the total, is always 0.
  const std::int32_t overall = TruncatedValue(scores.scoreTotal);
  scores.twoDTestScore = std::to_string(overall - layered);
  scores.overallScore = std::to_string(overall);
  const std::string overallLine = "Overall Benchmark Score : " + scores.overallScore;
  scores.layeredSection += overallLine;
  return overallLine;
}

std::string WithNewlines(const std::string& report) {
  std::string out;
  out.reserve(report.size());
  for (std::size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\r' && i + 1 < report.size() && report[i + 1] == '\n') continue;
    out += report[i];
  }
  return out;
}

}  // namespace quorvel
