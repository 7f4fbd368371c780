// What the main window shows: the skin's fonts and bitmap, every screen
// element with its values, the lists they form, and the click areas.
#pragma once

#include <memory>
#include <string>

#include "platform/canvas.h"
#include "skin/element_list.h"
#include "skin/box_element.h"
#include "skin/gradient_element.h"
#include "skin/image_element.h"
#include "skin/screen_element.h"
#include "skin/text_element.h"
#include "sysinfo/link_handler.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// Pieces of the skin bitmap.
constexpr Rect kLogoPiece{0, 0, 150, 150};
constexpr Rect kHelpIconPiece{150, 83, 163, 97};
constexpr Rect kAcceleratedPiece{150, 105, 195, 148};
constexpr Rect kNotAcceleratedPiece{188, 105, 233, 148};

struct SkinFonts {
  std::unique_ptr<platform::Font> title;    // "Trebuchet MS" 46, bold
  std::unique_ptr<platform::Font> small;    // "Tahoma" 13
  std::unique_ptr<platform::Font> button;   // "Tahoma" 13, semibold
  std::unique_ptr<platform::Font> body;     // "Verdana" 17, antialiased
  std::unique_ptr<platform::Font> heading;  // "Verdana" 20, bold, antialiased
};

class SkinContent {
 public:
  // The five fonts and the skin bitmap, made once.
  void LoadResources(platform::Graphics& graphics);

  // Fills every element, links the lists and appends click areas 0 to 2.
  // `resultsHost` is the host name shown in the upload notice.
  void Build(LinkRects& links, const std::string& resultsHost);

  // The system-information lines, the acceleration sentences and marks,
  // and the advice paragraph.
  void ShowSystemFacts(const SystemInfo& info);

  SkinFonts fonts;
  std::unique_ptr<platform::Canvas> skinBitmap;  // null when the bitmap is missing
  SkinContext context;                            // the imaging entry points

  // Frame list.
  BoxElement topBand;
  TextElement titleText;
  GradientElement topRuleLeft, topRuleRight;
  // Bottom-bar list.
  BoxElement bottomBand;
  TextElement noticeText;
  GradientElement bottomRuleLeft, bottomRuleRight;
  // Main list.
  BoxElement mainBackground;
  TextElement descriptionText;
  BoxElement sysInfoPanel;
  TextElement sysInfoHeading, adapterLineText, modeLineText, cpuLineText, constantAlphaText;
  ImageElement constantAlphaIcon;
  TextElement perPixelAlphaText;
  ImageElement perPixelAlphaIcon;
  TextElement siteLinkText;
  BoxElement resultPanel;
  TextElement resultHeading, scoreText;
  ImageElement helpIcon;
  BoxElement advicePanel;
  TextElement adviceBodyText;
  ImageElement logoImage;
  // Results list.
  BoxElement resultsBackground;
  ImageElement resultsLogo;
  TextElement resultsHeading, reportText;
  // Submit list.
  BoxElement submitBackground;
  TextElement submitHeading, nameLabel, emailLabel, uploadNoticeText, privacyText;

  // frame -> bottom bar -> main -> results, and the submit list alone.
  ElementList frameList, bottomBarList, mainList, resultsList, submitList;

 private:
  // One screen's elements each, filled by Build.
  void BuildFrame();
  void BuildBottomBar();
  void BuildMainScreen(LinkRects& links);
  void BuildResultsScreen();
  void BuildSubmitScreen(const std::string& resultsHost);
};

// The legal notice in the bottom band and the product-site line.
extern const char kNoticeText[];
std::string SiteLinkLine();

}  // namespace quorvel
