// Paints the main window: the whole picture is composed off screen from
// the element lists and copied to the window in one blit, so nothing
// flickers.
#pragma once

#include "platform/canvas.h"
#include "skin/screen_state.h"
#include "skin/skin_content.h"

namespace quorvel {

// Paints `window` (its size is the client area): the frame and bottom-bar
// lists, then exactly one screen's lists by the screen flags, the picture
// copied at the content offsets, and black over what the copy left bare.
void PaintSkin(platform::Canvas& window, SkinContent& skin, const ScreenState& screen);

}  // namespace quorvel
