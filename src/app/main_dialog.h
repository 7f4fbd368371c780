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

  bool OnInitDialog() override;
  bool OnEraseBackground(platform::Canvas& window) override;
  void OnTimer(int id) override;
  bool OnSystemCommand(unsigned command) override;
  bool OnNonClientActivate() override;
  Colour DialogBrushColour() override;

  // Text members exchanged with edits 1001, 1002 and 1003.
  std::string resultsText;
  std::string userName;
  std::string email;

  const ScreenState& screen() const { return screen_; }

 protected:
  void DoDataExchange(bool saveAndValidate) override;

 private:
  // One step of the slide-in: the picture moves right 1 pixel per millisecond.
  void SlideInStep();

  SystemInfo& systemInfo_;
  BenchmarkScores& scores_;
  ScreenState screen_;
};

}  // namespace quorvel
