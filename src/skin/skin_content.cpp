#include "skin/skin_content.h"

#include "platform/resource_ids.h"
#include "site/site_addresses.h"
#include "skin/skin_colours.h"

namespace quorvel {

const char kNoticeText[] =
    "Copyright \xA9 2026 Ostrin. Quorvel and the Quorvel logo are trademarks of Ostrin. "
    "All rights reserved.";

std::string SiteLinkLine() {
  // The address as people write it: without the scheme and the final slash.
  std::string shown = kProductSiteAddress;
  const std::string scheme = "http://";
  if (shown.compare(0, scheme.size(), scheme) == 0) shown.erase(0, scheme.size());
  if (!shown.empty() && shown.back() == '/') shown.pop_back();
  return "Visit the Quorvel website for information on these results - " + shown + ".";
}

namespace {

// An edge and its value (EdgeMode).
struct Edge {
  EdgeMode mode;
  int value;
};
constexpr Edge Inset(int v) { return {kEdgeInset, v}; }
constexpr Edge Fixed(int v) { return {kEdgeAbsolute, v}; }
constexpr Edge Percent(int v) { return {kEdgePercent, v}; }
constexpr Edge FromOpposite(int v) { return {kEdgeFromOpposite, v}; }
constexpr Edge kSame = {kEdgeInset, 0};

constexpr unsigned kSingleCentred =
    platform::dt::kCenter | platform::dt::kVCenter | platform::dt::kSingleLine;
constexpr unsigned kSingleVCentred =
    platform::dt::kVCenter | platform::dt::kSingleLine | platform::dt::kExpandTabs;

void Place(ScreenElement& e, Edge left, Edge top, Edge right, Edge bottom) {
  e.lMode = left.mode;
  e.lVal = left.value;
  e.tMode = top.mode;
  e.tVal = top.value;
  e.rMode = right.mode;
  e.rVal = right.value;
  e.bMode = bottom.mode;
  e.bVal = bottom.value;
}

void Box(BoxElement& e, Colour fill, int penStyle, Colour penColour = skin::kBlack) {
  e.fill = fill;
  e.penColor = penColour;
  e.penStyle = penStyle;
  e.penWidth = 0;
  e.hatch = platform::kHatchNone;
  e.rx = 0;
  e.ry = 0;
}

void Gradient(GradientElement& e, Colour left, Colour right) {
  e.color1 = left;
  e.color2 = right;
}

void Image(ImageElement& e, const Rect& piece) {
  e.marginLeft = e.marginTop = e.marginRight = e.marginBottom = 0;
  e.stretchLeft = e.stretchTop = e.stretchRight = e.stretchBottom = e.stretchCentre = 0;
  e.halftone = 0;
  e.source = piece;
}

// A text with the skin's usual values: body font, white on a blue shadow
// 2 right and 1 down, word-broken with tabs expanded.
void Text(TextElement& e, const SkinFonts& fonts, const std::string& text) {
  e.color = skin::kWhite;
  e.shadowColor = skin::kShadowBlue;
  e.font = fonts.body.get();
  e.shadowMode = 1;
  e.dtFormat = platform::dt::kWordBreak | platform::dt::kExpandTabs;
  e.text = text;
}

void Heading(TextElement& e, const SkinFonts& fonts, const std::string& text) {
  Text(e, fonts, text);
  e.font = fonts.heading.get();
  e.shadowMode = 2;
}

// A panel that draws nothing of its own: its children go off-screen onto
// magenta and reach the window colour-keyed, so only they show.
void KeyedPanel(BoxElement& e) {
  Box(e, kKeyMagenta, platform::kPenNull);
  e.comp = kDrawColourKeyed;
  e.alpha = 0;
}

// The click area of an element placed at fixed distances from the window's
// top-left corner: its rectangle on the main screen.
Rect ClickAreaOf(const ScreenElement& e) { return e.Place(Rect{}); }

// The site line is clickable over the text's own width, not to the edge.
constexpr int kSiteLinkClickWidth = 510;
constexpr int kSiteLinkClickHeight = 20;

// Links the elements into a sibling chain, in order; returns the first.
ScreenElement* Chain(std::initializer_list<ScreenElement*> elements) {
  ScreenElement* previous = nullptr;
  for (ScreenElement* e : elements) {
    if (previous != nullptr) previous->next = e;
    previous = e;
  }
  if (previous != nullptr) previous->next = nullptr;
  return elements.size() == 0 ? nullptr : *elements.begin();
}

}  // namespace

void SkinContent::LoadResources(platform::Graphics& graphics) {
  auto font = [&](const char* face, int height, int weight, int quality) {
    return graphics.CreateFont(platform::FontSpec{face, height, weight, quality});
  };
  fonts.title = font("Trebuchet MS", 46, 700, 6);
  fonts.small = font("Tahoma", 13, 400, 6);
  fonts.button = font("Tahoma", 13, 600, 6);
  fonts.body = font("Verdana", 17, 400, 4);
  fonts.heading = font("Verdana", 20, 700, 4);
  skinBitmap = graphics.LoadBitmap(IDB_SKIN);
}

void SkinContent::Build(LinkRects& links, const std::string& resultsHost) {
  BuildFrame();
  BuildBottomBar();
  BuildMainScreen(links);
  BuildResultsScreen();
  BuildSubmitScreen(resultsHost);

  frameList.first = Chain({&topBand, &topRuleLeft, &topRuleRight});
  bottomBarList.first = Chain({&bottomBand, &bottomRuleLeft, &bottomRuleRight});
  mainList.first = Chain({&mainBackground, &descriptionText, &sysInfoPanel, &siteLinkText,
                          &resultPanel, &helpIcon, &advicePanel, &logoImage});
  resultsList.first = Chain({&resultsBackground, &resultsLogo, &resultsHeading, &reportText});
  submitList.first = Chain({&submitBackground, &submitHeading, &nameLabel, &emailLabel,
                            &uploadNoticeText, &privacyText});
  frameList.next = &bottomBarList;
  bottomBarList.next = &mainList;
  mainList.next = &resultsList;
  resultsList.next = nullptr;
  submitList.next = nullptr;
}

// The title band and the rule beneath it.
void SkinContent::BuildFrame() {
  Place(topBand, kSame, kSame, kSame, Fixed(78));
  Box(topBand, skin::kBandBlue, platform::kPenNull);
  Place(titleText, Inset(15), Inset(18), kSame, kSame);
  Text(titleText, fonts, " Quorvel");
  titleText.font = fonts.title.get();
  titleText.shadowColor = skin::kBlack;
  titleText.shadowMode = 2;
  titleText.dtFormat = 0;
  topBand.child = &titleText;
  Place(topRuleLeft, kSame, Fixed(77), Percent(30), Fixed(79));
  Gradient(topRuleLeft, skin::kRuleBlue, skin::kPaleBlue);
  Place(topRuleRight, Percent(30), Fixed(77), kSame, Fixed(79));
  Gradient(topRuleRight, skin::kPaleBlue, skin::kRuleBlue);
}

// The band with the notice and the rule above it.
void SkinContent::BuildBottomBar() {
  Place(bottomBand, kSame, FromOpposite(78), kSame, kSame);
  Box(bottomBand, skin::kBandBlue, platform::kPenSolid, skin::kBlack);
  Place(noticeText, kSame, kSame, kSame, kSame);
  Text(noticeText, fonts, kNoticeText);
  noticeText.font = fonts.small.get();
  noticeText.shadowMode = 0;
  noticeText.dtFormat = kSingleCentred;
  bottomBand.child = &noticeText;
  Place(bottomRuleLeft, kSame, FromOpposite(80), Percent(30), Inset(77));
  Gradient(bottomRuleLeft, skin::kRuleBlue, skin::kOrange);
  Place(bottomRuleRight, Percent(30), FromOpposite(80), kSame, Inset(77));
  Gradient(bottomRuleRight, skin::kOrange, skin::kRuleBlue);
}

// The description, the system-information and result panels, the advice
// panel with its help icon, the site line and the logo; click areas 0 (the
// help icon), 1 (the advice panel) and 2 (the site line).
void SkinContent::BuildMainScreen(LinkRects& links) {
  Place(mainBackground, kSame, Inset(79), kSame, Inset(79));
  Box(mainBackground, skin::kLightBlue, platform::kPenNull);
  Place(descriptionText, Inset(60), Inset(110), Inset(60), Fixed(200));
  Text(descriptionText, fonts,
       "Windows XP includes support for additional special effects which enhance the user "
       "experience.\n\nThis benchmark allows you to determine how well your current graphics "
       "adapter enhances the performance of these new technologies.");
  descriptionText.dtFormat = platform::dt::kWordBreak;

  Place(sysInfoPanel, Inset(100), Inset(205), Inset(60), Fixed(420));
  KeyedPanel(sysInfoPanel);
  Place(sysInfoHeading, kSame, kSame, kSame, kSame);
  Heading(sysInfoHeading, fonts, "System Information");
  sysInfoHeading.dtFormat = platform::dt::kWordBreak;
  Place(adapterLineText, Inset(40), Inset(40), kSame, kSame);
  Text(adapterLineText, fonts, "Graphics card goes here");
  Place(modeLineText, Inset(40), Inset(65), kSame, kSame);
  Text(modeLineText, fonts, "Graphics mode goes here");
  Place(cpuLineText, Inset(40), Inset(90), kSame, kSame);
  Text(cpuLineText, fonts, "CPU speed goes here");
  Place(constantAlphaText, Inset(130), Inset(115), kSame, Fixed(158));
  Text(constantAlphaText, fonts, "CPU speed goes here");
  constantAlphaText.dtFormat = kSingleVCentred;
  Place(constantAlphaIcon, Inset(80), Inset(115), Fixed(125), Fixed(158));
  Image(constantAlphaIcon, kAcceleratedPiece);
  Place(perPixelAlphaText, Inset(130), Inset(163), kSame, Fixed(206));
  Text(perPixelAlphaText, fonts, "CPU speed goes here");
  perPixelAlphaText.dtFormat = kSingleVCentred;
  Place(perPixelAlphaIcon, Inset(80), Inset(163), Fixed(125), Fixed(206));
  Image(perPixelAlphaIcon, kNotAcceleratedPiece);
  sysInfoPanel.child = Chain({&sysInfoHeading, &adapterLineText, &modeLineText, &cpuLineText,
                              &constantAlphaText, &constantAlphaIcon, &perPixelAlphaText,
                              &perPixelAlphaIcon});

  Place(siteLinkText, Inset(140), Inset(410), Inset(60), kSame);
  Text(siteLinkText, fonts, SiteLinkLine());
  siteLinkText.color = skin::kLinkOrange;

  Place(resultPanel, Inset(100), Inset(435), Inset(60), Fixed(520));
  KeyedPanel(resultPanel);
  Place(resultHeading, kSame, kSame, kSame, kSame);
  Heading(resultHeading, fonts, "Benchmark Result");
  Place(scoreText, Inset(40), Inset(45), kSame, kSame);
  Heading(scoreText, fonts, "");
  resultPanel.child = Chain({&resultHeading, &scoreText});

  Place(helpIcon, Inset(305), Inset(210), Fixed(318), Fixed(224));
  Image(helpIcon, kHelpIconPiece);

  Place(advicePanel, Inset(305), Inset(230), Fixed(805), Fixed(380));
  Box(advicePanel, skin::kRuleBlue, platform::kPenSolid, skin::kFrameWhite);
  advicePanel.hidden = 1;
  advicePanel.alpha = 220;
  Place(adviceBodyText, Inset(5), Inset(5), Inset(5), Inset(5));
  Text(adviceBodyText, fonts,
       "how to improve the performance of your machine.  This area would tell you");
  adviceBodyText.shadowColor = skin::kBlack;
  adviceBodyText.dtFormat = platform::dt::kWordBreak;
  advicePanel.child = &adviceBodyText;

  const Rect site = siteLinkText.Place(Rect{});
  links.Append(ClickAreaOf(helpIcon));
  links.Append(ClickAreaOf(advicePanel));
  links.Append(Rect{site.left, site.top, site.left + kSiteLinkClickWidth,
                    site.top + kSiteLinkClickHeight});

  Place(logoImage, FromOpposite(160), FromOpposite(240), Inset(10), Inset(90));
  Image(logoImage, kLogoPiece);
}

void SkinContent::BuildResultsScreen() {
  Place(resultsBackground, kSame, Inset(79), kSame, Inset(79));
  Box(resultsBackground, skin::kLightBlue, platform::kPenNull);
  Place(resultsLogo, FromOpposite(160), FromOpposite(240), Inset(10), Inset(90));
  Image(resultsLogo, kLogoPiece);
  Place(resultsHeading, Inset(60), Inset(110), kSame, kSame);
  Heading(resultsHeading, fonts, "Detailed Test Results");
  Place(reportText, Inset(100), Inset(150), kSame, kSame);
  Text(reportText, fonts, "Press 'Run Test' to run a new test");
}

// The heading, the two labels beside the edits, and the notices;
// `resultsHost` is the host the upload notice names.
void SkinContent::BuildSubmitScreen(const std::string& resultsHost) {
  Place(submitBackground, kSame, Inset(79), kSame, Inset(79));
  Box(submitBackground, skin::kLightBlue, platform::kPenNull);
  Place(submitHeading, Inset(60), Inset(180), kSame, kSame);
  Heading(submitHeading, fonts, "Please enter your details...");
  Place(nameLabel, Inset(100), Inset(220), kSame, kSame);
  Text(nameLabel, fonts, "Your Name :");
  Place(emailLabel, Inset(100), Inset(280), kSame, kSame);
  Text(emailLabel, fonts, "Your e-mail :");
  Place(uploadNoticeText, Inset(60), Inset(110), Inset(60), kSame);
  Text(uploadNoticeText, fonts,
       "Your information will be uploaded to " + resultsHost +
           " where it will be added to the database of results.  From here you can compare "
           "your results with other peoples results to see how your system compares.\n\n");
  Place(privacyText, Inset(60), Inset(440), Inset(60), kSame);
  Text(privacyText, fonts,
       "We respect your privacy and will not send your name or email to third parties, but we "
       "would like to be able to contact you if we have questions.");
}

void SkinContent::ShowSystemFacts(const SystemInfo& info) {
  adapterLineText.text = info.adapterLine;
  modeLineText.text = info.modeLine;
  cpuLineText.text = info.cpuLine;
  constantAlphaText.text = info.constantAlphaSentence;
  perPixelAlphaText.text = info.perPixelAlphaSentence;
  constantAlphaIcon.source =
      info.constantAlphaAccelerated != 0 ? kAcceleratedPiece : kNotAcceleratedPiece;
  perPixelAlphaIcon.source =
      info.perPixelAlphaAccelerated != 0 ? kAcceleratedPiece : kNotAcceleratedPiece;
  adviceBodyText.text = info.adviceText;
}

}  // namespace quorvel
