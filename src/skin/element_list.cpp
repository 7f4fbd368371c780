#include "skin/element_list.h"

namespace quorvel {

void SetTopLevelComposition(ElementList& list, std::uint8_t comp, std::uint8_t alpha) {
  for (ScreenElement* e = list.first; e != nullptr; e = e->next) {
    e->comp = comp;
    e->alpha = alpha;
  }
}

void DrawList(const ElementList& list, platform::Canvas& target, const Rect& parent,
              platform::Canvas& skin, const SkinContext& context) {
  for (ScreenElement* e = list.first; e != nullptr; e = e->next) {
    e->Draw(target, parent, skin, context);
  }
}

}  // namespace quorvel
