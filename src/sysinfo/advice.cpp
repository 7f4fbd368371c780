#include "sysinfo/advice.h"

namespace quorvel {

std::string ConstantAlphaSentence(int constantAlphaAccelerated) {
  return constantAlphaAccelerated ? "Constant Alpha Blending is accelerated by these drivers."
                                  : "Constant Alpha Blending is not accelerated by these drivers.";
}

std::string PerPixelAlphaSentence(int constantAlphaAccelerated, int perPixelAlphaAccelerated) {
  if (constantAlphaAccelerated) {
    return perPixelAlphaAccelerated
               ? "Per Pixel Alpha Blending is also accelerated by these drivers."
               : "Per Pixel Alpha Blending is not accelerated by these drivers.";
  }
  return perPixelAlphaAccelerated
             ? "Per Pixel Alpha Blending is accelerated by the drivers though."
             : "Per Pixel Alpha Blending is not accelerated by these drivers either.";
}

std::string AdviceText(int colourBits) {
  std::string text;
  switch (colourBits) {
    case 24:
      text = "You are using 24 bit colour which may be much slower than 16 or 32 bit colour.  "
             "You might want to consider changing your colour depth.\n\n";
      break;
    case 32:
      text = "You are using 32 bit colour which can be about half the speed of 16 bit colour "
             "when doing alpha blending\n\n";
      break;
    case 8:
      text = "You are using 8 bit colour which does not support alpha blended windows.\n\n";
      break;
    default:
      break;
  }
  text += "To improve the performance of your graphics card, you may want to download the "
          "latest drivers for your card.\n\nClick here to visit a download site for your "
          "drivers...";
  return text;
}

void ApplyAdvice(SystemInfo& info) {
  info.constantAlphaSentence = ConstantAlphaSentence(info.constantAlphaAccelerated);
  info.perPixelAlphaSentence =
      PerPixelAlphaSentence(info.constantAlphaAccelerated, info.perPixelAlphaAccelerated);
  info.adviceText = AdviceText(info.colourBits);
}

}  // namespace quorvel
