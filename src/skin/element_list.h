// A list of screen elements: the header of a sibling chain, and the chain
// of headers the main window paints from.
#pragma once

#include <cstdint>

#include "skin/screen_element.h"

namespace quorvel {

struct ElementList {
  std::uint8_t flag = 0;             // kept for the header's layout; never read
  ScreenElement* first = nullptr;     // the first top-level element
  ElementList* next = nullptr;        // the next header of the chain
};

// Gives every top-level element of `list` (the sibling chain, not the
// children) the composition mode and opacity.
void SetTopLevelComposition(ElementList& list, std::uint8_t comp, std::uint8_t alpha);

// Draws every top-level element of `list` (and so their children) into
// `target`, in chain order.
void DrawList(const ElementList& list, platform::Canvas& target, const Rect& parent,
              platform::Canvas& skin, const SkinContext& context);

}  // namespace quorvel
