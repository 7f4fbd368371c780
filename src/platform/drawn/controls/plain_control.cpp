#include "platform/drawn/controls/plain_control.h"

#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::drawn {
namespace {

constexpr Colour kFace = Rgb(212, 208, 200);
constexpr Colour kShadow = Rgb(128, 128, 128);
constexpr Colour kDarkShadow = Rgb(64, 64, 64);
constexpr Colour kHighlight = Rgb(255, 255, 255);
constexpr Colour kText = Rgb(0, 0, 0);

}  // namespace

PlainControl::PlainControl(ControlContext& context, const ControlLayout& layout)
    : Control(context, layout), kind_(layout.kind) {
  CreateSurface();
}

void PlainControl::Draw(raster::RasterCanvas& canvas) {
  using platform::ControlKind;
  raster::Surface& s = canvas.surface();
  Rect all = s.Bounds();
  Rect textRect = all;
  unsigned format = platform::dt::kWordBreak;
  switch (kind_) {
    case ControlKind::PushButton:
      FillPixels(s, all, kFace);
      FramePixels(s, all, kHighlight, kDarkShadow);
      FramePixels(s, Rect{1, 1, all.right - 1, all.bottom - 1}, kFace, kShadow);
      format = platform::dt::kCenter | platform::dt::kVCenter | platform::dt::kSingleLine;
      break;
    case ControlKind::MultiLineEdit:
    case ControlKind::Edit:
      FillPixels(s, all, kHighlight);
      FramePixels(s, all, kShadow, kShadow);
      textRect = Rect{3, 2, all.right - 3, all.bottom - 2};
      format |= platform::dt::kNoPrefix;
      break;
    default:
      FillPixels(s, all, context().handlers().DialogBrushColour());
      break;
  }
  canvas.SelectFont(&font());
  canvas.SetBkMode(platform::BkMode::Transparent);
  canvas.SetTextColour(kText);
  canvas.DrawText(Text(), textRect, format);
}

}  // namespace quorvel::drawn
