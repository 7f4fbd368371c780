#include "platform/drawn/controls/edit_control.h"

#include <algorithm>
#include <cstdlib>

#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::drawn {
namespace {

constexpr Colour kField = Rgb(255, 255, 255);
constexpr Colour kText = Rgb(0, 0, 0);
constexpr Colour kSelection = Rgb(0, 0, 128);
constexpr Colour kSelectedText = Rgb(255, 255, 255);
constexpr Colour kShadow = Rgb(128, 128, 128);
constexpr Colour kDarkShadow = Rgb(64, 64, 64);
constexpr Colour kFace = Rgb(212, 208, 200);
constexpr Colour kBorder = Rgb(0, 0, 0);
constexpr unsigned kTextFormat =
    platform::dt::kSingleLine | platform::dt::kNoPrefix | platform::dt::kVCenter;

}  // namespace

EditControl::EditControl(ControlContext& context, const ControlLayout& layout)
    : Control(context, layout), clientEdge_(layout.clientEdge) {
  edit_.SetText(layout.caption);
  CreateSurface();
}

PointerInput EditControl::PointerInputs() const { return PointerInput::Buttons; }

void EditControl::Changed() {
  Invalidate();
  PaintIfInvalid();
}

void EditControl::SetText(const std::string& text) {
  edit_.SetText(text);
  scroll_ = 0;
  Invalidate();
}

void EditControl::SetFont(const platform::Font* font) {
  Control::SetFont(font);
  Invalidate();
}

Rect EditControl::TextArea() const {
  const int border = clientEdge_ ? 2 : 1;
  return Rect{border + 1, border, rect().Width() - border - 1, rect().Height() - border};
}

int EditControl::Measure(const std::string& text) {
  if (text.empty()) return 0;
  if (!measure_) measure_ = raster::RasterCanvas::CreateMemory(1, 1);
  if (!measure_) return 0;
  measure_->SelectFont(&font());
  Rect r{0, 0, 0, 0};
  measure_->DrawText(text, r, kTextFormat | platform::dt::kCalcRect);
  return r.Width();
}

std::size_t EditControl::PositionAt(int x) {
  const int target = x - TextArea().left + scroll_;
  const std::string& text = edit_.text();
  std::size_t best = 0;
  int bestDistance = std::abs(target);
  for (std::size_t i = 1; i <= text.size(); ++i) {
    const int distance = std::abs(Measure(text.substr(0, i)) - target);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void EditControl::KeepCaretInView() {
  const int width = TextArea().Width();
  const int caretX = Measure(edit_.text().substr(0, edit_.caret()));
  const int total = Measure(edit_.text());
  if (caretX - scroll_ > width - 1) scroll_ = caretX - width + 1;
  if (caretX < scroll_) scroll_ = caretX;
  // No empty space on the right while text is scrolled out on the left.
  if (scroll_ > 0 && total - scroll_ < width - 1) scroll_ = total - width + 1;
  if (scroll_ < 0) scroll_ = 0;
}

void EditControl::HandlePointer(const PointerEvent& event) {
  if (!context().acceptsInput()) return;
  switch (event.action) {
    case PointerAction::Press:
      if (event.button != PointerButton::Left) return;
      context().Focus(*this);
      edit_.MoveTo(PositionAt(Local(event.at).x), event.shift);
      selecting_ = true;
      Changed();
      break;
    case PointerAction::Motion:
      if (!selecting_) return;
      edit_.MoveTo(PositionAt(Local(event.at).x), true);
      Changed();
      break;
    case PointerAction::Release:
      if (event.button == PointerButton::Left) selecting_ = false;
      break;
    default:
      break;
  }
}

bool EditControl::HandleKey(const KeyEvent& key) {
  const bool shift = key.shift;
  switch (key.key) {
    case Key::Backspace:
      edit_.Backspace();
      break;
    case Key::Delete:
      edit_.Delete();
      break;
    case Key::Left:
      edit_.Left(shift);
      break;
    case Key::Right:
      edit_.Right(shift);
      break;
    case Key::Home:
      edit_.Home(shift);
      break;
    case Key::End:
      edit_.End(shift);
      break;
    case Key::Insert:
      if (!shift) return false;
      context().RequestPaste(*this);
      return true;
    default:
      if (key.control) {
        if (key.key == Key::A) {
          edit_.SelectAll();
          break;
        }
        if (key.key == Key::V) {
          context().RequestPaste(*this);
          return true;
        }
        return false;
      }
      {
        std::string printable;
        for (char c : key.text) {
          const unsigned char u = static_cast<unsigned char>(c);
          if (u >= 0x20 && u != 0x7F) printable += c;
        }
        if (printable.empty()) return false;
        edit_.Insert(printable);
      }
      break;
  }
  Changed();
  return true;
}

void EditControl::Paste(const std::string& text) {
  std::string line;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == '\r' || u == '\n') break;
    if (u >= 0x20 && u != 0x7F) line += c;
  }
  if (line.empty()) return;
  edit_.Insert(line);
  Changed();
}

void EditControl::Draw(raster::RasterCanvas& canvas) {
  raster::Surface& s = canvas.surface();
  const Rect all = s.Bounds();
  FillPixels(s, all, kField);
  if (clientEdge_) {
    FramePixels(s, all, kShadow, kField);
    FramePixels(s, Rect{1, 1, all.right - 1, all.bottom - 1}, kDarkShadow, kFace);
  } else {
    FramePixels(s, all, kBorder, kBorder);
  }

  KeepCaretInView();
  const Rect area = TextArea();
  if (area.Width() <= 0 || area.Height() <= 0) return;
  const std::string& text = edit_.text();
  const int origin = area.left - scroll_;

  canvas.SetClipRect(&area);
  canvas.SelectFont(&font());
  canvas.SetBkMode(platform::BkMode::Transparent);
  canvas.SetTextColour(kText);
  Rect line{origin, area.top, origin + Measure(text) + 1, area.bottom};
  canvas.DrawText(text, line, kTextFormat);

  if (edit_.HasSelection()) {
    const std::size_t start = edit_.SelectionStart();
    const std::size_t end = edit_.SelectionEnd();
    const int x0 = origin + Measure(text.substr(0, start));
    const int x1 = origin + Measure(text.substr(0, end));
    FillPixels(s, Rect{std::max(x0, area.left), area.top, std::min(x1, area.right), area.bottom},
               kSelection);
    canvas.SetTextColour(kSelectedText);
    Rect selected{x0, area.top, x1 + 1, area.bottom};
    canvas.DrawText(text.substr(start, end - start), selected, kTextFormat);
  }
  canvas.SetClipRect(nullptr);

  if (context().IsFocused(*this)) {
    const int x = origin + Measure(text.substr(0, edit_.caret()));
    if (x >= area.left && x < area.right) {
      FillPixels(s, Rect{x, area.top + 1, x + 1, area.bottom - 1}, kText);
    }
  }
}

}  // namespace quorvel::drawn
