#include "platform/dialog_template.h"

#include "platform/resource_ids.h"

namespace quorvel::platform {
namespace {

using K = ControlKind;

// The main dialog: every control starts hidden; the program places and
// shows the ones it uses.
const DialogTemplate kMainDialog{
    IDD_MAIN_DIALOG,
    "",
    475,
    222,
    false,
    {
        {IDC_LOGO, K::BitmapStatic, "", IDB_LOGO, {410, 4, 465, 48}, false, false, false},
        {IDC_CLOSE, K::OwnerDrawButton, "Close", 0, {7, 200, 62, 216}, false, false, false},
        {IDC_RUN_TEST, K::OwnerDrawButton, "Run Test", 0, {385, 200, 467, 216}, false, false, false},
        {IDC_VIEW_DETAILS, K::OwnerDrawButton, "View detailed results", 0, {90, 150, 210, 171}, false, false, false},
        {IDC_RUN_TEST_FIRST, K::OwnerDrawButton, "View detailed results", 0, {90, 175, 210, 196}, false, false, false},
        {IDC_SAVE_RESULTS, K::OwnerDrawButton, "Save results", 0, {220, 150, 320, 171}, false, false, false},
        {IDC_RETURN_TO_MAIN, K::OwnerDrawButton, "Return to main screen", 0, {60, 120, 228, 141}, false, false, false},
        {IDC_SUBMIT_AND_COMPARE, K::OwnerDrawButton, "Submit && Compare", 0, {240, 120, 408, 141}, false, false, false},
        {IDC_SEND_RESULTS, K::OwnerDrawButton, "Submit && Compare", 0, {150, 90, 240, 111}, false, false, false},
        {IDC_NAME_EDIT, K::Edit, "", 0, {80, 40, 247, 54}, false, true, false},
        {IDC_EMAIL_EDIT, K::Edit, "", 0, {80, 60, 247, 74}, false, false, false},
        {IDC_RESULTS_EDIT, K::MultiLineEdit, "", 0, {300, 40, 460, 100}, false, false, false},
        {IDC_FAREWELL, K::BitmapStatic, "", IDB_FAREWELL, {195, 80, 279, 142}, false, false, true},
        {IDOK, K::PushButton, "OK", 0, {7, 7, 57, 21}, false, false, false},
        {IDCANCEL, K::PushButton, "Cancel", 0, {7, 24, 57, 38}, false, false, false},
        {IDC_MAKER_HOME, K::PushButton, "Maker", 0, {7, 41, 57, 55}, false, false, false},
        {IDC_UNUSED_BUTTON, K::PushButton, "Button", 0, {7, 58, 57, 72}, false, false, false},
        {IDC_UNUSED_TEXT, K::TextStatic, "", 0, {7, 80, 57, 88}, false, false, false},
        {-1, K::TextStatic, "", 0, {62, 80, 112, 88}, false, false, false},
        {IDC_UNUSED_BITMAP, K::BitmapStatic, "", 0, {7, 90, 27, 110}, false, false, false},
        {IDC_UNUSED_EDIT, K::Edit, "", 0, {7, 115, 57, 129}, false, false, false},
    },
};

// The test window: a small captioned popup with the logo. Its buttons are
// hidden and disabled, so Enter does nothing there.
const DialogTemplate kLayeredTestDialog{
    IDD_LAYERED_TEST,
    "Testing Performance...",
    186,
    95,
    true,
    {
        {IDOK, K::PushButton, "OK", 0, {129, 7, 179, 21}, false, false, false, true},
        {IDCANCEL, K::PushButton, "Cancel", 0, {129, 24, 179, 38}, false, false, false, true},
        {-1, K::BitmapStatic, "", IDB_LOGO, {65, 26, 120, 67}, true, false, false},
    },
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  if (id == kMainDialog.id) return &kMainDialog;
  if (id == kLayeredTestDialog.id) return &kLayeredTestDialog;
  return nullptr;
}

int DialogUnitsToPixelsX(int du) { return du * 6 / 4; }
int DialogUnitsToPixelsY(int du) { return du * 13 / 8; }

}  // namespace quorvel::platform
