#include "platform/drawn/controls/bitmap_static.h"

#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::drawn {
namespace {

std::unique_ptr<platform::Canvas> LoadFor(ControlContext& context, int bitmapId) {
  return bitmapId != 0 ? context.graphics().LoadBitmap(bitmapId) : nullptr;
}

}  // namespace

ControlLayout BitmapStatic::Sized(ControlLayout layout, const platform::Canvas* bitmap) {
  if (bitmap != nullptr && !layout.centreImage) {
    layout.rect.right = layout.rect.left + bitmap->Width();
    layout.rect.bottom = layout.rect.top + bitmap->Height();
  }
  return layout;
}

BitmapStatic::BitmapStatic(ControlContext& context, const ControlLayout& layout)
    : BitmapStatic(context, layout, LoadFor(context, layout.bitmapId)) {}

BitmapStatic::BitmapStatic(ControlContext& context, const ControlLayout& layout,
                           std::unique_ptr<platform::Canvas> bitmap)
    : Control(context, Sized(layout, bitmap.get())),
      bitmap_(std::move(bitmap)),
      centre_(layout.centreImage) {
  CreateSurface();
}

void BitmapStatic::Draw(raster::RasterCanvas& canvas) {
  auto* picture = dynamic_cast<raster::RasterCanvas*>(bitmap_.get());
  if (picture == nullptr || picture->surface().empty()) return;
  const raster::Surface& source = picture->surface();
  raster::Surface& target = canvas.surface();
  if (!centre_) {
    CopyPixels(target, 0, 0, source);
    return;
  }
  FillPixels(target, target.Bounds(), raster::ColourOf(source.Row(0)[0]));
  CopyPixels(target, (target.width() - source.width()) / 2,
             (target.height() - source.height()) / 2, source);
}

}  // namespace quorvel::drawn
