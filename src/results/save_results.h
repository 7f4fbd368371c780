// Saving the report of the last run to results.txt.
#pragma once

#include <string>

#include "platform/file_writer.h"
#include "platform/services.h"

namespace quorvel {

constexpr char kResultsFileName[] = "results.txt";
constexpr char kSaveFailedCaption[] = "Save results";

enum class SaveOutcome {
  NothingToSave,  // no test has run yet: no file is written
  Saved,
  Failed,
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::NothingToSave;
  // For Failed: what to tell the user, naming the file and the reason.
  std::string message;
};

// The bytes of results.txt for a report: the report as it is, with CR LF
// line ends, the same on every platform. A bare LF (a report that went
// through a control that keeps only LF) becomes CR LF; a CR LF is never
// given a second CR. Nothing is added after the last line.
std::string ResultsFileBytes(const std::string& report);

// Writes results.txt in the current directory, replacing any earlier one,
// once at least one test has run (testsRun != 0).
SaveResult SaveResults(int testsRun, const std::string& resultsText, platform::FileWriter& writer);

// Tells the user about a failed save with a message box; nothing otherwise.
void ShowSaveResult(const SaveResult& result, platform::Services& services,
                    platform::DialogHost* owner);

}  // namespace quorvel
