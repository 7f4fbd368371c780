// Which screen the main window shows and where its picture sits: painted
// by the skin, driven by the screen flow.
#pragma once

#include <cstdint>

namespace quorvel {

struct ScreenState {
  int contentOffsetX = 0;  // where the composed picture is copied into the window
  int contentOffsetY = 0;
  int submitScreenActive = 0;
  int enteringResults = 0;  // the cross-fade to the results screen runs
  int leavingResults = 0;   // the cross-fade back to the main screen runs
  int resultsScreenActive = 0;
  int fadeLevel = 0;                   // progress of the running cross-fade
  std::uint32_t animationLastTick = 0;  // tick of the last change; 0: not yet taken
};

}  // namespace quorvel
