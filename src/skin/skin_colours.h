// The colours of the skin (GDI colour values).
#pragma once

#include "platform/geometry.h"

namespace quorvel::skin {

constexpr Colour kBandBlue = Rgb(0, 48, 156);     // title and bottom bands
constexpr Colour kRuleBlue = Rgb(0, 51, 153);     // ends of the rules, advice panel
constexpr Colour kShadowBlue = Rgb(0, 51, 156);   // text shadows
constexpr Colour kLightBlue = Rgb(90, 125, 222);  // content background, dialog brush
constexpr Colour kPaleBlue = Rgb(214, 229, 248);  // middle of the upper rule
constexpr Colour kOrange = Rgb(255, 153, 52);     // middle of the lower rule
constexpr Colour kLinkOrange = Rgb(255, 154, 49); // product-site line
constexpr Colour kFrameWhite = Rgb(230, 234, 216);// advice panel border
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);

}  // namespace quorvel::skin
