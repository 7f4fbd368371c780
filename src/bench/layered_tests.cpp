#include "bench/layered_tests.h"

#include "platform/dialog.h"

namespace quorvel {

LayeredTest LayeredTestFor(int layeredTestIndex) {
  using platform::kLwaAlpha;
  using platform::kLwaColourKey;
  switch (layeredTestIndex) {
    case 0:
      return {true, 0, 128, kLwaAlpha, "\r\n  50% visibility : "};
    case 1:
      return {true, 0, 255, kLwaAlpha, "\r\n  100% visibility : "};
    case 2:
      return {true, 0, 120, kLwaAlpha, "\r\n  47% visibility : "};
    case 3:
      return {true, Rgb(0, 0, 0), 0, kLwaColourKey, "\r\n  Black as transparent : "};
    default:
      return {false, 0, 0, 0, ""};
  }
}

std::string ReportLabelName(const std::string& label) {
  const std::size_t first = label.find_first_not_of("\r\n ");
  if (first == std::string::npos) return "";
  std::size_t end = label.size();
  while (end > first && (label[end - 1] == ' ' || label[end - 1] == ':')) --end;
  return label.substr(first, end - first);
}

TestStep LayeredTestStep(int step) {
  const int pass = step / kStepsPerPass;
  const int i = step % kStepsPerPass;
  switch (pass) {
    case 0:
      return {i, 0, 200, 500};
    case 1:
      return {0, i, 500, 200};
    default:
      return {i, i, 300, 300};
  }
}

}  // namespace quorvel
