#include "platform/x11/controls/bitmap_static.h"

#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::x11 {
namespace {

std::unique_ptr<platform::Canvas> LoadFor(ControlContext& context, int bitmapId) {
  return bitmapId != 0 ? context.graphics().LoadBitmap(bitmapId) : nullptr;
}

}  // namespace

drawn::ControlLayout BitmapStatic::Sized(drawn::ControlLayout layout, const platform::Canvas* bitmap) {
  if (bitmap != nullptr && !layout.centreImage) {
    layout.rect.right = layout.rect.left + bitmap->Width();
    layout.rect.bottom = layout.rect.top + bitmap->Height();
  }
  return layout;
}

BitmapStatic::BitmapStatic(ControlContext& context, const drawn::ControlLayout& layout)
    : BitmapStatic(context, layout, LoadFor(context, layout.bitmapId)) {}

BitmapStatic::BitmapStatic(ControlContext& context, const drawn::ControlLayout& layout,
                           std::unique_ptr<platform::Canvas> bitmap)
    : Control(context, Sized(layout, bitmap.get())),
      bitmap_(std::move(bitmap)),
      centre_(layout.centreImage) {
  CreateWindow();
}

void BitmapStatic::Draw(raster::RasterCanvas& canvas) {
  auto* picture = dynamic_cast<raster::RasterCanvas*>(bitmap_.get());
  if (picture == nullptr || picture->surface().empty()) return;
  const raster::Surface& source = picture->surface();
  raster::Surface& target = canvas.surface();
  if (!centre_) {
    drawn::CopyPixels(target, 0, 0, source);
    return;
  }
  drawn::FillPixels(target, target.Bounds(), raster::ColourOf(source.Row(0)[0]));
  drawn::CopyPixels(target, (target.width() - source.width()) / 2,
             (target.height() - source.height()) / 2, source);
}

}  // namespace quorvel::x11
