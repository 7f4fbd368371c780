// "Run Test": the four layered-window tests, the scores and the report.
#include <optional>

#include "app/main_dialog.h"
#include "bench/layered_test_dialog.h"
#include "bench/layered_tests.h"
#include "bench/report.h"
#include "bench/score_text.h"
#include "platform/resource_ids.h"

namespace quorvel {

void MainDialog::OnRunTest() {
  // The test windows' modal loops also deliver this window's commands; a
  // press that arrives while a run is under way is ignored.
  if (sequenceRunning_) return;
  sequenceRunning_ = true;
  platform::Services& services = platform().services();

  host().ShowControl(IDC_RUN_TEST_FIRST, false);
  scores_.testsRun = 1;
  OnViewDetails();  // the cross-fade to the results screen runs during the tests
  services.Sleep(1000);

  Rect r = host().WindowRect();
  skin_.reportText.text = scores_.layeredSection;
  RepaintResults(r);
  UpdateData(false);
  services.SetCursorPos(r.right, r.bottom - 80);

  LayeredTestDialog test(platform(), scores_);
  scores_.scoreTotal = 0.0;
  const std::string head = ReportHead(systemInfo_);
  scores_.layeredSection = kLayeredSectionStart;
  int scored = 0;
  SequenceRecord record;
  for (int index : kLayeredTestOrder) {
    scores_.layeredTestIndex = index;
    test.DoModal();
    if (test.lastOutcome() == LayeredTestDialog::Outcome::Scored) ++scored;
    record.tests.push_back(test.lastRecord());
    services.Sleep(500);
  }

  skin_.scoreText.text = CompleteLayeredSection(scores_);
  resultsText = head + scores_.layeredSection;
  record.layeredScore = TruncatedValue(scores_.scoreTotal);
  record.overallScore = TruncatedValue(scores_.scoreTotal);
  record.resultsText = resultsText;
  completedRuns_.push_back(std::move(record));
  host().SetFocus();

  r = host().WindowRect();
  skin_.reportText.text = scores_.layeredSection;
  RepaintResults(r);
  UpdateData(false);

  lastRunScoredTests_ = scored;
  sequenceCompleted_ = true;
  sequenceRunning_ = false;
}

void MainDialog::RunBeforeEnd() {
  platform::Services& services = platform().services();
  // The time cap of --repeat auto runs from the first run's start, on the
  // millisecond tick (which may wrap: the difference still holds).
  const std::uint32_t start = services.TickCount();
  stopReason_ = StopReason::FixedCount;
  for (int run = 0; run < runsBeforeEnd_; ++run) {
    OnRunTest();
    if (!untilPrecise_) continue;
    const std::optional<StopReason> stop =
        AutoRepeatStop(completedRuns_, services.TickCount() - start);
    if (stop) {
      stopReason_ = *stop;
      return;
    }
  }
}

void MainDialog::RepaintResults(const Rect& r) {
  host().InvalidateControl(IDC_VIEW_DETAILS, true);
  host().InvalidateControl(IDC_SAVE_RESULTS, true);
  // The window rectangle is passed on as it is, as a client rectangle.
  const Rect content{r.left, r.top + 80, r.right, r.bottom - 80};
  host().Invalidate(&content, true);
}

}  // namespace quorvel
