#include "skin/owner_buttons.h"

#include <string>

#include "platform/resource_ids.h"
#include "skin/skin_colours.h"

namespace quorvel {
namespace {

struct ButtonLook {
  int id;
  const char* caption;
  Colour background;
  int picture;
  int pressedPicture;
  int pictureSize;
  bool pictureAtRight;  // at (item right - 25, 0), else at (0, 0)
  unsigned format;
};

constexpr unsigned kLeftCentred = platform::dt::kVCenter | platform::dt::kSingleLine;
constexpr unsigned kRightCentred =
    platform::dt::kRight | platform::dt::kVCenter | platform::dt::kSingleLine;

const ButtonLook kButtons[] = {
    {IDC_CLOSE, "Close", skin::kBandBlue, IDB_CLOSE, IDB_CLOSE_PRESSED, 24, false, kLeftCentred},
    {IDC_RUN_TEST, "Run Test", skin::kBandBlue, IDB_RUN_TEST, IDB_RUN_TEST_PRESSED, 24, true,
     kRightCentred},
    {IDC_RUN_TEST_FIRST, "Run Test", skin::kLightBlue, IDB_RUN_TEST, IDB_RUN_TEST_PRESSED, 24,
     true, kRightCentred},
    {IDC_VIEW_DETAILS, "View detailed results", skin::kLightBlue, IDB_VIEW_DETAILS,
     IDB_VIEW_DETAILS_PRESSED, 32, false, kLeftCentred},
    {IDC_SAVE_RESULTS, "Save results", skin::kLightBlue, IDB_SAVE, IDB_SAVE_PRESSED, 32, false,
     kLeftCentred},
    {IDC_RETURN_TO_MAIN, "Return to main screen", skin::kLightBlue, IDB_RETURN,
     IDB_RETURN_PRESSED, 32, false, kLeftCentred},
    {IDC_SUBMIT_AND_COMPARE, "Submit && Compare", skin::kLightBlue, IDB_SUBMIT,
     IDB_SUBMIT_PRESSED, 32, false, kLeftCentred},
    {IDC_SEND_RESULTS, "Send results...", skin::kLightBlue, IDB_SUBMIT, IDB_SUBMIT_PRESSED, 32,
     false, kLeftCentred},
};

const ButtonLook* LookOf(int id) {
  for (const ButtonLook& look : kButtons) {
    if (look.id == id) return &look;
  }
  return nullptr;
}

}  // namespace

platform::Canvas* OwnerButtons::Picture(int id) {
  auto it = pictures_.find(id);
  if (it == pictures_.end()) it = pictures_.emplace(id, graphics_.LoadBitmap(id)).first;
  return it->second.get();
}

bool OwnerButtons::Draw(const platform::DrawItem& item, platform::Canvas& canvas, int testsRun) {
  const ButtonLook* look = LookOf(item.controlId);
  if (look == nullptr) return false;
  if (item.controlId == IDC_VIEW_DETAILS && testsRun == 0) return false;
  const bool backgroundOnly = item.controlId == IDC_SAVE_RESULTS && testsRun == 0;

  const Rect r = item.rect;
  std::unique_ptr<platform::Canvas> memory = canvas.CreateCompatible(r.Width(), r.Height());
  if (!memory) return true;

  memory->Rectangle(Rect{0, 0, r.right + 20, r.bottom + 20},
                    platform::Pen{platform::kPenNull, 0, 0}, platform::Brush{look->background});
  if (!backgroundOnly) {
    platform::Canvas* picture = Picture(item.selected ? look->pressedPicture : look->picture);
    if (picture != nullptr) {
      const int x = look->pictureAtRight ? r.right - 25 : 0;
      memory->BitBlt(x, 0, look->pictureSize, look->pictureSize, *picture, 0, 0,
                     platform::Rop::SrcCopy);
    }
    memory->SelectFont(font_);
    memory->SetTextColour(skin::kWhite);
    memory->SetBkMode(platform::BkMode::Transparent);
    Rect text = look->pictureSize == 24
                    ? (look->pictureAtRight ? Rect{0, r.top, r.right - 36, 24}
                                            : Rect{36, r.top, r.right, 24})
                    : Rect{44, r.top, r.right, 32};
    memory->DrawText(look->caption, text, look->format);
  }
  canvas.BitBlt(0, 0, r.Width(), r.Height(), *memory, 0, 0, platform::Rop::SrcCopy);
  return true;
}

}  // namespace quorvel
