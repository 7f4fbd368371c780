// A dialog for the self-drawn controls without any desktop: surfaces that
// keep their pixels and count what was shown, handlers that record
// commands and owner-draw requests, fonts and bitmaps from the raster.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/dialog.h"
#include "platform/drawn/controls/control.h"
#include "platform/drawn/controls/dialog_controls.h"
#include "raster/raster_canvas.h"
#include "raster/raster_font.h"

namespace quorvel::drawn::testing {

class FakeSurface : public ControlSurface {
 public:
  FakeSurface(const Rect& rect, bool visible, PointerInput pointer)
      : place(rect), visible(visible), pointer(pointer) {}

  raster::Surface* Prepare(int width, int height) override {
    if (pixels_.width() != width || pixels_.height() != height) {
      pixels_ = raster::Surface(width, height);
    }
    ++prepared;
    return &pixels_;
  }
  const raster::Surface& pixels() const override { return pixels_; }
  void Present() override { ++presented; }
  void Place(const Rect& rect) override { place = rect; }
  void SetVisible(bool show) override { visible = show; }

  Rect place;
  bool visible;
  PointerInput pointer;
  int prepared = 0;
  int presented = 0;

 private:
  raster::Surface pixels_;
};

class RecordingHandlers : public platform::DialogHandlers {
 public:
  void Attach(platform::DialogHost*) override {}
  bool OnInitDialog() override { return true; }
  bool OnEraseBackground(platform::Canvas&) override { return false; }
  bool OnDrawItem(const platform::DrawItem& item, platform::Canvas&) override {
    drawnSelected.push_back(item.selected);
    return true;
  }
  void OnCommand(int id) override { commands.push_back(id); }
  void OnTimer(int) override {}
  void OnLButtonUp(Point) override {}
  bool OnSystemCommand(unsigned) override { return false; }
  bool OnNonClientActivate() override { return false; }
  Colour DialogBrushColour() override { return brush; }
  void OnDestroy() override {}

  std::vector<int> commands;
  std::vector<bool> drawnSelected;  // one per owner-draw request
  Colour brush = Rgb(10, 20, 30);
};

class RasterGraphics : public platform::Graphics {
 public:
  std::unique_ptr<platform::Font> CreateFont(const platform::FontSpec& spec) override {
    return raster::CreateRasterFont(spec);
  }
  // A copy of the bitmap given for `id`.
  std::unique_ptr<platform::Canvas> LoadBitmap(int id) override {
    auto found = bitmaps.find(id);
    if (found == bitmaps.end()) return nullptr;
    const raster::Surface& source = found->second;
    auto canvas = raster::RasterCanvas::CreateMemory(source.width(), source.height());
    for (int y = 0; y < source.height(); ++y) {
      for (int x = 0; x < source.width(); ++x) canvas->surface().Row(y)[x] = source.Row(y)[x];
    }
    return canvas;
  }
  std::map<int, raster::Surface> bitmaps;
};

// The dialog: Make makes its controls; focus changes go through Focus, as
// the backends' do.
class FakeDialog : public ControlContext {
 public:
  FakeDialog() : font_(raster::CreateRasterFont(platform::FontSpec{"Sans", 13, 400, 4})) {}

  DialogControls& Make(const std::vector<ControlLayout>& layouts) {
    controls_.Create(layouts);
    return controls_;
  }
  DialogControls& controls() { return controls_; }
  FakeSurface& SurfaceOf(int id) {
    return *static_cast<FakeSurface*>(controls_.Find(id)->surface());
  }

  platform::DialogHandlers& handlers() override { return handlers_; }
  platform::Graphics& graphics() override { return graphics_; }
  const raster::Surface* dialogPicture() override { return picture; }
  const platform::Font& defaultFont() override { return *font_; }
  bool acceptsInput() override { return accepts; }
  bool IsFocused(const Control& control) override { return controls_.focused() == &control; }
  void Focus(Control& control) override { controls_.SetFocused(&control); }
  void RequestPaste(Control& control) override { pasteRequests.push_back(control.id()); }
  void ControlPainted(Control&) override { ++paintedControls; }
  std::unique_ptr<ControlSurface> CreateSurface(const Rect& rect, bool visible,
                                                PointerInput pointer) override {
    return std::make_unique<FakeSurface>(rect, visible, pointer);
  }

  RecordingHandlers handlers_;
  RasterGraphics graphics_;
  const raster::Surface* picture = nullptr;
  bool accepts = true;
  std::vector<int> pasteRequests;
  int paintedControls = 0;

 private:
  std::unique_ptr<platform::Font> font_;
  DialogControls controls_{*this};
};

inline ControlLayout LayoutOf(int id, platform::ControlKind kind, const Rect& rect,
                              bool visible = true) {
  ControlLayout layout;
  layout.id = id;
  layout.kind = kind;
  layout.rect = rect;
  layout.visible = visible;
  return layout;
}

}  // namespace quorvel::drawn::testing
