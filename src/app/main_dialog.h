// The program's one window: a borderless dialog that fills the screen.
#pragma once

#include <string>

#include "app/dialog.h"
#include "bench/benchmark_scores.h"
#include "skin/screen_state.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// Timers of the main window.
constexpr int kSlideInTimer = 40;   // 10 ms
constexpr int kSlideOutTimer = 31;  // 10 ms
constexpr int kFadeToResultsTimer = 33;  // 50 ms
constexpr int kFadeToMainTimer = 34;     // 50 ms

// The skin's light blue (the content background and the dialog brush).
constexpr Colour kLightBlue = Rgb(90, 125, 222);

class MainDialog : public Dialog {
 public:
  MainDialog(platform::Platform& platform, SystemInfo& systemInfo, BenchmarkScores& scores);

  // Runs the test sequence as soon as the opening slide ends, then ends
  // the dialog (the --run mode of the command line).
  void RunOnceAndEnd() { runOnceAndEnd_ = true; }
  // How many of the last run's tests produced a score (of four).
  int lastRunScoredTests() const { return lastRunScoredTests_; }
  bool sequenceCompleted() const { return sequenceCompleted_; }

  bool OnInitDialog() override;
  bool OnEraseBackground(platform::Canvas& window) override;
  void OnCommand(int id) override;
  void OnTimer(int id) override;
  bool OnSystemCommand(unsigned command) override;
  bool OnNonClientActivate() override;
  Colour DialogBrushColour() override;

  // Text members exchanged with edits 1001, 1002 and 1003.
  std::string resultsText;
  std::string userName;
  std::string email;

  const ScreenState& screen() const { return screen_; }
  // What the results screen's report and the main screen's score show.
  const std::string& reportTextShown() const { return reportText_; }
  const std::string& scoreTextShown() const { return scoreText_; }

  // Button handlers.
  void OnRunTest();
  void OnViewDetails();

 protected:
  void DoDataExchange(bool saveAndValidate) override;

 private:
  // One step of the slide-in: the picture moves right 1 pixel per millisecond.
  void SlideInStep();

  // Repaints the two results buttons and the content between the bands.
  void RepaintResults(const Rect& windowRect);

  SystemInfo& systemInfo_;
  BenchmarkScores& scores_;
  ScreenState screen_;
  std::string reportText_;
  std::string scoreText_;
  bool sequenceRunning_ = false;
  bool sequenceCompleted_ = false;
  bool runOnceAndEnd_ = false;
  int lastRunScoredTests_ = 0;
};

}  // namespace quorvel
