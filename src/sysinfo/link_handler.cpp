#include "sysinfo/link_handler.h"

#include "site/site_addresses.h"

namespace quorvel {

void LinkRects::Append(const Rect& area) {
  if (count_ >= kCapacity) return;
  areas_[static_cast<std::size_t>(count_++)] = area;
}

int LinkRects::HitTest(Point p) const {
  for (int i = 0; i < count_; ++i) {
    if (At(i).Contains(p)) return i;
  }
  return -1;
}

LinkAction ClickAction(const LinkRects& areas, Point p, bool advicePanelShown,
                       bool resultsScreenActive) {
  switch (areas.HitTest(p)) {
    case kAdviceToggleArea:
      return LinkAction::ToggleAdvice;
    case kDriverLinkArea:
      return advicePanelShown ? LinkAction::DriverLink : LinkAction::None;
    case kProductSiteArea:
      return resultsScreenActive ? LinkAction::None : LinkAction::ProductSite;
    case kMakerHomeArea:
      return LinkAction::MakerHome;
    default:
      return LinkAction::None;
  }
}

namespace {

bool IsAsciiAlnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// True when `keyword` occurs in `name` at the start of a word.
bool HasWordStartingWith(const std::string& name, const char* keyword) {
  for (std::size_t at = name.find(keyword); at != std::string::npos;
       at = name.find(keyword, at + 1)) {
    if (at == 0 || !IsAsciiAlnum(name[at - 1])) return true;
  }
  return false;
}

struct MakerKeyword {
  const char* keyword;
  const char* page;
};

constexpr MakerKeyword kMakerKeywords[] = {
    {"MATROX", kMatroxDriverPage}, {"ATI", kAtiDriverPage},        {"RAGE", kAtiDriverPage},
    {"RADEON", kAtiDriverPage},    {"3DFX", k3dfxDriverPage},      {"NVIDIA", kNvidiaDriverPage},
    {"GEFORCE", kNvidiaDriverPage}, {"TNT", kNvidiaDriverPage},
};

}  // namespace

const char* DriverPageFor(const std::string& adapterReportName) {
  std::string upper = adapterReportName;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  for (const MakerKeyword& k : kMakerKeywords) {
    if (HasWordStartingWith(upper, k.keyword)) return k.page;
  }
  return nullptr;
}

void OpenDriverPage(platform::Services& services, platform::DialogHost* owner,
                    const std::string& adapterReportName) {
  if (const char* page = DriverPageFor(adapterReportName)) {
    services.OpenWebPage(owner, page, platform::Show::Default);
  } else {
    services.MessageBox(owner, kNoMakerText, kNoMakerCaption, platform::MessageIcon::Information);
  }
}

bool FollowLink(LinkAction action, platform::Services& services, platform::DialogHost* owner,
                const std::string& adapterReportName) {
  switch (action) {
    case LinkAction::DriverLink:
      OpenDriverPage(services, owner, adapterReportName);
      return true;
    case LinkAction::ProductSite:
      services.OpenWebPage(owner, kProductSiteAddress, platform::Show::Default);
      return true;
    case LinkAction::MakerHome:
      services.OpenWebPage(owner, kMakerHomeAddress, platform::Show::Default);
      return true;
    case LinkAction::None:
    case LinkAction::ToggleAdvice:
      break;
  }
  return false;
}

}  // namespace quorvel
