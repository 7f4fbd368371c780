// Saving the report to results.txt.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "results/save_results.h"

namespace quorvel {
namespace {

// Keeps the files it is given in memory, or fails with a set reason.
class MemoryWriter : public platform::FileWriter {
 public:
  std::map<std::string, std::string> files;
  int writes = 0;
  std::string failWith;  // non-empty: every write fails with this reason

  bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                           std::string& error) override {
    ++writes;
    if (!failWith.empty()) {
      error = failWith;
      return false;
    }
    files[path] = bytes;
    return true;
  }
};

// A report of `lines` lines with CR LF between them and none after the last.
std::string Report(int lines) {
  std::string report;
  for (int i = 1; i <= lines; ++i) {
    if (i > 1) report += "\r\n";
    report += "Line " + std::to_string(i) + (i % 5 == 0 ? "" : " : text");
  }
  return report;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(SaveResults, NothingIsWrittenBeforeATestHasRun) {
  MemoryWriter writer;
  const SaveResult result = SaveResults(0, Report(3), writer);
  EXPECT_EQ(result.outcome, SaveOutcome::NothingToSave);
  EXPECT_EQ(writer.writes, 0);
}

TEST(SaveResults, WritesTheReportsOwnBytesToResultsTxt) {
  MemoryWriter writer;
  const std::string report = Report(21);
  EXPECT_EQ(SaveResults(1, report, writer).outcome, SaveOutcome::Saved);
  ASSERT_EQ(writer.files.count("results.txt"), 1u);
  const std::string& bytes = writer.files["results.txt"];
  EXPECT_EQ(bytes, report);
  EXPECT_EQ(Count(bytes, "\r\n"), 20u);
  EXPECT_EQ(Count(bytes, "\n"), 20u);
  EXPECT_EQ(Count(bytes, "\r\r"), 0u);
  EXPECT_EQ(bytes.substr(bytes.size() - 16), "\r\nLine 21 : text");
}

TEST(SaveResults, LineEndsBecomeCrLfWithoutADoubledCarriageReturn) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\r\nb", "a\r\nb"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"\nx", "\r\nx"},
      {"a\r\n\nb", "a\r\n\r\nb"},
      {"lone\rcr", "lone\rcr"},
      {"", ""},
  };
  for (const auto& [report, expected] : cases) {
    EXPECT_EQ(ResultsFileBytes(report), expected);
  }
}

TEST(SaveResults, ASecondSaveReplacesTheFileWithTheShorterReport) {
  MemoryWriter writer;
  SaveResults(1, Report(21), writer);
  SaveResults(2, Report(2), writer);
  EXPECT_EQ(writer.files["results.txt"], "Line 1 : text\r\nLine 2 : text");
}

TEST(SaveResults, AFailureTellsTheUserTheFileAndTheReason) {
  MemoryWriter writer;
  writer.failWith = "Permission denied";
  const SaveResult result = SaveResults(1, Report(3), writer);
  EXPECT_EQ(result.outcome, SaveOutcome::Failed);
  EXPECT_EQ(result.message, "Quorvel could not save the results to results.txt:\n\nPermission denied");

  fake::FakePlatform platform;
  fake::FakeDialogHost owner(platform, 102);
  fake::FakeServices& services = platform.fakeServices;
  ShowSaveResult(result, services, &owner);
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, result.message);
  EXPECT_EQ(services.messageBoxes[0].caption, "Save results");
  EXPECT_EQ(services.messageBoxes[0].icon, platform::MessageIcon::Exclamation);

  // A writer that gives no reason still yields a sentence.
  struct Silent : platform::FileWriter {
    bool WriteFileAtomically(const std::string&, const std::string&, std::string&) override {
      return false;
    }
  } silent;
  const SaveResult unexplained = SaveResults(1, Report(1), silent);
  EXPECT_EQ(unexplained.message,
            "Quorvel could not save the results to results.txt:\n\nThe file could not be written.");
}

TEST(SaveResults, SuccessAndNothingToSaveShowNoMessage) {
  fake::FakeServices services;
  ShowSaveResult(SaveResult{SaveOutcome::Saved, ""}, services, nullptr);
  ShowSaveResult(SaveResult{SaveOutcome::NothingToSave, ""}, services, nullptr);
  EXPECT_TRUE(services.messageBoxes.empty());
}

}  // namespace
}  // namespace quorvel
