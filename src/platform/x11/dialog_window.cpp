#include "platform/x11/dialog_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <future>

#include "platform/resource_ids.h"
#include "platform/x11/colour_key_shape.h"
#include "platform/x11/control_factory.h"
#include "platform/x11/pixel_ops.h"
#include "platform/x11/window_properties.h"
#include "platform/x11/windows1252.h"
#include "platform/x11/x_connection.h"
#include "raster/raster_canvas.h"

namespace quorvel::x11 {
namespace {

constexpr long kTopLevelEvents = ExposureMask | StructureNotifyMask | KeyPressMask |
                                 ButtonPressMask | ButtonReleaseMask;

Rect Union(const Rect& a, const Rect& b) {
  if (a.Width() <= 0 || a.Height() <= 0) return b;
  if (b.Width() <= 0 || b.Height() <= 0) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

Rect Clip(const Rect& r, int width, int height) {
  return Rect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
              std::min(r.bottom, height)};
}

unsigned Positive(int v) { return static_cast<unsigned>(v > 0 ? v : 1); }

// The Windows-1252 byte a key types when Latin-1 has none: Unicode keysyms
// (0x01000000 + code point) and the euro sign's own keysym.
unsigned char Windows1252FromKeysym(KeySym keysym) {
  if (keysym == XK_EuroSign) return Windows1252FromCodePoint(0x20AC);
  if ((keysym & 0xFF000000ul) == 0x01000000ul) return Windows1252FromCodePoint(keysym & 0xFFFFFFul);
  return 0;
}

// Latin-1 (the STRING target) to Windows-1252: the same bytes, without the
// C1 control characters.
std::string Latin1ToWindows1252(const std::string& text) {
  std::string out;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x80 || u >= 0xA0) out += c;
  }
  return out;
}

}  // namespace

DialogWindow::DialogWindow(DialogEnvironment& environment, const DialogLayout& layout,
                           platform::DialogHandlers& handlers, Window owner)
    : environment_(environment),
      layout_(layout),
      handlers_(handlers),
      owner_(owner),
      buffer_(environment.connection()) {}

DialogWindow::~DialogWindow() {
  controls_.clear();  // the child windows go before their parent
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
  Window window = XCreateWindow(d, c.root(), 0, 0, Positive(width), Positive(height), 0,
                                CopyFromParent, InputOutput, CopyFromParent,
                                CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
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
  } else {
    SetUndecorated(c, window);
  }

  for (const ControlLayout& control : layout_.controls) {
    controls_.push_back(MakeControl(*this, control));
  }
  XFlush(d);
  {
    std::lock_guard<std::mutex> lock(exchangeMutex_);
    live_ = true;
  }
  return true;
}

bool DialogWindow::live() const {
  std::lock_guard<std::mutex> lock(exchangeMutex_);
  return live_;
}

void DialogWindow::ShowIfHidden() {
  if (!shown_) ShowWindow(platform::Show::Normal);
}

void DialogWindow::Finish() {
  {
    std::lock_guard<std::mutex> lock(exchangeMutex_);
    live_ = false;
  }
  // Workers waiting on this window get their answer before anything waits
  // for them.
  environment_.loop().RunPosted();
  timers_.Clear();
  Display* d = connection().display();
  if (window_) XUnmapWindow(d, window_.get());
  handlers_.OnDestroy();
  for (auto& control : controls_) control->DestroyWindow();
  gc_.Reset();
  window_.Reset();
  buffer_.Resize(0, 0);
  focused_ = nullptr;
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
  for (const auto& control : controls_) {
    if (control->window() == w) return true;
  }
  return false;
}

