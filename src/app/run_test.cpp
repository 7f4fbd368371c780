// "Run Test": the cross-fade to the results screen, the test sequence
// (bench/test_sequence), and the scores and report it leaves.
#include <optional>

#include "app/main_dialog.h"
#include "bench/report.h"
#include "bench/test_sequence.h"
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

  const std::string head = ReportHead(systemInfo_);
  SequenceRecord record = RunTestSequence(platform(), scores_);

  skin_.scoreText.text = CompleteLayeredSection(scores_);
  resultsText = head + scores_.layeredSection;
  record.resultsText = resultsText;
  lastRunScoredTests_ = ScoredTests(record);
  completedRuns_.push_back(std::move(record));
  host().SetFocus();

  r = host().WindowRect();
  skin_.reportText.text = scores_.layeredSection;
  RepaintResults(r);
  UpdateData(false);

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
