#include <algorithm>
#include <cstdio>

#include "pages/comparison.h"
#include "pages/html.h"

namespace quorvel::results_site {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 220;
constexpr int kLeft = 40;
constexpr int kRight = 10;
constexpr int kTop = 10;
constexpr int kBottom = 30;

std::string Fixed(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

}  // namespace

std::int64_t HistogramBinWidth(std::int64_t max, std::int64_t targetBins) {
  if (targetBins < 1) targetBins = 1;
  for (std::int64_t power = 1;; power *= 10) {
    for (std::int64_t step : {1, 2, 5}) {
      const std::int64_t width = step * power;
      if (max / width + 1 <= targetBins) return width;
    }
  }
}

std::string HistogramSvg(std::int64_t binWidth, const std::vector<HistogramBin>& bins,
                         std::optional<std::int64_t> highlighted) {
  std::int64_t lastBin = 0;
  std::int64_t highest = 0;
  for (const HistogramBin& b : bins) {
    lastBin = std::max(lastBin, b.index);
    highest = std::max(highest, b.count);
  }
  if (highlighted) lastBin = std::max(lastBin, *highlighted / binWidth);
  const std::int64_t binCount = lastBin + 1;
  const double plotWidth = kWidth - kLeft - kRight;
  const double plotHeight = kHeight - kTop - kBottom;
  const double barWidth = plotWidth / static_cast<double>(binCount);
  const std::int64_t yourBin = highlighted ? *highlighted / binWidth : -1;

  std::string svg = "<svg id=\"histogram\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    std::to_string(kWidth) + "\" height=\"" + std::to_string(kHeight) +
                    "\" viewBox=\"0 0 " + std::to_string(kWidth) + " " +
                    std::to_string(kHeight) +
                    "\" role=\"img\" aria-label=\"How many results reached each overall score\">\n";
  svg += "<line x1=\"" + std::to_string(kLeft) + "\" y1=\"" + std::to_string(kHeight - kBottom) +
         "\" x2=\"" + std::to_string(kWidth - kRight) + "\" y2=\"" +
         std::to_string(kHeight - kBottom) + "\" stroke=\"#123\"/>\n";
  for (const HistogramBin& b : bins) {
    const double h = highest > 0 ? plotHeight * static_cast<double>(b.count) / highest : 0;
    const std::int64_t from = b.index * binWidth;
    const bool yours = b.index == yourBin;
    svg += "<rect class=\"bar" + std::string(yours ? " yours" : "") + "\" data-from=\"" +
           std::to_string(from) + "\" data-count=\"" + std::to_string(b.count) + "\" x=\"" +
           Fixed(kLeft + barWidth * static_cast<double>(b.index)) + "\" y=\"" +
           Fixed(kHeight - kBottom - h) + "\" width=\"" + Fixed(std::max(barWidth - 1, 1.0)) +
           "\" height=\"" + Fixed(h) + "\"><title>" + Thousands(from) + " to " +
           Thousands(from + binWidth - 1) + ": " + Thousands(b.count) +
           (b.count == 1 ? " result" : " results") + "</title></rect>\n";
  }
  if (highlighted) {
    const double x = kLeft + plotWidth * static_cast<double>(*highlighted) /
                                 static_cast<double>(binCount * binWidth);
    svg += "<line id=\"your-score-marker\" data-score=\"" + std::to_string(*highlighted) +
           "\" x1=\"" + Fixed(x) + "\" y1=\"" + std::to_string(kTop) + "\" x2=\"" + Fixed(x) +
           "\" y2=\"" + std::to_string(kHeight - kBottom) + "\"/>\n";
    svg += "<text x=\"" + Fixed(x + 3) + "\" y=\"" + std::to_string(kTop + 12) +
           "\" font-size=\"12\" fill=\"#c00\">your score</text>\n";
  }
  svg += "<text x=\"" + std::to_string(kLeft) + "\" y=\"" + std::to_string(kHeight - 10) +
         "\" font-size=\"12\">0</text>\n";
  svg += "<text x=\"" + std::to_string(kWidth - kRight) + "\" y=\"" +
         std::to_string(kHeight - 10) + "\" font-size=\"12\" text-anchor=\"end\">" +
         Thousands(binCount * binWidth) + "</text>\n";
  svg += "</svg>\n";
  return svg;
}

}  // namespace quorvel::results_site
