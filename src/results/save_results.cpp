#include "results/save_results.h"

namespace quorvel {

std::string ResultsFileBytes(const std::string& report) {
  std::string bytes;
  bytes.reserve(report.size() + report.size() / 16);
  for (std::size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\n' && (i == 0 || report[i - 1] != '\r')) bytes += '\r';
    bytes += report[i];
  }
  return bytes;
}

SaveResult SaveResults(int testsRun, const std::string& resultsText, platform::FileWriter& writer) {
  SaveResult result;
  if (testsRun == 0) return result;

  std::string error;
  if (writer.WriteFileAtomically(kResultsFileName, ResultsFileBytes(resultsText), error)) {
    result.outcome = SaveOutcome::Saved;
    return result;
  }
  result.outcome = SaveOutcome::Failed;
  if (error.empty()) error = "The file could not be written.";
  result.message =
      std::string("Quorvel could not save the results to ") + kResultsFileName + ":\n\n" + error;
  return result;
}

void ShowSaveResult(const SaveResult& result, platform::Services& services,
                    platform::DialogHost* owner) {
  if (result.outcome != SaveOutcome::Failed) return;
  services.MessageBox(owner, result.message, kSaveFailedCaption, platform::MessageIcon::Exclamation);
}

}  // namespace quorvel
