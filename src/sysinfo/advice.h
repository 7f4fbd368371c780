// The texts made from the blend capabilities and the colour depth: two
// sentences about alpha blending and the advice paragraph.
#pragma once

#include <string>

#include "sysinfo/system_info.h"

namespace quorvel {

std::string ConstantAlphaSentence(int constantAlphaAccelerated);
// The per-pixel sentence reads on from the constant-alpha one, so it
// depends on both flags.
std::string PerPixelAlphaSentence(int constantAlphaAccelerated, int perPixelAlphaAccelerated);
// A warning for 8, 24 and 32 bit colour (nothing for other depths), then
// the driver download paragraph.
std::string AdviceText(int colourBits);

// Sets constantAlphaSentence, perPixelAlphaSentence and adviceText from
// the capability flags and colourBits already in the record.
void ApplyAdvice(SystemInfo& info);

}  // namespace quorvel
