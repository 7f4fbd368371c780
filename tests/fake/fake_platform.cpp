#include "fake/fake_platform.h"

#include <chrono>
#include <thread>

namespace quorvel::fake {
namespace {

class FakeExchange : public platform::HttpExchange {
 public:
  FakeExchange(const FakeHttp::Answer& answer, std::vector<std::string>* log)
      : answer_(answer), log_(log) {}
  ~FakeExchange() override { Note("release"); }

  bool Answered() const override { return answer_.answered; }
  int StatusCode() override {
    Note("status");
    return answer_.answered ? answer_.status : 0;
  }
  bool ReadBody(std::string& body) override {
    Note("body");
    body.clear();
    if (!answer_.answered || !answer_.bodyReads) return false;
    if (answer_.status == 200) body = answer_.body.substr(0, platform::kMaxResponseBodyBytes);
    return true;
  }

 private:
  void Note(const char* what) {
    if (log_ != nullptr) log_->push_back(what);
  }

  FakeHttp::Answer answer_;
  std::vector<std::string>* log_;
};

}  // namespace

std::unique_ptr<platform::HttpExchange> FakeHttp::Send(const platform::HttpRequest& request) {
  requests.push_back(request);
  if (log != nullptr) log->push_back("send");
  return std::make_unique<FakeExchange>(answer, log);
}

void FakeHardware::SetText(const std::string& key, const std::string& name,
                           const std::string& text) {
  Value v;
  v.text = text;
  keys[key][name] = v;
}

void FakeHardware::SetNumber(const std::string& key, const std::string& name,
                             std::uint32_t number) {
  Value v;
  v.isNumber = true;
  v.number = number;
  keys[key][name] = v;
}

bool FakeHardware::QueryText(const std::string& keyPath, const std::string& valueName,
                             std::size_t bufferSize, std::string& out) {
  auto key = keys.find(keyPath);
  if (key == keys.end()) return false;
  auto value = key->second.find(valueName);
  if (value == key->second.end() || value->second.isNumber) return false;
  if (value->second.text.size() + 1 > bufferSize) return false;
  out = value->second.text;
  return true;
}

bool FakeHardware::QueryNumber(const std::string& keyPath, const std::string& valueName,
                               std::uint32_t& out) {
  auto key = keys.find(keyPath);
  if (key == keys.end()) return false;
  auto value = key->second.find(valueName);
  if (value == key->second.end() || !value->second.isNumber) return false;
  out = value->second.number;
  return true;
}

namespace {

// Says in the facts' record when the desktop is let go.
class FakeHold : public platform::Held {
 public:
  explicit FakeHold(std::vector<std::string>& calls) : calls_(calls) {}
  ~FakeHold() override { calls_.push_back("release"); }

