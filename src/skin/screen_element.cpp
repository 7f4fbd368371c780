#include "skin/screen_element.h"

#include <memory>

#include "skin/blits.h"

namespace quorvel {
namespace {

std::int32_t Wrap(long long v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// One edge. `base` is the parent's edge on the same side, `opposite` the one
// on the other side, `extent` the parent's width or height, and `fromSame`
// tells whether inset values move toward larger coordinates (left, top).
std::int32_t Edge(std::uint8_t mode, std::int32_t v, std::int32_t base, std::int32_t opposite,
                  long long extent, bool fromSame) {
  switch (mode) {
    case kEdgeInset:
      return Wrap(fromSame ? static_cast<long long>(base) + v : static_cast<long long>(base) - v);
    case kEdgeAbsolute:
      return v;
    case kEdgePercent:
      return Wrap(extent * v / 100);
    case kEdgeFromOpposite:
      return Wrap(fromSame ? static_cast<long long>(opposite) - v
                           : static_cast<long long>(opposite) + v);
    default:
      return base;
  }
}

// Whether anything drawn by `e` or its shown subtree has soft edges.
bool SubtreeHasSoftEdges(const ScreenElement& e) {
  if (e.HasSoftEdges()) return true;
  for (const ScreenElement* c = e.child; c; c = c->next) {
    if (c->hidden != 1 && SubtreeHasSoftEdges(*c)) return true;
  }
  return false;
}

}  // namespace

Rect ScreenElement::Place(const Rect& p) const {
  const long long width = static_cast<long long>(p.right) - p.left;
  const long long height = static_cast<long long>(p.bottom) - p.top;
  Rect r;
  r.left = Edge(lMode, lVal, p.left, p.right, width, true);
  r.top = Edge(tMode, tVal, p.top, p.bottom, height, true);
  r.right = Edge(rMode, rVal, p.right, p.left, width, false);
  r.bottom = Edge(bMode, bVal, p.bottom, p.top, height, false);
  return r;
}

void ScreenElement::Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
                         const SkinContext& context) const {
  Compose(*this, target, parent, skin, context, Offscreen::Compatible, nullptr);
}

void ScreenElement::Compose(const ScreenElement& self, platform::Canvas& target,
                            const Rect& parent, platform::Canvas& skin,
                            const SkinContext& context, Offscreen kind, const Painter& paint) {
  if (self.hidden == 1) return;
  Rect r = self.Place(parent);

  std::unique_ptr<platform::Canvas> surface;
  int x = 0;
  int y = 0;
  const int w = r.Width();
  const int h = r.Height();
  if (self.comp != kDrawDirect) {
    if (kind == Offscreen::Dib32) {
      surface = target.CreateDib32(w, h);
      if (surface) surface->Flush();
    } else {
      surface = target.CreateCompatible(w, h);
    }
    if (!surface) return;
    // Magenta everywhere; the pen's outline falls outside the surface.
    const platform::Pen pen{platform::kPenSolid, 1, Rgb(0, 0, 0)};
    const platform::Brush brush{kKeyMagenta, platform::kHatchNone};
    surface->Rectangle(Rect{-1, -1, w + 2, h + 2}, pen, brush);
    // Then, under text, what lies beneath, where the target has it. The
    // text's antialiased edges then blend with the real background rather
    // than with the key, which would leave magenta-tinted fringes that no
    // key removes. Pixels the element does not paint put the target's own
    // pixel back (a blend of a pixel with itself keeps it), and what it
    // paints in magenta is still keyed out.
    if (SubtreeHasSoftEdges(self)) {
      surface->BitBlt(0, 0, w, h, target, r.left, r.top, platform::Rop::SrcCopy);
    }
    if (kind == Offscreen::CompatibleText) surface->SetBkColour(kKeyMagenta);
    x = r.left;
    y = r.top;
    r = Rect{0, 0, w, h};
  }
  platform::Canvas& drawing = surface ? *surface : target;

  if (paint) paint(drawing, r);
  for (const ScreenElement* c = self.child; c; c = c->next) c->Draw(drawing, r, skin, context);

  if (self.comp == kDrawColourKeyed) {
    ColorKeyBlt(target, x, y, w, h, *surface, 0, 0, context.entries);
  } else if (self.comp >= kDrawBlended) {
    BlendBlt(&target, x, y, w, h, surface.get(), 0, 0, w, h, BlendFunction{0, 0, self.alpha, 0},
             context.entries);
  }
}

}  // namespace quorvel
