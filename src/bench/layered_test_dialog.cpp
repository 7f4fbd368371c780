#include "bench/layered_test_dialog.h"

#include "bench/layered_tests.h"
#include "bench/score_text.h"
#include "bench/stopwatch.h"
#include "platform/resource_ids.h"

namespace quorvel {
namespace {

// The test window's logo bitmap (IDC_STATIC in its template).
constexpr int kLogoControlId = -1;

}  // namespace

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
  channel_->logo = host().ControlRect(kLogoControlId);
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
    record.shown = CheckShown(*channel, test);
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
  channel.Call([&](platform::DialogHost& h) {
    h.EndTimedSteps();
    record.schedule = h.TakeStepsSchedule();
  });

  record.frequency = services.PerformanceFrequency();
  channel.Call([&](platform::DialogHost& h) { record.frames = h.TakeFrameReport(); });
  return true;
}

ShownRecord LayeredTestDialog::CheckShown(Channel& channel, const LayeredTest& test) {
  platform::Services& services = platform().services();
  const auto settle = [&] {
    // Time for the desktop to show the window where it now is: the
    // compositor's answer to the last frame where it gives one, and a few
    // frames of a slow display in any case.
    channel.Call([](platform::DialogHost& h) { h.TakeFrameReport(); });
    services.Sleep(kShownSettleMs);
  };
  const auto moveTo = [&](const TestStep& s) {
    return channel.Call([&](platform::DialogHost& h) {
      h.MoveWindow(s.x, s.y, s.w, s.h, true);
      h.UpdateWindow();
    });
  };
  Rect area;
  std::vector<Colour> shown, beneath;
  bool read = false;
  channel.Call([&](platform::DialogHost& h) { area = h.ClientAreaOnScreen(); });
  if (area.Width() <= 0 || area.Height() <= 0) return {};
  settle();
  channel.Call([&](platform::DialogHost& h) { read = h.ReadScreen(area, shown); });
  if (!read) return {};

  // Away, so that what lies beneath shows; then back where it was.
  const TestStep last = LayeredTestStep(kTestSteps - 1);
  const TestStep away = LayeredTestStep(0);
  Rect awayArea;
  if (!moveTo(away)) return {};
  channel.Call([&](platform::DialogHost& h) { awayArea = h.ClientAreaOnScreen(); });
  settle();
  read = false;
  channel.Call([&](platform::DialogHost& h) { read = h.ReadScreen(area, beneath); });
  moveTo(last);
  const bool overlaps = awayArea.left < area.right && area.left < awayArea.right &&
                        awayArea.top < area.bottom && area.top < awayArea.bottom;
  if (!read || overlaps || beneath.size() != shown.size()) return {};

  // The window paints its brush's blue everywhere but on the logo.
  std::vector<ShownPixel> pixels;
  pixels.reserve(shown.size());
  const Rect logo = channel.logo;
  for (int y = 0; y < area.Height(); ++y) {
    for (int x = 0; x < area.Width(); ++x) {
      if (x >= logo.left - 2 && x < logo.right + 2 && y >= logo.top - 2 && y < logo.bottom + 2) {
        continue;
      }
      const std::size_t i = static_cast<std::size_t>(y) * area.Width() + x;
      pixels.push_back(ShownPixel{kTestWindowBlue, beneath[i], shown[i]});
    }
  }
  return JudgeShown(test, pixels);
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