Control* DialogWindow::FindControl(int id) const {
  for (const auto& control : controls_) {
    if (control->id() == id) return control.get();
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Events

void DialogWindow::HandleEvent(XEvent& event) {
  const Window target = event.xany.window;
  if (target != window_.get()) {
    for (const auto& control : controls_) {
      if (control->window() != target) continue;
      if (event.type == Expose) {
        control->Invalidate();
      } else {
        control->HandlePointer(event);
      }
      return;
    }
    return;
  }
  switch (event.type) {
    case Expose: {
      const XExposeEvent& e = event.xexpose;
      dirty_ = true;
      dirtyArea_ = Union(dirtyArea_, Rect{e.x, e.y, e.x + e.width, e.y + e.height});
      break;
    }
    case ConfigureNotify:
      HandleConfigure(event.xconfigure);
      break;
    case MapNotify:
      mapped_ = true;
      if (wantFocus_ || acceptsInput()) ApplyFocus();
      break;
    case UnmapNotify:
      mapped_ = false;
      break;
    case ReparentNotify:
      reparented_ = event.xreparent.parent != connection().root();
      break;
    case KeyPress:
      if (acceptsInput()) HandleKey(event.xkey);
      break;
    case ButtonRelease:
      if (acceptsInput() && event.xbutton.button == Button1) {
        handlers_.OnLButtonUp(Point{event.xbutton.x, event.xbutton.y});
      }
      break;
    case ClientMessage:
      HandleClientMessage(event.xclient);
      break;
    case SelectionNotify:
      HandlePaste(event.xselection);
      break;
    default:
      break;
  }
}

void DialogWindow::HandleKey(XKeyEvent& key) {
  char typed[32] = {};
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&key, typed, sizeof typed - 1, &keysym, nullptr);
  switch (keysym) {
    case XK_Escape:
      handlers_.OnCommand(IDCANCEL);
      return;
    case XK_Return:
    case XK_KP_Enter:
      handlers_.OnCommand(IDOK);
      return;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      MoveFocus(keysym == XK_ISO_Left_Tab || (key.state & ShiftMask) != 0);
      return;
    default:
      break;
  }
  if (focused_ == nullptr || !focused_->visible()) return;
  std::string text(typed, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (text.empty()) {
    // Keys beyond Latin-1 (the euro sign, typographic quotes) that
    // Windows-1252 still has.
    const unsigned char byte = Windows1252FromKeysym(keysym);
    if (byte != 0) text.assign(1, static_cast<char>(byte));
  }
  focused_->HandleKey(keysym, key.state, text);
}

void DialogWindow::HandleClientMessage(const XClientMessageEvent& message) {
  const Atoms& atoms = connection().atoms();
  if (message.message_type != atoms.wmProtocols || message.format != 32) return;
  if (static_cast<Atom>(message.data.l[0]) != atoms.wmDeleteWindow) return;
  // An owner that a modal dialog has disabled cannot be closed either.
  if (!acceptsInput()) return;
  if (!handlers_.OnSystemCommand(platform::kScClose)) handlers_.OnCommand(IDCANCEL);
}

void DialogWindow::HandleConfigure(const XConfigureEvent& configure) {
  // Events the server made before it saw our latest move describe a place
  // the window has already left.
  if (static_cast<long>(configure.serial - lastMoveSerial_) < 0) return;
  Rect next{configure.x, configure.y, configure.x + configure.width,
            configure.y + configure.height};
  if (!configure.send_event && reparented_) {
    // Inside a window manager's frame the event is relative to the frame:
    // ask where the window is on the screen.
    Window child = None;
    int x = 0, y = 0;
    XTranslateCoordinates(connection().display(), window_.get(), connection().root(), 0, 0, &x,
                          &y, &child);
    next = Rect{x, y, x + configure.width, y + configure.height};
  }
  const bool resized =
      next.Width() != geometry_.Width() || next.Height() != geometry_.Height();
  geometry_ = next;
  if (resized) InvalidateAll(true);
}

void DialogWindow::MoveFocus(bool backwards) {
  std::vector<Control*> order;
  for (const auto& control : controls_) {
    if (control->TakesFocus() && control->visible()) order.push_back(control.get());
  }
  if (order.empty()) return;
  auto at = std::find(order.begin(), order.end(), focused_);
  std::size_t index = 0;
  if (at != order.end()) {
    const std::size_t current = static_cast<std::size_t>(at - order.begin());
    index = backwards ? (current + order.size() - 1) % order.size() : (current + 1) % order.size();
  } else if (backwards) {
    index = order.size() - 1;
  }
  Focus(*order[index]);
}

void DialogWindow::Focus(Control& control) {
  if (focused_ == &control) return;
  Control* previous = focused_;
  focused_ = &control;
  if (previous != nullptr) previous->Invalidate();
  control.Invalidate();
  wantFocus_ = true;
  ApplyFocus();
}

void DialogWindow::ApplyFocus() {
  if (!mapped_ || !window_) return;
  XSetInputFocus(connection().display(), window_.get(), RevertToParent, CurrentTime);
  wantFocus_ = false;
}

void DialogWindow::RequestPaste(Control& control) {
  if (!window_) return;
  const Atoms& atoms = connection().atoms();
  pasteTarget_ = control.id();
  pasteAsLatin1_ = false;
  XConvertSelection(connection().display(), atoms.clipboard, atoms.utf8String,
                    atoms.pasteProperty, window_.get(), CurrentTime);
}

void DialogWindow::HandlePaste(const XSelectionEvent& selection) {
  const Atoms& atoms = connection().atoms();
  Display* d = connection().display();
  if (pasteTarget_ == 0 || selection.selection != atoms.clipboard) return;
  if (selection.property == None) {
    // No UTF-8 offered: ask again for Latin-1 text.
    if (!pasteAsLatin1_) {
      pasteAsLatin1_ = true;
      XConvertSelection(d, atoms.clipboard, XA_STRING, atoms.pasteProperty, window_.get(),
                        CurrentTime);
    } else {
      pasteTarget_ = 0;
    }
    return;
  }
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const long kMaxLongs = 1 << 18;  // 1 MB of text is more than an edit takes
  if (XGetWindowProperty(d, window_.get(), selection.property, 0, kMaxLongs, True,
                         AnyPropertyType, &type, &format, &count, &remaining,
                         &data) != Success) {
    pasteTarget_ = 0;
    return;
  }
  std::string text;
  if (data != nullptr && format == 8) {
    text.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  Control* control = FindControl(pasteTarget_);
  pasteTarget_ = 0;
  // Large transfers (INCR) are not taken: an edit's text never needs them.
  if (control == nullptr || format != 8) return;
  if (type == atoms.utf8String) {
    control->Paste(Utf8ToWindows1252(text));
  } else if (type == XA_STRING) {
    control->Paste(Latin1ToWindows1252(text));
  }
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
// Painting

void DialogWindow::InvalidateAll(bool erase) {
  dirty_ = true;
  erase_ = erase_ || erase;
  dirtyArea_ = ClientRect();
}

void DialogWindow::Invalidate(const Rect* clientRect, bool erase) {
  if (clientRect == nullptr) return InvalidateAll(erase);
  const Rect r = Clip(*clientRect, geometry_.Width(), geometry_.Height());
  if (r.Width() <= 0 || r.Height() <= 0) return;
  dirty_ = true;
  erase_ = erase_ || erase;
  dirtyArea_ = Union(dirtyArea_, r);
}

void DialogWindow::PaintFrame() {
  const int width = geometry_.Width();
  const int height = geometry_.Height();
  Rect area = dirtyArea_;
  const bool erase = erase_;
  // Cleared first: what the handlers invalidate while painting stays invalid.
  dirty_ = false;
  erase_ = false;
  dirtyArea_ = Rect{};
  if (!buffer_.Resize(width, height)) return;
  if (erase || buffer_.fresh()) {
    if (buffer_.fresh()) area = Rect{0, 0, width, height};
    raster::RasterCanvas canvas(&buffer_.surface());
    if (!handlers_.OnEraseBackground(canvas)) {
      FillPixels(buffer_.surface(), buffer_.surface().Bounds(), handlers_.DialogBrushColour());
    }
    buffer_.MarkPainted();
    shapeStale_ = true;
  }
  buffer_.Put(window_.get(), gc_.get(), Clip(area, width, height));
}

bool DialogWindow::PaintNow() {
  if (!window_ || !shown_) return false;
  bool painted = false;
  if (dirty_) {
    PaintFrame();
    painted = true;
  }
  for (const auto& control : controls_) {
    if (!control->invalid()) continue;
    control->Paint();
    painted = true;
  }
  if (shapeStale_ && colourKeyed_) RebuildShape();
  shapeStale_ = false;
  return painted;
}

bool DialogWindow::PaintInvalid() { return PaintNow(); }

void DialogWindow::Update() {
  PaintNow();
  if (window_) XFlush(connection().display());
}

void DialogWindow::CollectExposures() {
  Display* d = connection().display();
  XEvent event;
  while (XCheckTypedWindowEvent(d, window_.get(), Expose, &event)) HandleEvent(event);
  for (const auto& control : controls_) {
    if (!control->window()) continue;
    while (XCheckTypedWindowEvent(d, control->window(), Expose, &event)) control->Invalidate();
  }
}

void DialogWindow::RebuildShape() {
  if (!window_ || buffer_.empty() || buffer_.fresh()) return;
  // The window's own pixels: the frame with the shown controls on top.
  raster::Surface picture(buffer_.surface().width(), buffer_.surface().height());
  CopyPixels(picture, 0, 0, buffer_.surface());
  for (const auto& control : controls_) {
    if (control->visible() && control->painted()) {
      CopyPixels(picture, control->rect().left, control->rect().top, control->picture());
    }
  }
  ApplyColourKeyShape(connection().display(), window_.get(), picture, colourKey_);
}

// ---------------------------------------------------------------------------
// Controls

void DialogWindow::ShowControl(int id, bool show) {
  if (Control* c = FindControl(id)) {
    c->Show(show);
    if (!show && focused_ == c) focused_ = nullptr;
    shapeStale_ = true;
  }
}

bool DialogWindow::IsControlVisible(int id) {
  Control* c = FindControl(id);
  return c != nullptr && c->visible();
}

void DialogWindow::MoveControl(int id, int x, int y, int w, int h, bool repaint) {
  if (Control* c = FindControl(id)) {
    c->Move(Rect{x, y, x + w, y + h}, repaint);
    shapeStale_ = true;
  }
}

Rect DialogWindow::ControlRect(int id) {
  Control* c = FindControl(id);
  return c != nullptr ? c->rect() : Rect{};
}

void DialogWindow::InvalidateControl(int id, bool /*erase*/) {
  if (Control* c = FindControl(id)) c->Invalidate();
}

void DialogWindow::UpdateControl(int id) {
  if (!shown_) return;
  if (Control* c = FindControl(id)) c->PaintIfInvalid();
}

void DialogWindow::SetControlFont(int id, const platform::Font& font, bool redraw) {
  if (Control* c = FindControl(id)) {
    c->SetFont(&font);
    if (redraw) c->Invalidate();
  }
}

std::string DialogWindow::GetControlText(int id) {
  Control* c = FindControl(id);
  return c != nullptr ? c->Text() : std::string();
}

void DialogWindow::SetControlText(int id, const std::string& text) {
  if (Control* c = FindControl(id)) c->SetText(text);
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
      MoveResize(Rect{0, 0, c.screenWidth(), c.screenHeight()});
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
  if (focused_ != nullptr) {
    focused_->Invalidate();
    focused_ = nullptr;
  }
  wantFocus_ = true;
  ApplyFocus();
}

bool DialogWindow::AppendSystemMenuItem(unsigned, const std::string&) { return false; }

void DialogWindow::SetIcon(int iconId) {
  if (!window_) return;
  std::unique_ptr<platform::Canvas> picture = graphics().LoadBitmap(iconId);
  if (picture) SetIconPicture(connection(), window_.get(), *picture);
}

void DialogWindow::EndDialog(int result) {
  endResult_.store(result);
  endRequested_.store(true);
  environment_.loop().Wake();
}

// ---------------------------------------------------------------------------
// Calls from worker threads

bool DialogWindow::OnUiThread(const std::function<void()>& call) {
  EventLoop& loop = environment_.loop();
  if (loop.OnUiThread()) {
    if (!live()) return false;
    call();
    return true;
  }
  auto done = std::make_shared<std::promise<bool>>();
  std::future<bool> result = done->get_future();
  {
    std::lock_guard<std::mutex> lock(exchangeMutex_);
    if (!live_) return false;
    // Posted under the lock: Finish() cannot slip in between the check and
    // the post, so every posted call is answered.
    loop.Post([this, call, done] {
      if (!live()) {
        done->set_value(false);
        return;
      }
      call();
      done->set_value(true);
    });
  }
  return result.get();
}

bool DialogWindow::IsWindowVisible() {
  bool visible = false;
  OnUiThread([&] { visible = shown_; });
  return visible;
}

void DialogWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  OnUiThread([&] {
    MoveResize(Rect{x, y, x + w, y + h});
    Display* d = connection().display();
    XSync(d, False);
    CollectExposures();
    if (repaint) PaintNow();
    XSync(d, False);
  });
}

void DialogWindow::UpdateWindow() {
  OnUiThread([&] {
    Display* d = connection().display();
    CollectExposures();
    PaintNow();
    XSync(d, False);
  });
}

bool DialogWindow::SetLayeredAttributes(Colour key, int alpha, unsigned flags) {
  bool applied = false;
  OnUiThread([&] { applied = ApplyLayered(key, alpha, flags); });
  return applied;
}

bool DialogWindow::ApplyLayered(Colour key, int alpha, unsigned flags) {
  if (!window_) return false;
  XConnection& c = connection();
  Display* d = c.display();
  if ((flags & platform::kLwaColourKey) != 0 && !c.shapeAvailable()) return false;
  if ((flags & platform::kLwaAlpha) != 0) {
    SetOpacity(c, window_.get(), alpha);
  } else {
    XDeleteProperty(d, window_.get(), c.atoms().netWmWindowOpacity);
  }
  if ((flags & platform::kLwaColourKey) != 0) {
    colourKeyed_ = true;
    colourKey_ = key;
    // The shape comes from the window's pixels: paint what is pending first,
    // so the window has its shape when this returns.
    PaintNow();
    RebuildShape();
  } else if (colourKeyed_) {
    colourKeyed_ = false;
    ClearShape(d, window_.get());
  }
  XSync(d, False);
  return true;
}

}  // namespace quorvel::x11