 private:
  std::vector<std::string>& calls_;
};

}  // namespace

std::uint32_t FakeFacts::OsBuildNumber() {
  calls.push_back("os");
  return buildNumber;
}

std::uint32_t FakeFacts::ShadeBlendCaps() {
  calls.push_back("caps");
  return shadeBlendCaps;
}

platform::DriverFacts FakeFacts::Driver() {
  calls.push_back("driver");
  return adapter;
}

std::string FakeFacts::AdapterDescription() {
  calls.push_back("adapter");
  return adapter.adapterFound ? adapter.adapterDescription : std::string();
}

std::unique_ptr<platform::Held> FakeFacts::HoldDesktop() {
  calls.push_back("hold");
  return std::make_unique<FakeHold>(calls);
}

platform::ImagingEntries FakeFacts::Imaging() {
  calls.push_back("imaging");
  return {};
}

void FakeFacts::LoadDirect3D() {
  calls.push_back("direct3d");
  if (onLoadDirect3D) onLoadDirect3D();
}

bool RecordingHardware::QueryText(const std::string& keyPath, const std::string& valueName,
                                  std::size_t bufferSize, std::string& out) {
  calls_.push_back("hardware");
  return hardware_.QueryText(keyPath, valueName, bufferSize, out);
}

bool RecordingHardware::QueryNumber(const std::string& keyPath, const std::string& valueName,
                                    std::uint32_t& out) {
  calls_.push_back("hardware");
  return hardware_.QueryNumber(keyPath, valueName, out);
}

platform::DisplayMode FakeFacts::Display() {
  calls.push_back("display");
  return display;
}

void FakeServices::Sleep(unsigned ms) {
  std::lock_guard<std::mutex> lock(mutex);
  sleeps.push_back(ms);
  tick += ms;
}

std::string FakeServices::LoadString(int id) {
  auto it = strings.find(id);
  return it == strings.end() ? std::string() : it->second;
}

void FakeServices::MessageBox(platform::DialogHost*, const std::string& text,
                              const std::string& caption, platform::MessageIcon icon) {
  messageBoxes.push_back(Box{text, caption, icon});
}

void FakeServices::OpenWebPage(platform::DialogHost*, const std::string& address, platform::Show) {
  pagesOpened.push_back(address);
}

// The threads are joined rather than detached: under Wine a detached
// thread of the MinGW runtime now and then never runs, which leaves a test
// window waiting for its worker for ever.
bool FakeServices::StartThread(std::function<void()> body) {
  std::lock_guard<std::mutex> lock(threadsMutex_);
  threads_.emplace_back(std::move(body));
  return true;
}

FakeServices::~FakeServices() {
  std::lock_guard<std::mutex> lock(threadsMutex_);
  for (std::thread& t : threads_) t.join();
}

std::unique_ptr<platform::Canvas> FakeCanvas::CreateCompatible(int w, int h) {
  return std::make_unique<FakeCanvas>(w, h);
}
std::unique_ptr<platform::Canvas> FakeCanvas::CreateDib32(int w, int h) {
  return std::make_unique<FakeCanvas>(w, h);
}
std::unique_ptr<platform::Canvas> FakeCanvas::CreateMonochrome(int w, int h) {
  return std::make_unique<FakeCanvas>(w, h);
}

namespace {
class FakeFont : public platform::Font {};
}  // namespace

std::unique_ptr<platform::Font> FakeGraphics::CreateFont(const platform::FontSpec& spec) {
  fontsCreated.push_back(spec);
  return std::make_unique<FakeFont>();
}

std::unique_ptr<platform::Canvas> FakeGraphics::LoadBitmap(int) {
  return std::make_unique<FakeCanvas>(32, 32);
}

FakeDialogHost::FakeDialogHost(FakePlatform& platform, int templateId)
    : templateId(templateId), platform_(platform) {}

void FakeDialogHost::Advance(std::uint32_t ms) {
  for (std::uint32_t i = 0; i < ms && !ended; ++i) {
    const std::uint32_t now = ++platform_.fakeServices.tick;
    const int before = invalidations;
    // Copy: a timer handler may set or kill timers.
    const std::map<int, Timer> due = timers;
    for (const auto& [id, timer] : due) {
      auto it = timers.find(id);
      if (it == timers.end() || static_cast<std::int32_t>(now - it->second.due) < 0) continue;
      it->second.due = now + it->second.period;
      handlers->OnTimer(id);
      if (ended) break;
    }
    if (invalidations != before && !ended) {
      FakeCanvas window(windowRect.Width(), windowRect.Height());
      handlers->OnEraseBackground(window);
    }
  }
}

void FakeDialogHost::Click(int id) { handlers->OnCommand(id); }

void FakeDialogHost::ShowControl(int id, bool show) {
  calls.push_back((show ? "Show " : "Hide ") + std::to_string(id));
  controls[id].visible = show;
}

bool FakeDialogHost::IsControlVisible(int id) {
  auto it = controls.find(id);
  return it != controls.end() && it->second.visible;
}

void FakeDialogHost::MoveControl(int id, int x, int y, int w, int h, bool) {
  calls.push_back("Move " + std::to_string(id));
  controls[id].rect = Rect{x, y, x + w, y + h};
}

Rect FakeDialogHost::ControlRect(int id) { return controls[id].rect; }

void FakeDialogHost::InvalidateControl(int id, bool) {
  calls.push_back("InvalidateControl " + std::to_string(id));
}

void FakeDialogHost::UpdateControl(int id) { calls.push_back("Update " + std::to_string(id)); }

void FakeDialogHost::SetControlFont(int id, const platform::Font& font, bool) {
  controls[id].font = &font;
}

std::string FakeDialogHost::GetControlText(int id) { return controls[id].text; }

void FakeDialogHost::SetControlText(int id, const std::string& text) { controls[id].text = text; }

void FakeDialogHost::SuppressControlErase(int id) {
  calls.push_back("SuppressErase " + std::to_string(id));
  controls[id].eraseSuppressed = true;
}

void FakeDialogHost::SetTimer(int id, unsigned periodMs) {
  timers[id] = Timer{periodMs, platform_.fakeServices.tick + periodMs};
}

void FakeDialogHost::KillTimer(int id) { timers.erase(id); }

void FakeDialogHost::Invalidate(const Rect*, bool) { ++invalidations; }

void FakeDialogHost::Update() {}

Rect FakeDialogHost::WindowRect() { return windowRect; }

Rect FakeDialogHost::ClientRect() { return Rect{0, 0, windowRect.Width(), windowRect.Height()}; }

void FakeDialogHost::ShowWindow(platform::Show how) {
  if (how == platform::Show::Maximized) {
    maximized = true;
    const platform::DisplayMode mode = platform_.fakeFacts.display;
    windowRect = Rect{0, 0, mode.width, mode.height};
  }
}

bool FakeDialogHost::AppendSystemMenuItem(unsigned command, const std::string& text) {
  if (!hasSystemMenu) return false;
  systemMenu.emplace_back(command, text);
  return true;
}

void FakeDialogHost::EndDialog(int result) {
  ended = true;
  endResult = result;
}

void FakeDialogHost::MoveWindow(int x, int y, int w, int h, bool) {
  if (platform_.onMove) platform_.onMove(*this, moves);
  if (ended) return;  // the window is gone
  std::lock_guard<std::mutex> lock(mutex_);
  windowRect = Rect{x, y, x + w, y + h};
  ++moves;
  if (timedStepsBegun == timedStepsEnded) ++movesOutsideTimedSteps;
  platform_.fakeServices.counter += platform_.counterPerMove;
}

void FakeDialogHost::BeginTimedSteps() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++timedStepsBegun;
}

