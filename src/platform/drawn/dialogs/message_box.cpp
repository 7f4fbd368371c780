#include "platform/drawn/dialogs/message_box.h"

#include <algorithm>
#include <memory>

#include "platform/drawn/controls/pixel_ops.h"
#include "platform/resource_ids.h"
#include "raster/raster_canvas.h"

namespace quorvel::drawn {
namespace {

constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kGap = 12;
constexpr int kMaxTextWidth = 420;
constexpr int kMinWidth = 220;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;

constexpr Colour kBackground = Rgb(240, 240, 240);
constexpr Colour kText = Rgb(0, 0, 0);
constexpr Colour kFace = Rgb(225, 225, 225);
constexpr Colour kEdgeLight = Rgb(255, 255, 255);
constexpr Colour kEdgeDark = Rgb(112, 112, 112);
constexpr unsigned kTextFormat = platform::dt::kWordBreak | platform::dt::kNoPrefix;

}  // namespace

bool MessageBoxHandlers::OnEraseBackground(platform::Canvas& window) {
  auto& canvas = static_cast<raster::RasterCanvas&>(window);
  FillPixels(canvas.surface(), canvas.surface().Bounds(), kBackground);
  DrawIcon(canvas);
  canvas.SelectFont(&font_);
  canvas.SetBkMode(platform::BkMode::Transparent);
  canvas.SetTextColour(kText);
  Rect r = geometry_.text;
  canvas.DrawText(text_, r, kTextFormat);
  return true;
}

bool MessageBoxHandlers::OnDrawItem(const platform::DrawItem& item, platform::Canvas& target) {
  auto& canvas = static_cast<raster::RasterCanvas&>(target);
  raster::Surface& s = canvas.surface();
  FillPixels(s, item.rect, kFace);
  FramePixels(s, item.rect, item.selected ? kEdgeDark : kEdgeLight,
              item.selected ? kEdgeLight : kEdgeDark);
  canvas.SelectFont(&font_);
  canvas.SetBkMode(platform::BkMode::Transparent);
  canvas.SetTextColour(kText);
  Rect r = item.rect.Offset(item.selected ? 1 : 0, item.selected ? 1 : 0);
  canvas.DrawText("OK", r,
                  platform::dt::kCenter | platform::dt::kVCenter | platform::dt::kSingleLine);
  return true;
}

void MessageBoxHandlers::OnCommand(int id) {
  if ((id == IDOK || id == IDCANCEL) && host_ != nullptr) host_->EndDialog(IDOK);
}

Colour MessageBoxHandlers::DialogBrushColour() { return kBackground; }

// A round badge: blue with "i" for information, amber with "!" otherwise.
void MessageBoxHandlers::DrawIcon(raster::RasterCanvas& canvas) {
  const bool information = icon_ == platform::MessageIcon::Information;
  const Colour badge = information ? Rgb(30, 100, 200) : Rgb(235, 170, 20);
  platform::Pen pen{platform::kPenSolid, 1, badge};
  platform::Brush brush{badge, platform::kHatchNone};
  const Rect r = geometry_.icon;
  canvas.RoundRect(r, r.Width(), r.Height(), pen, brush);
  canvas.SelectFont(&markFont_);
  canvas.SetBkMode(platform::BkMode::Transparent);
  canvas.SetTextColour(Rgb(255, 255, 255));
  Rect mark = r;
  canvas.DrawText(information ? "i" : "!", mark,
                  platform::dt::kCenter | platform::dt::kVCenter | platform::dt::kSingleLine);
}

MessageBoxGeometry LayOutMessageBox(const std::string& text, const std::string& caption,
                                    const platform::Font& font) {
  Rect measured{0, 0, kMaxTextWidth, 0};
  if (auto canvas = raster::RasterCanvas::CreateMemory(1, 1)) {
    canvas->SelectFont(&font);
    canvas->DrawText(text, measured, kTextFormat | platform::dt::kCalcRect);
  }
  const int textWidth = std::min(std::max(measured.Width(), 1), kMaxTextWidth);
  const int textHeight = std::max(measured.Height(), 1);

  MessageBoxGeometry g;
  const int textLeft = kMargin + kIconSize + kGap;
  const int contentHeight = std::max(textHeight, kIconSize);
  g.icon = Rect{kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
  const int textTop = kMargin + (contentHeight - textHeight) / 2;
  g.text = Rect{textLeft, textTop, textLeft + textWidth + 1, textTop + textHeight};

  DialogLayout& layout = g.layout;
  layout.caption = caption;
  layout.hasCaption = true;
  layout.width = std::max(textLeft + textWidth + kMargin, kMinWidth);
  const int buttonTop = kMargin + contentHeight + kMargin;
  layout.height = buttonTop + kButtonHeight + kMargin / 2 + 4;

  ControlLayout ok;
  ok.id = IDOK;
  ok.kind = platform::ControlKind::OwnerDrawButton;
  ok.caption = "OK";
  const int buttonLeft = (layout.width - kButtonWidth) / 2;
  ok.rect = Rect{buttonLeft, buttonTop, buttonLeft + kButtonWidth, buttonTop + kButtonHeight};
  ok.visible = true;
  layout.controls.push_back(ok);
  return g;
}

void RunMessageBox(ModalLayoutRunner& dialogs, platform::Graphics& graphics,
                   platform::DialogHost* owner, const std::string& text,
                   const std::string& caption, platform::MessageIcon icon) {
  std::unique_ptr<platform::Font> font =
      graphics.CreateFont(platform::FontSpec{"Sans", 15, 400, 4});
  std::unique_ptr<platform::Font> markFont =
      graphics.CreateFont(platform::FontSpec{"Sans", 24, 700, 4});
  if (!font || !markFont) return;
  const MessageBoxGeometry geometry = LayOutMessageBox(text, caption, *font);
  MessageBoxHandlers handlers(geometry, text, *font, *markFont, icon);
  dialogs.RunModalLayout(geometry.layout, handlers, owner);
}

}  // namespace quorvel::drawn
