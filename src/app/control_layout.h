// Where the main dialog's controls go, from its window rectangle and the
// screen height.
#pragma once

#include "platform/dialog.h"

namespace quorvel {

// Screens from this height on get the lower layout of the results buttons.
constexpr int kTallScreenHeight = 700;

// Places the controls of the main dialog inside window rectangle `r` (screen
// pixels) for a screen `screenHeight` pixels high, and stops the skinned ones
// from erasing their own background, in the order the dialog needs.
void PlaceMainControls(platform::DialogHost& host, const Rect& r, int screenHeight);

}  // namespace quorvel