void FakeDialogHost::EndTimedSteps() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++timedStepsEnded;
}

bool FakeDialogHost::SetLayeredAttributes(Colour key, int alpha, unsigned flags) {
  std::lock_guard<std::mutex> lock(mutex_);
  layered.push_back(Layered{key, alpha, flags});
  return platform_.layeredWorks;
}

int FakeDialogSystem::RunModal(int templateId, platform::DialogHandlers& handlers,
                               platform::DialogHost*) {
  int showing = 0;
  for (const auto& run : runs) showing += run->templateId == templateId ? 1 : 0;
  runs.push_back(std::make_unique<FakeDialogHost>(platform_, templateId));
  FakeDialogHost& host = *runs.back();
  host.showing = showing;
  host.handlers = &handlers;
  handlers.Attach(&host);
  handlers.OnInitDialog();
  auto script = scripts.find(templateId);
  if (script != scripts.end()) {
    script->second(host);
  } else if (templateId == 129) {
    // A test window runs until its worker ends it.
    while (!host.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  handlers.OnDestroy();
  handlers.Attach(nullptr);
  return host.endResult;
}

namespace {
std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}
}  // namespace

std::string FakeProfile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) {
  auto it = values.find(Upper(section) + "/" + Upper(key));
  return it == values.end() ? defaultValue : it->second;
}

bool FakeProfile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  writes.push_back(section + "/" + key + "=" + value);
  values[Upper(section) + "/" + Upper(key)] = value;
  return true;
}

}  // namespace quorvel::fake
