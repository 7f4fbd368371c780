// The small test window. Each showing runs one layered-window test: a
// worker thread makes the window layered, drags it across the screen in 900
// steps, and adds the score and a report line to the scores.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "bench/benchmark_scores.h"
#include "bench/run_record.h"
#include "dialog/dialog.h"

namespace quorvel {

// The test window's background: red 0, green 48, blue 156.
constexpr Colour kTestWindowBlue = Rgb(0, 48, 156);

// How long the check of what the desktop shows gives the desktop after
// each move of the window: a few frames of a slow display.
constexpr unsigned kShownSettleMs = 100;

// What the report line says instead of a score when the desktop cannot
// make the window layered.
constexpr char kTestNotRunText[] = "not run (the desktop cannot make layered windows)";

class LayeredTestDialog : public Dialog {
 public:
  LayeredTestDialog(platform::Platform& platform, BenchmarkScores& scores);
  ~LayeredTestDialog() override;

  // What the last showing did.
  using Outcome = TestStatus;
  Outcome lastOutcome() const { return lastRecord_.status; }
  // The last showing's outcome, score, step times and compositor frames.
  const TestRecord& lastRecord() const { return lastRecord_; }

  void Attach(platform::DialogHost* host) override;
  bool OnInitDialog() override;
  Colour DialogBrushColour() override;

 protected:
  // The user closed the window (Esc, Enter, the window manager's close):
  // the test ends without a score or a line.
  void OnOK() override;
  void OnCancel() override;

 private:
  void CloseByUser();
  // A record of test `layeredTestIndex` that has not run yet.
  static TestRecord RecordFor(int layeredTestIndex);

  // Shared by the user-interface thread and one showing's worker. The
  // worker reaches the window only through Call(), so once the window is
  // gone it stops at its next step.
  struct Channel {
    std::mutex mutex;
    std::condition_variable changed;
    platform::DialogHost* host = nullptr;
    bool closed = false;   // the window is gone: the worker must stop
    bool running = false;  // the worker has not finished
    int layeredTestIndex = 0;
    Rect logo;  // the logo's place in the client area; the rest is plain blue

    // Runs `call` on the window unless it is gone; false when it is.
    template <typename F>
    bool Call(F call);
  };

  void Worker(const std::shared_ptr<Channel>& channel);
  // The timed part: 900 moves and updates between StartTimer and StopTimer,
  // each step timed on the same counter into `record`.
  bool RunSteps(Channel& channel, std::string& scoreText, TestRecord& record);
  // After the steps: reads back what the desktop shows of the window at
  // the last step's place, and of that place with the window away at the
  // first step's, and judges it.
  ShownRecord CheckShown(Channel& channel, const LayeredTest& test);
  // Adds the line (and score) to the scores unless the window was closed,
  // and keeps `record` as the showing's record.
  void Finish(Channel& channel, Outcome outcome, const std::string& text, TestRecord record);

  BenchmarkScores& scores_;
  std::shared_ptr<Channel> channel_;
  TestRecord lastRecord_;
};

}  // namespace quorvel
