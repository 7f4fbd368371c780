#include "dialog/dialog.h"

#include "platform/resource_ids.h"

namespace quorvel {

Dialog::Dialog(platform::Platform& platform, int templateId)
    : platform_(platform), templateId_(templateId) {}

int Dialog::DoModal(platform::DialogHost* owner) {
  return platform_.dialogs().RunModal(templateId_, *this, owner);
}

void Dialog::UpdateData(bool saveAndValidate) {
  if (host_ != nullptr) DoDataExchange(saveAndValidate);
}

void Dialog::Attach(platform::DialogHost* host) { host_ = host; }

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

bool Dialog::OnEraseBackground(platform::Canvas&) { return false; }

bool Dialog::OnDrawItem(const platform::DrawItem&, platform::Canvas&) { return false; }

void Dialog::OnCommand(int id) {
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  }
}

void Dialog::OnTimer(int) {}

void Dialog::OnLButtonUp(Point) {}

bool Dialog::OnSystemCommand(unsigned) { return false; }

bool Dialog::OnNonClientActivate() { return false; }

// The classic face colour of dialogs.
Colour Dialog::DialogBrushColour() { return Rgb(212, 208, 200); }

void Dialog::OnDestroy() {}

void Dialog::OnOK() {
  UpdateData(true);
  if (host_ != nullptr) host_->EndDialog(IDOK);
}

void Dialog::OnCancel() {
  if (host_ != nullptr) host_->EndDialog(IDCANCEL);
}

void Dialog::DoDataExchange(bool) {}

}  // namespace quorvel
