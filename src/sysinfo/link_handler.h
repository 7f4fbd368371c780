// The clickable areas of the main window and what a click on them does:
// show or hide the advice panel, open the driver page of the card's maker,
// the product's site or the maker's home page.
#pragma once

#include <array>
#include <string>

#include "platform/geometry.h"
#include "platform/services.h"

namespace quorvel {

// The areas, in client coordinates, in the order the skin lays them out.
// The first four have fixed meanings (see LinkAction).
class LinkRects {
 public:
  static constexpr int kCapacity = 100;

  // Adds an area after the others; once kCapacity areas are held, further
  // ones are ignored.
  void Append(const Rect& area);
  void Clear() { count_ = 0; }
  int Count() const { return count_; }
  const Rect& At(int index) const { return areas_[static_cast<std::size_t>(index)]; }

  // The index of the first area, in order, that holds `p` (left and top
  // edges inside, right and bottom edges outside), or -1.
  int HitTest(Point p) const;

 private:
  std::array<Rect, kCapacity> areas_{};
  int count_ = 0;
};

// Area indices with a meaning.
constexpr int kAdviceToggleArea = 0;
constexpr int kDriverLinkArea = 1;
constexpr int kProductSiteArea = 2;
constexpr int kMakerHomeArea = 3;

enum class LinkAction {
  None,
  ToggleAdvice,  // show or hide the advice panel
  DriverLink,    // the driver page of the card's maker (OpenDriverPage)
  ProductSite,   // the product's web site
  MakerHome,     // the maker's home page
};

// What a left-button release at `p` does. The driver link lives on the
// advice panel, so it answers only while the panel is shown; the product
// site link is part of the main screen and is dead on the results screen.
LinkAction ClickAction(const LinkRects& areas, Point p, bool advicePanelShown,
                       bool resultsScreenActive);

// The driver download page for a card, from the maker's name or a product
// name found in `adapterReportName`; null when no maker is recognised.
// Keywords are looked for in this order, the first found deciding: MATROX,
// ATI, RAGE, RADEON (ATI), 3DFX, NVIDIA, GEFORCE, TNT (NVIDIA). Letter case
// is ignored, and a keyword counts only where it begins a word (at the
// start or after a character that is not a letter or digit), so that
// "CREATIVE ... GEFORCE" is not taken for an ATI card.
const char* DriverPageFor(const std::string& adapterReportName);

constexpr char kNoMakerText[] = "Sorry, we are unable to determine who made your graphics card";
constexpr char kNoMakerCaption[] = "Unable to locate web site";

// Opens the driver page for the card, or tells the user that its maker is
// unknown.
void OpenDriverPage(platform::Services& services, platform::DialogHost* owner,
                    const std::string& adapterReportName);

// Carries out the three page actions (DriverLink, ProductSite, MakerHome)
// and returns true; returns false for None and ToggleAdvice, which the
// dialog handles itself.
bool FollowLink(LinkAction action, platform::Services& services, platform::DialogHost* owner,
                const std::string& adapterReportName);

}  // namespace quorvel
