#include "bench/layered_test_dialog.h"

#include "bench/layered_tests.h"
#include "bench/score_text.h"
#include "bench/stopwatch.h"
#include "platform/resource_ids.h"

namespace quorvel {

template <typename F>
bool LayeredTestDialog::Channel::Call(F call) {
  platform::DialogHost* target;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (closed || host == nullptr) return false;
    target = host;
  }
  // The backend keeps the host valid for a call in progress until it has
  // completed (see DialogHost), so the lock need not be held here: holding
  // it would stop the user-interface thread from closing the window while
  // it serves this very call.
  call(*target);
  return true;
}

LayeredTestDialog::LayeredTestDialog(platform::Platform& platform, BenchmarkScores& scores)
    : Dialog(platform, IDD_LAYERED_TEST), scores_(scores) {}

LayeredTestDialog::~LayeredTestDialog() = default;

void LayeredTestDialog::Attach(platform::DialogHost* host) {
  Dialog::Attach(host);
  if (host != nullptr || !channel_) return;
  // The window is gone: stop the worker and wait until it has left, so that
  // nothing of this showing touches the window or the scores afterwards.
  const std::shared_ptr<Channel> channel = std::move(channel_);
  std::unique_lock<std::mutex> lock(channel->mutex);
  channel->closed = true;
  channel->host = nullptr;
  channel->changed.wait(lock, [&] { return !channel->running; });
}

bool LayeredTestDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  lastRecord_ = RecordFor(scores_.layeredTestIndex);
  channel_ = std::make_shared<Channel>();
  channel_->host = &host();
  channel_->layeredTestIndex = scores_.layeredTestIndex;
  channel_->running = true;

  std::shared_ptr<Channel> channel = channel_;
  if (!platform().services().StartThread([this, channel] { Worker(channel); })) {
    channel_->running = false;
    Finish(*channel_, Outcome::NotRun, kTestNotRunText, RecordFor(channel_->layeredTestIndex));
  }
  return true;
}

Colour LayeredTestDialog::DialogBrushColour() { return kTestWindowBlue; }

void LayeredTestDialog::OnOK() {
  CloseByUser();
  Dialog::OnCancel();
}

void LayeredTestDialog::OnCancel() {
  CloseByUser();
  Dialog::OnCancel();
}

void LayeredTestDialog::CloseByUser() {
  if (!channel_) return;
  std::lock_guard<std::mutex> lock(channel_->mutex);
  channel_->closed = true;
}

void LayeredTestDialog::Worker(const std::shared_ptr<Channel>& channel) {
  platform::Services& services = platform().services();

  // Wait, outside the measurement, until the window is on screen.
  bool visible = false;
  while (channel->Call([&](platform::DialogHost& h) { visible = h.IsWindowVisible(); }) &&
         !visible) {
    services.Sleep(10);
  }

  const LayeredTest test = LayeredTestFor(channel->layeredTestIndex);
  bool layered = true;
  if (test.known) {
    channel->Call([&](platform::DialogHost& h) {
      layered = h.SetLayeredAttributes(test.key, test.alpha, test.flags);
    });
  }

  std::string scoreText;
  TestRecord record = RecordFor(channel->layeredTestIndex);
  if (!layered) {
    Finish(*channel, Outcome::NotRun, kTestNotRunText, std::move(record));
  } else if (RunSteps(*channel, scoreText, record)) {
    Finish(*channel, Outcome::Scored, scoreText, std::move(record));
  }

  std::lock_guard<std::mutex> lock(channel->mutex);
  channel->running = false;
  channel->changed.notify_all();
}

bool LayeredTestDialog::RunSteps(Channel& channel, std::string& scoreText, TestRecord& record) {
  platform::Services& services = platform().services();
  std::vector<std::int64_t>& ticks = record.stepTicks;
  ticks.reserve(kTestSteps);
  // What the compositor answered before the test belongs to no step.
  channel.Call([](platform::DialogHost& h) { h.TakeFrameReport(); });

  channel.Call([](platform::DialogHost& h) { h.BeginTimedSteps(); });
  StartTimer(services);
  // One more reading of the same counter per step: a few tens of
  // nanoseconds against steps of tens of microseconds or more.
  std::int64_t last = services.PerformanceCounter();
  for (int step = 0; step < kTestSteps; ++step) {
    const TestStep s = LayeredTestStep(step);
    const bool done = channel.Call([&](platform::DialogHost& h) {
      h.MoveWindow(s.x, s.y, s.w, s.h, true);
      h.UpdateWindow();
    });
    if (!done) return false;  // the window is gone, and its hold with it
    const std::int64_t now = services.PerformanceCounter();
    ticks.push_back(now - last);
    last = now;
  }
  scoreText = StopTimer(services);
  channel.Call([](platform::DialogHost& h) { h.EndTimedSteps(); });

  record.frequency = services.PerformanceFrequency();
  channel.Call([&](platform::DialogHost& h) { record.frames = h.TakeFrameReport(); });
  return true;
}

TestRecord LayeredTestDialog::RecordFor(int layeredTestIndex) {
  TestRecord record;
  record.layeredTestIndex = layeredTestIndex;
  record.label = ReportLabelName(LayeredTestFor(layeredTestIndex).label);
  record.status = Outcome::Closed;
  return record;
}

void LayeredTestDialog::Finish(Channel& channel, Outcome outcome, const std::string& text,
                               TestRecord record) {
  {
    std::lock_guard<std::mutex> lock(channel.mutex);
    if (channel.closed) return;  // closed by the user: nothing is added
    const LayeredTest test = LayeredTestFor(channel.layeredTestIndex);
    if (outcome == Outcome::Scored) {
      scores_.scoreTotal += ParseScore(text);
      record.score = ParseScore(text);
    }
    scores_.layeredSection += test.label;
    scores_.layeredSection += text;
    record.status = outcome;
    record.scoreText = text;
    lastRecord_ = std::move(record);
  }
  channel.Call([](platform::DialogHost& h) { h.EndDialog(IDCANCEL); });
}

}  // namespace quorvel
