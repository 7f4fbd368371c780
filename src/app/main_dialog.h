// The program's one window: a borderless dialog that fills the screen and
// paints itself from the skin.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchmark_scores.h"
#include "bench/repeat_until_precise.h"
#include "bench/run_record.h"
#include "dialog/dialog.h"
#include "skin/owner_buttons.h"
#include "skin/screen_state.h"
#include "skin/skin_colours.h"
#include "skin/skin_content.h"
#include "sysinfo/link_handler.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// Timers of the main window.
constexpr int kSlideInTimer = 40;        // 10 ms
constexpr int kSlideOutTimer = 31;       // 10 ms
constexpr int kFadeToResultsTimer = 33;  // 50 ms
constexpr int kFadeToMainTimer = 34;     // 50 ms

class MainDialog : public Dialog {
 public:
  MainDialog(platform::Platform& platform, SystemInfo& systemInfo, BenchmarkScores& scores);

  // Runs the test sequence `runs` times as soon as the opening slide ends,
  // the window staying up between the runs, then ends the dialog (the --run
  // mode of the command line).
  void RunAndEnd(int runs) {
    runsBeforeEnd_ = runs;
    untilPrecise_ = false;
  }
  // Runs the test sequence as RunAndEnd does until AutoRepeatStop says the
  // runs are done (--repeat auto), then ends the dialog.
  void RunUntilPreciseAndEnd() {
    runsBeforeEnd_ = kAutoMaximumRuns;
    untilPrecise_ = true;
  }
  // Why the runs of RunAndEnd or RunUntilPreciseAndEnd ended.
  StopReason stopReason() const { return stopReason_; }
  // How many of the last run's tests produced a score (of four).
  int lastRunScoredTests() const { return lastRunScoredTests_; }
  bool sequenceCompleted() const { return sequenceCompleted_; }
  // Every completed sequence of this dialog, oldest first.
  const std::vector<SequenceRecord>& completedRuns() const { return completedRuns_; }

  bool OnInitDialog() override;
  bool OnEraseBackground(platform::Canvas& window) override;
  bool OnDrawItem(const platform::DrawItem& item, platform::Canvas& canvas) override;
  void OnCommand(int id) override;
  void OnTimer(int id) override;
  void OnLButtonUp(Point clientPoint) override;
  bool OnSystemCommand(unsigned command) override;
  bool OnNonClientActivate() override;
  Colour DialogBrushColour() override;

  // Text members exchanged with edits 1001, 1002 and 1003.
  std::string resultsText;
  std::string userName;
  std::string email;

  const ScreenState& screen() const { return screen_; }
  SkinContent& skinContent() { return skin_; }
  const LinkRects& links() const { return links_; }
  // What the results screen's report and the main screen's score show.
  const std::string& reportTextShown() const { return skin_.reportText.text; }
  const std::string& scoreTextShown() const { return skin_.scoreText.text; }

  // Button handlers.
  void OnRunTest();
  void OnViewDetails();
  void OnReturnToMain();
  void OnSubmitAndCompare();
  void OnClose();
  void OnSaveResults();
  void OnSendResults();

 protected:
  void DoDataExchange(bool saveAndValidate) override;

 private:
  // Milliseconds since the animated value last changed; the first step of
  // an animation takes `now` as its start.
  std::uint32_t ElapsedSinceLastChange(std::uint32_t now);
  void Repaint();
  void SlideInStep();
  void SlideOutStep();
  void FadeToResultsStep();
  void FadeToMainStep();
  // Half a fade level per millisecond.
  void AdvanceFade();
  void ShowResultsScreenControls();
  // Repaints the two results buttons and the content between the bands.
  void RepaintResults(const Rect& windowRect);
  void ToggleAdvicePanel();
  // The runs of RunAndEnd or RunUntilPreciseAndEnd, one after another.
  void RunBeforeEnd();

  SystemInfo& systemInfo_;
  BenchmarkScores& scores_;
  ScreenState screen_;
  SkinContent skin_;
  LinkRects links_;
  std::unique_ptr<OwnerButtons> buttons_;
  bool sequenceRunning_ = false;
  bool sequenceCompleted_ = false;
  int runsBeforeEnd_ = 0;  // 0: the desktop program, no runs of its own
  bool untilPrecise_ = false;  // at most runsBeforeEnd_, until AutoRepeatStop ends them
  StopReason stopReason_ = StopReason::FixedCount;
  int lastRunScoredTests_ = 0;
  std::vector<SequenceRecord> completedRuns_;
};

}  // namespace quorvel
