#include "app/control_layout.h"

#include "platform/resource_ids.h"

namespace quorvel {
namespace {

void Place(platform::DialogHost& host, int id, int x, int y, int w, int h, bool skinned) {
  host.MoveControl(id, x, y, w, h, true);
  if (skinned) host.SuppressControlErase(id);
}

}  // namespace

void PlaceMainControls(platform::DialogHost& host, const Rect& r, int screenHeight) {
  // The results buttons move down from 700 pixels on; the return and submit
  // buttons only above 700.
  const bool tall = screenHeight >= kTallScreenHeight;
  const bool taller = screenHeight > kTallScreenHeight;

  Place(host, IDC_LOGO, r.right - 100, 6, 82, 66, true);
  Place(host, IDC_CLOSE, 30, r.bottom - 53, 82, 24, true);
  Place(host, IDC_RUN_TEST, r.right - 152, r.bottom - 53, 122, 24, true);

  if (tall) {
    Place(host, IDC_VIEW_DETAILS, r.left + 140, r.top + 528, 182, 32, true);
    Place(host, IDC_RUN_TEST_FIRST, r.left + 120, r.top + 488, 100, 32, true);
    Place(host, IDC_SAVE_RESULTS, r.left + 350, r.top + 528, 152, 32, true);
  } else {
    Place(host, IDC_VIEW_DETAILS, r.left + 140, r.top + 488, 182, 32, true);
    Place(host, IDC_RUN_TEST_FIRST, r.left + 140, r.top + 488, 182, 32, true);
    Place(host, IDC_SAVE_RESULTS, r.left + 350, r.top + 488, 152, 32, true);
  }

  const int rowY = taller ? r.bottom - 130 : r.bottom - 118;
  Place(host, IDC_RETURN_TO_MAIN, r.left + 100, rowY, 252, 32, false);
  Place(host, IDC_SUBMIT_AND_COMPARE, r.left + 380, rowY, 252, 32, true);
}

}  // namespace quorvel
