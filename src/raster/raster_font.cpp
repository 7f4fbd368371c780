#include "raster/raster_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <mutex>
#include <unordered_map>

#include "raster/font_file_cache.h"
#include "raster/font_match.h"

namespace quorvel::raster {
namespace {

constexpr int kDefaultHeight = 16;

struct LibraryDeleter {
  void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

struct RasterFont::Impl {
  // The face is declared after the library so that it is destroyed first.
  LibraryPtr library;
  FontBytes bytes;
  FacePtr face;
  bool embolden = false;
  std::string path;
  FontMetrics metrics;

  mutable std::mutex lock;  // guards face and glyphs
  mutable std::unordered_map<char32_t, Glyph> glyphs;

  bool Open(const FaceChoice& choice);
  void Size(int requestedHeight);
  Glyph Render(char32_t code) const;
};

bool RasterFont::Impl::Open(const FaceChoice& choice) {
  if (choice.path.empty()) return false;
  FontBytes file = LoadFontFile(choice.path);
  if (!file) return false;
  FT_Face raw = nullptr;
  if (FT_New_Memory_Face(library.get(), file->data(), static_cast<FT_Long>(file->size()),
                         choice.index, &raw) != 0) {
    return false;
  }
  FacePtr opened(raw);
  if (!FT_IS_SCALABLE(opened.get()) || opened->units_per_EM == 0) return false;
  bytes = std::move(file);
  face = std::move(opened);
  embolden = choice.embolden;
  path = choice.path;
  return true;
}

// Sets the pixel size so that the cell (the Windows ascent plus descent of
// the face) is the requested height, and works out the metrics.
void RasterFont::Impl::Size(int requestedHeight) {
  FontMetrics& m = metrics;
  if (!face) {
    const int height = requestedHeight > 0 ? requestedHeight
                       : requestedHeight < 0 ? -requestedHeight
                                             : kDefaultHeight;
    m.height = height;
    m.ascent = height - height / 5;
    m.descent = height - m.ascent;
    m.aveCharWidth = std::max(1, height / 2);
    return;
  }
  const double units = face->units_per_EM;
  double ascentUnits = face->ascender;
  double descentUnits = -face->descender;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascentUnits = os2->usWinAscent;
    descentUnits = os2->usWinDescent;
  }
  const double cellUnits = std::max(1.0, ascentUnits + descentUnits);
  double em = 0;
  int height = 0;
  if (requestedHeight < 0) {
    em = -requestedHeight;
    height = std::max(1, RoundToInt(em * cellUnits / units));
  } else {
    height = requestedHeight > 0 ? requestedHeight : kDefaultHeight;
    em = height * units / cellUnits;
  }
  FT_Set_Char_Size(face.get(), 0, std::max<FT_F26Dot6>(1, std::lround(em * 64.0)), 72, 72);

  const double scale = em / units;
  m.height = height;
  m.ascent = std::min(height, RoundToInt(ascentUnits * height / cellUnits));
  m.descent = height - m.ascent;
  m.aveCharWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                       ? RoundToInt(os2->xAvgCharWidth * scale)
                       : 0;
  m.underlineThickness = std::max(1, RoundToInt(face->underline_thickness * scale));
  m.underlineOffset = std::max(1, RoundToInt(-face->underline_position * scale));
  if (m.aveCharWidth <= 0) m.aveCharWidth = Render('x').advance;
  m.aveCharWidth = std::max(1, m.aveCharWidth);
}

Glyph RasterFont::Impl::Render(char32_t code) const {
  Glyph g;
  if (IsControl(code)) return g;
  if (!face) {
    g.advance = std::max(1, metrics.height / 2);
    return g;
  }
  if (FT_Load_Char(face.get(), code, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) return g;
  FT_GlyphSlot slot = face->glyph;
  if (embolden) FT_GlyphSlot_Embolden(slot);
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256) return g;
  g.width = static_cast<int>(bitmap.width);
  g.rows = static_cast<int>(bitmap.rows);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.coverage.resize(static_cast<std::size_t>(g.width) * g.rows);
  for (int y = 0; y < g.rows; ++y) {
    const unsigned char* row = bitmap.pitch >= 0
                                   ? bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.pitch) * y
                                   : bitmap.buffer - static_cast<std::ptrdiff_t>(bitmap.pitch) * (g.rows - 1 - y);
    std::copy(row, row + g.width, g.coverage.begin() + static_cast<std::ptrdiff_t>(y) * g.width);
  }
  return g;
}

RasterFont::RasterFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RasterFont::~RasterFont() = default;

std::unique_ptr<RasterFont> RasterFont::Create(const platform::FontSpec& spec) {
  auto impl = std::make_unique<Impl>();
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) == 0) impl->library.reset(lib);
  if (impl->library) {
    if (!impl->Open(MatchFace(spec.face, spec.weight))) {
      if (!impl->Open(MatchSansFace(spec.weight))) {
        impl->Open(FaceChoice{"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0,
                              spec.weight >= 600});
      }
    }
  }
  impl->Size(spec.height);
  return std::unique_ptr<RasterFont>(new RasterFont(std::move(impl)));
}

const FontMetrics& RasterFont::metrics() const { return impl_->metrics; }
const std::string& RasterFont::facePath() const { return impl_->path; }

const Glyph& RasterFont::GlyphFor(char32_t code) const {
  std::lock_guard<std::mutex> hold(impl_->lock);
  auto it = impl_->glyphs.find(code);
  if (it == impl_->glyphs.end()) it = impl_->glyphs.emplace(code, impl_->Render(code)).first;
  return it->second;  // nodes of an unordered_map never move
}

std::unique_ptr<platform::Font> CreateRasterFont(const platform::FontSpec& spec) {
  return RasterFont::Create(spec);
}

const RasterFont& SystemFont() {
  static const std::unique_ptr<RasterFont> font =
      RasterFont::Create(platform::FontSpec{"sans-serif", kDefaultHeight, 700, 4});
  return *font;
}

}  // namespace quorvel::raster
