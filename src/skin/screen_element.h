// The screen elements: a tree of rectangles that the skin paints into the
// window. Each element places itself inside its parent's rectangle, draws
// its own picture, then its children inside its rectangle; it may draw the
// whole subtree on an off-screen surface first and put that into the window
// colour-keyed or blended.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/canvas.h"
#include "platform/facts.h"
#include "platform/geometry.h"

namespace quorvel {

// What drawing the elements needs besides the canvases: the desktop's
// imaging entry points for the composing blits (null ones take the portable
// paths).
struct SkinContext {
  platform::ImagingEntries entries;
};

// How an edge of an element's rectangle follows the parent rectangle P.
enum EdgeMode : std::uint8_t {
  kEdgeInset = 0,       // from the same side: P.left + v, P.top + v, P.right - v, P.bottom - v
  kEdgeAbsolute = 1,    // v itself
  kEdgePercent = 2,     // v per cent of P's width or height, from coordinate 0
  kEdgeFromOpposite = 3,  // from the other side: P.right - v, P.bottom - v, P.left + v, P.top + v
};

// How the element reaches the window.
enum Composition : std::uint8_t {
  kDrawDirect = 0,     // straight into the target
  kDrawColourKeyed = 1,  // off-screen on magenta, then ColorKeyBlt
  // 2 and above: off-screen on magenta, then BlendBlt with `alpha`
  kDrawBlended = 2,
};

class ScreenElement {
 public:
  ScreenElement() = default;
  ScreenElement(const ScreenElement&) = default;
  ScreenElement& operator=(const ScreenElement&) = default;
  virtual ~ScreenElement() = default;

  // Draws the element and its subtree into `target` inside `parent`, taking
  // pictures from the skin bitmap `skin`. The base class has no picture of
  // its own; it places, composes and draws the children.
  virtual void Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
                    const SkinContext& context) const;

  // The element's rectangle inside `parent`, each edge by its mode
  // (EdgeMode). An edge with any other mode stays the parent's edge. The
  // arithmetic cannot overflow; the results wrap to 32 bits and divisions
  // truncate toward zero.
  Rect Place(const Rect& parent) const;

  // True for elements whose picture has antialiased edges (text), which an
  // off-screen surface must blend with what lies beneath, not with the key.
  virtual bool HasSoftEdges() const { return false; }

  ScreenElement* next = nullptr;   // the next sibling
  ScreenElement* child = nullptr;  // the first child
  std::uint8_t hidden = 0;         // 1 hides the element and its subtree
  std::uint8_t lMode = 0;
  std::int32_t lVal = 0;
  std::uint8_t rMode = 0;
  std::int32_t rVal = 0;
  std::uint8_t tMode = 0;
  std::int32_t tVal = 0;
  std::uint8_t bMode = 0;
  std::int32_t bVal = 0;
  std::uint8_t alpha = 0;  // constant alpha when comp >= 2
  std::uint8_t comp = 0;   // Composition

 protected:
  // The surface an off-screen element draws on.
  enum class Offscreen {
    Compatible,      // compatible with the target
    Dib32,           // a 32-bit section (image elements)
    CompatibleText,  // compatible, with magenta as its background colour
  };
  using Painter = std::function<void(platform::Canvas& context, const Rect& r)>;

  // The steps every element takes, from `self` (the copy being drawn):
  // hidden elements stop; the rectangle is placed; an element with comp != 0
  // gets a w x h surface filled with magenta (and, where the subtree has
  // soft edges, then with what lies beneath) and draws at (0, 0, w, h) on
  // it; `paint` draws the picture into the drawing context at the
  // rectangle; the children follow with that context and rectangle as their
  // parent; the surface then goes to the target at the rectangle's corner.
  // When the surface cannot be made (a negative size) nothing is drawn.
  static void Compose(const ScreenElement& self, platform::Canvas& target, const Rect& parent,
                      platform::Canvas& skin, const SkinContext& context, Offscreen kind,
                      const Painter& paint);
};

}  // namespace quorvel
