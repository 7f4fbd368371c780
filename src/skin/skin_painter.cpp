#include "skin/skin_painter.h"

#include "skin/skin_colours.h"

namespace quorvel {

void PaintSkin(platform::Canvas& window, SkinContent& skin, const ScreenState& screen) {
  const int w = window.Width();
  const int h = window.Height();
  const Rect client{0, 0, w, h};

  std::unique_ptr<platform::Canvas> back = window.CreateCompatible(w, h);
  // Without the skin bitmap (it could not be loaded) the pieces are copied
  // from an empty stand-in, so they show nothing rather than fail.
  std::unique_ptr<platform::Canvas> missing;
  if (!skin.skinBitmap) missing = window.CreateCompatible(1, 1);
  platform::Canvas* skinCanvas = skin.skinBitmap ? skin.skinBitmap.get() : missing.get();
  if (back && skinCanvas != nullptr) {
    // The lists cover the whole back buffer, so it is not cleared first.
    DrawList(skin.frameList, *back, client, *skinCanvas, skin.context);
    DrawList(skin.bottomBarList, *back, client, *skinCanvas, skin.context);
    if (screen.submitScreenActive) {
      DrawList(skin.submitList, *back, client, *skinCanvas, skin.context);
    } else if (screen.enteringResults) {
      DrawList(skin.resultsList, *back, client, *skinCanvas, skin.context);
      DrawList(skin.mainList, *back, client, *skinCanvas, skin.context);
    } else if (screen.leavingResults) {
      DrawList(skin.mainList, *back, client, *skinCanvas, skin.context);
      DrawList(skin.resultsList, *back, client, *skinCanvas, skin.context);
    } else if (screen.resultsScreenActive) {
      DrawList(skin.resultsList, *back, client, *skinCanvas, skin.context);
    } else {
      DrawList(skin.mainList, *back, client, *skinCanvas, skin.context);
    }
    window.BitBlt(screen.contentOffsetX, screen.contentOffsetY, w, h, *back, 0, 0,
                  platform::Rop::SrcCopy);
  }

  // The slides uncover the right and bottom strips.
  const platform::Pen noPen{platform::kPenNull, 0, 0};
  const platform::Brush black{skin::kBlack};
  window.Rectangle(Rect{screen.contentOffsetX + w, 0, w + 10, h + 10}, noPen, black);
  window.Rectangle(Rect{0, screen.contentOffsetY + h, w + 10, h + 10}, noPen, black);
}

}  // namespace quorvel
