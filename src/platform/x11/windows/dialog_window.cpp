// A dialog's window: its life cycle, its controls and its place.
#include "platform/x11/windows/dialog_window.h"

#include <X11/Xutil.h>

#include <algorithm>

#include "platform/embedded_resources.h"
#include "platform/x11/controls/control_window.h"
#include "platform/x11/display/display_mode.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/windows/window_properties.h"

namespace quorvel::x11 {
namespace {

constexpr long kTopLevelEvents = ExposureMask | StructureNotifyMask | KeyPressMask |
                                 ButtonPressMask | ButtonReleaseMask;

unsigned Positive(int v) { return static_cast<unsigned>(v > 0 ? v : 1); }

}  // namespace

DialogWindow::DialogWindow(DialogEnvironment& environment, const drawn::DialogLayout& layout,
                           platform::DialogHandlers& handlers, Window owner)
    : environment_(environment),
      layout_(layout),
      handlers_(handlers),
      owner_(owner),
      buffer_(environment.connection()),
      controls_(*this),
      workerCalls_(environment.loop().calls()) {}

DialogWindow::~DialogWindow() {
  controls_.Clear();  // the child windows go before their parent
}

XConnection& DialogWindow::connection() { return environment_.connection(); }
platform::Graphics& DialogWindow::graphics() { return environment_.graphics(); }
const platform::Font& DialogWindow::defaultFont() { return environment_.defaultFont(); }
bool DialogWindow::acceptsInput() { return environment_.IsInnermost(*this); }

const raster::Surface* DialogWindow::dialogPicture() {
  return buffer_.empty() || buffer_.fresh() ? nullptr : &buffer_.surface();
}

// ---------------------------------------------------------------------------
// Life cycle

bool DialogWindow::Create() {
  XConnection& c = connection();
  Display* d = c.display();
  const int width = std::max(layout_.width, 1);
  const int height = std::max(layout_.height, 1);
  geometry_ = Rect{0, 0, width, height};

  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // never cleared by the server: no flicker
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = kTopLevelEvents;
  unsigned long attributeMask = CWBackPixmap | CWBitGravity | CWEventMask;
  if (c.hasPrivateColormap()) {
    // The child controls inherit it.
    attributes.colormap = c.colormap();
    attributeMask |= CWColormap;
  }
  Window window = XCreateWindow(d, c.root(), 0, 0, Positive(width), Positive(height), 0,
                                CopyFromParent, InputOutput, CopyFromParent, attributeMask,
                                &attributes);
  if (window == None) return false;
  window_ = WindowHandle(d, window);
  gc_ = GcHandle(d, XCreateGC(d, window, 0, nullptr));
  XSetGraphicsExposures(d, gc_.get(), False);

  XClassHint classHint{const_cast<char*>("quorvel"), const_cast<char*>("Quorvel")};
  XSetClassHint(d, window, &classHint);
  XWMHints wmHints{};
  wmHints.flags = InputHint | StateHint;
  wmHints.input = True;
  wmHints.initial_state = NormalState;
  XSetWMHints(d, window, &wmHints);
  EnableDeleteProtocol(c, window);
  // A window without a caption still needs a name in task lists.
  SetWindowTitle(c, window, layout_.caption.empty() ? std::string("Quorvel") : layout_.caption);
  if (layout_.hasCaption) {
    SetOwner(c, window, owner_);
    frameSync_ = FrameSync::Create(c, window);
  } else {
    SetUndecorated(c, window);
  }

  controls_.Create(layout_.controls);
  XFlush(d);
  workerCalls_.Open();
  return true;
}

void DialogWindow::ShowIfHidden() {
  if (!shown_) ShowWindow(platform::Show::Normal);
}

void DialogWindow::Finish() {
  workerCalls_.Close();
  // Workers waiting on this window get their answer before anything waits
  // for them.
  environment_.loop().calls().RunPosted();
  timers_.Clear();
  windowPin_.reset();
  Display* d = connection().display();
  if (window_) XUnmapWindow(d, window_.get());
  handlers_.OnDestroy();
  controls_.ReleaseSurfaces();
  gc_.Reset();
  frameSync_.reset();
  window_.Reset();
  buffer_.Resize(0, 0);
  controls_.SetFocused(nullptr);
  XFlush(d);
  handlers_.Attach(nullptr);
}

void DialogWindow::Reactivate() {
  if (mapped_ && window_) {
    XSetInputFocus(connection().display(), window_.get(), RevertToParent, CurrentTime);
  }
}

bool DialogWindow::Owns(Window w) const {
  if (!window_ || w == None) return false;
  if (w == window_.get()) return true;
  for (const auto& control : controls_.all()) {
    if (ControlWindowOf(*control) == w) return true;
  }
  return false;
}

std::unique_ptr<drawn::ControlSurface> DialogWindow::CreateSurface(const Rect& rect, bool visible,
                                                                   drawn::PointerInput pointer) {
  if (!window_) return nullptr;
  return std::make_unique<ControlWindow>(connection(), window_.get(), gc_.get(), rect, visible,
                                         pointer);
}
// ---------------------------------------------------------------------------
// Timers

void DialogWindow::SetTimer(int id, unsigned periodMs) { timers_.Set(id, periodMs, Clock::now()); }

void DialogWindow::KillTimer(int id) { timers_.Kill(id); }

void DialogWindow::RunDueTimers(Clock::time_point now) {
  for (int id : timers_.TakeDue(now)) {
    // A handler may kill a timer that is due too, or end the dialog.
    if (endRequested() || !timers_.Has(id)) continue;
    handlers_.OnTimer(id);
  }
}
// ---------------------------------------------------------------------------
// Controls

void DialogWindow::ShowControl(int id, bool show) {
  if (drawn::Control* c = FindControl(id)) {
    c->Show(show);
    if (!show && controls_.focused() == c) controls_.SetFocused(nullptr);
    shapeStale_ = true;
  }
}

bool DialogWindow::IsControlVisible(int id) {
  drawn::Control* c = FindControl(id);
  return c != nullptr && c->visible();
}

void DialogWindow::MoveControl(int id, int x, int y, int w, int h, bool repaint) {
  if (drawn::Control* c = FindControl(id)) {
    c->Move(Rect{x, y, x + w, y + h}, repaint);
    shapeStale_ = true;
  }
}

Rect DialogWindow::ControlRect(int id) {
  drawn::Control* c = FindControl(id);
  return c != nullptr ? c->rect() : Rect{};
}

void DialogWindow::InvalidateControl(int id, bool /*erase*/) {
  if (drawn::Control* c = FindControl(id)) c->Invalidate();
}

void DialogWindow::UpdateControl(int id) {
  if (!shown_) return;
  if (drawn::Control* c = FindControl(id)) c->PaintIfInvalid();
}

void DialogWindow::SetControlFont(int id, const platform::Font& font, bool redraw) {
  if (drawn::Control* c = FindControl(id)) {
    c->SetFont(&font);
    if (redraw) c->Invalidate();
  }
}

std::string DialogWindow::GetControlText(int id) {
  drawn::Control* c = FindControl(id);
  return c != nullptr ? c->Text() : std::string();
}

void DialogWindow::SetControlText(int id, const std::string& text) {
  if (drawn::Control* c = FindControl(id)) c->SetText(text);
}

void DialogWindow::SuppressControlErase(int id) { eraseSuppressed_.insert(id); }

// ---------------------------------------------------------------------------
// The window

Rect DialogWindow::WindowRect() { return geometry_; }

Rect DialogWindow::ClientRect() { return Rect{0, 0, geometry_.Width(), geometry_.Height()}; }

void DialogWindow::MoveResize(const Rect& r) {
  const bool resized = r.Width() != geometry_.Width() || r.Height() != geometry_.Height();
  geometry_ = r;
  placed_ = true;
  if (!window_) return;
  XConnection& c = connection();
  if (layout_.hasCaption) SetPlacementHints(c, window_.get(), r.left, r.top, r.Width(), r.Height());
  lastMoveSerial_ = NextRequest(c.display());
  XMoveResizeWindow(c.display(), window_.get(), r.left, r.top, Positive(r.Width()),
                    Positive(r.Height()));
  if (resized) InvalidateAll(true);
}

void DialogWindow::ShowWindow(platform::Show how) {
  if (!window_) return;
  XConnection& c = connection();
  Display* d = c.display();
  switch (how) {
    case platform::Show::Hide:
      shown_ = false;
      XUnmapWindow(d, window_.get());
      return;
    case platform::Show::Maximized:
      // The monitor whose mode the facts report, as Windows maximises a
      // window on its primary monitor.
      MoveResize(DesktopArea(c));
      if (!layout_.hasCaption) RequestFullscreen(c, window_.get(), mapped_);
      break;
    case platform::Show::Normal:
    case platform::Show::Default:
      if (!placed_) {
        // Centred on the screen, where a dialog box without a place goes.
        const int w = geometry_.Width();
        const int h = geometry_.Height();
        const int x = std::max((c.screenWidth() - w) / 2, 0);
        const int y = std::max((c.screenHeight() - h) / 2, 0);
        MoveResize(Rect{x, y, x + w, y + h});
      }
      break;
  }
  if (!shown_) InvalidateAll(true);
  shown_ = true;
  XMapRaised(d, window_.get());
}

void DialogWindow::SetFocus() {
  controls_.SetFocused(nullptr);
  wantFocus_ = true;
  ApplyFocus();
}

bool DialogWindow::AppendSystemMenuItem(unsigned, const std::string&) { return false; }

void DialogWindow::SetIcon(int iconId) {
  if (!window_) return;
  // The icon file the Windows build links in, with all its sizes.
  const resources::EmbeddedResource* icon = resources::FindEmbeddedIcon(iconId);
  if (icon == nullptr) return;
  SetIconImages(connection(), window_.get(), raster::DecodeIco(icon->data, icon->size));
}

void DialogWindow::EndDialog(int result) {
  endResult_.store(result);
  endRequested_.store(true);
  environment_.loop().calls().Wake();
}

}  // namespace quorvel::x11
