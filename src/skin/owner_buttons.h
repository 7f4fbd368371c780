// The owner-drawn buttons of the main window: a background, a picture and
// a white caption in the button font.
#pragma once

#include <map>
#include <memory>

#include "platform/canvas.h"
#include "platform/dialog.h"

namespace quorvel {

class OwnerButtons {
 public:
  OwnerButtons(platform::Graphics& graphics, const platform::Font* buttonFont)
      : graphics_(graphics), font_(buttonFont) {}

  // Paints button `item.controlId` into `canvas`. Before the first test
  // run (`testsRun` 0), "View detailed results" is left to the default
  // drawing (false) and "Save results" gets its background only. False for
  // a control that is not one of the skinned buttons.
  bool Draw(const platform::DrawItem& item, platform::Canvas& canvas, int testsRun);

 private:
  // Button pictures are loaded once and kept.
  platform::Canvas* Picture(int id);

  platform::Graphics& graphics_;
  const platform::Font* font_;
  std::map<int, std::unique_ptr<platform::Canvas>> pictures_;
};

}  // namespace quorvel
