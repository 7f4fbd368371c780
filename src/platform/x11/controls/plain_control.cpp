#include "platform/x11/controls/plain_control.h"

#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::x11 {
namespace {

constexpr Colour kFace = Rgb(212, 208, 200);
constexpr Colour kShadow = Rgb(128, 128, 128);
constexpr Colour kDarkShadow = Rgb(64, 64, 64);
constexpr Colour kHighlight = Rgb(255, 255, 255);
constexpr Colour kText = Rgb(0, 0, 0);

}  // namespace

PlainControl::PlainControl(ControlContext& context, const drawn::ControlLayout& layout)
    : Control(context, layout), kind_(layout.kind) {
  CreateWindow();
}

void PlainControl::Draw(raster::RasterCanvas& canvas) {
  using platform::ControlKind;
  raster::Surface& s = canvas.surface();
  Rect all = s.Bounds();
  Rect textRect = all;
  unsigned format = platform::dt::kWordBreak;
  switch (kind_) {
    case ControlKind::PushButton:
      drawn::FillPixels(s, all, kFace);
      drawn::FramePixels(s, all, kHighlight, kDarkShadow);
      drawn::FramePixels(s, Rect{1, 1, all.right - 1, all.bottom - 1}, kFace, kShadow);
      format = platform::dt::kCenter | platform::dt::kVCenter | platform::dt::kSingleLine;
      break;
    case ControlKind::MultiLineEdit:
    case ControlKind::Edit:
      drawn::FillPixels(s, all, kHighlight);
      drawn::FramePixels(s, all, kShadow, kShadow);
      textRect = Rect{3, 2, all.right - 3, all.bottom - 2};
      format |= platform::dt::kNoPrefix;
      break;
    default:
      drawn::FillPixels(s, all, context().handlers().DialogBrushColour());
      break;
  }
  canvas.SelectFont(&font());
  canvas.SetBkMode(platform::BkMode::Transparent);
  canvas.SetTextColour(kText);
  canvas.DrawText(Text(), textRect, format);
}

}  // namespace quorvel::x11
