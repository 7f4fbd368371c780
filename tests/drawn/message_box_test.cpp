// The message box without a desktop: its layout for short, long and
// several-line texts, the OK button drawn up and down, the icon's colour,
// and RunMessageBox handing the laid-out dialog to the backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/drawn/dialogs/message_box.h"
#include "platform/resource_ids.h"
#include "raster/raster_canvas.h"
#include "raster/raster_font.h"

namespace quorvel::drawn {
namespace {

std::unique_ptr<platform::Font> Font(int height) {
  return raster::CreateRasterFont(platform::FontSpec{"Sans", height, 400, 4});
}

TEST(MessageBox, TheLayoutFitsTheTextWithTheIconLeftAndOkCentredBelow) {
  const auto font = Font(15);
  const std::string sentence = "The results could not be sent to the comparison site. ";
  const struct {
    const char* name;
    std::string text;
    bool narrowest;  // the smallest window there is
    bool wrapped;    // more than one line
  } cases[] = {
      {"short", "Done.", true, false},
      {"two lines", "First line\nSecond line", true, true},
      {"long", sentence + sentence + sentence + sentence, false, true},
  };
  const MessageBoxGeometry oneLine = LayOutMessageBox("Done.", "Quorvel", *font);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MessageBoxGeometry g = LayOutMessageBox(c.text, "Quorvel", *font);
    const DialogLayout& layout = g.layout;
    EXPECT_EQ(layout.caption, "Quorvel");
    EXPECT_TRUE(layout.hasCaption);
    // Margins of 16, the 32-pixel icon, a gap of 12, text at most 420 wide.
    EXPECT_EQ(g.icon, (Rect{16, 16, 48, 48}));
    EXPECT_EQ(g.text.left, 60);
    EXPECT_LE(g.text.right, layout.width - 16 + 1);
    EXPECT_LE(g.text.Width(), 421);
    if (c.narrowest) {
      EXPECT_EQ(layout.width, 220);
    } else {
      EXPECT_GT(layout.width, 220);
      EXPECT_LE(layout.width, 60 + 420 + 16);
    }
    EXPECT_EQ(g.text.Height() > oneLine.text.Height(), c.wrapped);
    // One line sits beside the icon's middle; more start at its top.
    if (!c.wrapped) {
      EXPECT_NEAR(g.text.top + g.text.bottom, g.icon.top + g.icon.bottom, 1);
    }

    ASSERT_EQ(layout.controls.size(), 1u);
    const ControlLayout& ok = layout.controls[0];
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_EQ(ok.kind, platform::ControlKind::OwnerDrawButton);
    EXPECT_TRUE(ok.visible);
    EXPECT_EQ(ok.rect.Width(), 84);
    EXPECT_EQ(ok.rect.Height(), 26);
    EXPECT_NEAR(ok.rect.left, layout.width - ok.rect.right, 1);
    EXPECT_EQ(ok.rect.top, std::max(g.text.bottom, g.icon.bottom) + 16);
    EXPECT_EQ(layout.height, ok.rect.bottom + 12);
  }
}

TEST(MessageBox, TheOkButtonLooksPressedWhileHeldAndTheIconSaysWhatKind) {
  const auto font = Font(15);
  const auto mark = Font(24);
  const MessageBoxGeometry g = LayOutMessageBox("Saved.", "Quorvel", *font);
  const struct {
    platform::MessageIcon icon;
    Colour badge;
  } icons[] = {{platform::MessageIcon::Information, Rgb(30, 100, 200)},
               {platform::MessageIcon::Exclamation, Rgb(235, 170, 20)}};
  for (const auto& i : icons) {
    MessageBoxHandlers handlers(g, "Saved.", *font, *mark, i.icon);
    auto window = raster::RasterCanvas::CreateMemory(g.layout.width, g.layout.height);
    ASSERT_TRUE(handlers.OnEraseBackground(*window));
    const raster::Surface& s = window->surface();
    EXPECT_EQ(raster::ColourOf(s.Row(2)[2]), handlers.DialogBrushColour());
    // Left of the letter on the badge.
    EXPECT_EQ(raster::ColourOf(s.Row(g.icon.top + 16)[g.icon.left + 6]), i.badge);
  }

  MessageBoxHandlers handlers(g, "Saved.", *font, *mark, platform::MessageIcon::Information);
  auto button = raster::RasterCanvas::CreateMemory(84, 26);
  platform::DrawItem item;
  item.controlId = IDOK;
  item.rect = Rect{0, 0, 84, 26};
  ASSERT_TRUE(handlers.OnDrawItem(item, *button));
  EXPECT_EQ(raster::ColourOf(button->surface().Row(0)[0]), Rgb(255, 255, 255));
  EXPECT_EQ(raster::ColourOf(button->surface().Row(25)[83]), Rgb(112, 112, 112));
  item.selected = true;
  handlers.OnDrawItem(item, *button);
  EXPECT_EQ(raster::ColourOf(button->surface().Row(0)[0]), Rgb(112, 112, 112));
  EXPECT_EQ(raster::ColourOf(button->surface().Row(25)[83]), Rgb(255, 255, 255));
}

class RecordingRunner : public ModalLayoutRunner {
 public:
  int RunModalLayout(const DialogLayout& layout, platform::DialogHandlers& handlers,
                     platform::DialogHost*) override {
    ++runs;
    caption = layout.caption;
    controls = layout.controls.size();
    auto window = raster::RasterCanvas::CreateMemory(layout.width, layout.height);
    drewBackground = handlers.OnEraseBackground(*window);
    return IDOK;
  }
  int runs = 0;
  std::string caption;
  std::size_t controls = 0;
  bool drewBackground = false;
};

class RasterFonts : public platform::Graphics {
 public:
  std::unique_ptr<platform::Font> CreateFont(const platform::FontSpec& spec) override {
    return raster::CreateRasterFont(spec);
  }
  std::unique_ptr<platform::Canvas> LoadBitmap(int) override { return nullptr; }
};

TEST(MessageBox, RunMessageBoxRunsTheLaidOutDialogModally) {
  RecordingRunner runner;
  RasterFonts graphics;
  RunMessageBox(runner, graphics, nullptr, "Could not save the results.", "Quorvel",
                platform::MessageIcon::Exclamation);
  EXPECT_EQ(runner.runs, 1);
  EXPECT_EQ(runner.caption, "Quorvel");
  EXPECT_EQ(runner.controls, 1u);
  EXPECT_TRUE(runner.drewBackground);
}

}  // namespace
}  // namespace quorvel::drawn
