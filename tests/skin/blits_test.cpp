// ColorKeyBlt, BlendBlt and TileBlt on raster canvases: exact pixels, and
// which path ran.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "raster/pixel_helpers.h"
#include "recording_canvas.h"
#include "skin/blits.h"
#include "skin_pixels.h"

namespace quorvel {
namespace {

using platform::ImagingEntries;
using raster::ColourOf;
using raster::PixelOf;
using raster::RasterCanvas;
using raster::testing::At;
using raster::testing::Fill;
using testing::FillRandom;
using testing::FirstDifference;
using testing::RecordingCanvas;
using testing::RecordingSetup;

constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
const ImagingEntries kNoEntries{};

void* FakeEntry(std::uintptr_t v) { return reinterpret_cast<void*>(v); }

// Canvases without the one-pass fast paths, with them, and with them and
// the desktop's TransparentBlt and AlphaBlend.
RecordingSetup MaskOnly() { return RecordingSetup{false, false}; }
RecordingSetup FastPath() { return RecordingSetup{true, false}; }
RecordingSetup Desktop() { return RecordingSetup{true, true}; }

// --- The canvas fast paths against the sequences they stand for -----------

// The block positions where the fast paths must cut exactly as the
// buffered sequences do: edges of both surfaces, odd widths, a clip.
struct Placement {
  const char* what;
  int x, y, w, h, xSrc, ySrc;
  bool clip;
};
const Placement kPlacements[] = {
    {"inside both", 3, 2, 11, 7, 1, 1, false},
    {"one column", 5, 5, 1, 9, 0, 2, false},
    {"odd width across the source", 0, 1, 21, 3, 0, 0, false},
    {"over the destination's left and top edges", -4, -3, 13, 9, 2, 0, false},
    {"over the destination's right and bottom edges", 30, 18, 15, 11, 0, 0, false},
    {"source block over its left and top edges", 4, 4, 10, 8, -3, -2, false},
    {"source block over its right and bottom edges", 4, 4, 17, 9, 15, 12, false},
    {"source block wholly outside the source", 2, 2, 5, 5, 40, 40, false},
    {"destination clipped", 0, 0, 37, 23, 0, 0, true},
    {"block beyond the destination", 40, 30, 5, 5, 0, 0, false},
};

// Runs `blit` on a destination without the fast paths and on one with them,
// from the same random pixels (key pixels included, fourth bytes random or
// zero), and hands both over.
template <typename Blit, typename Check>
void CompareWithAndWithoutFastPaths(Blit blit, Check check) {
  std::mt19937 rng(7);
  for (const Placement& c : kPlacements) {
    SCOPED_TRACE(c.what);
    for (bool fourthBytes : {false, true}) {
      auto src = RasterCanvas::CreateMemory(21, 17);
      FillRandom(src->surface(), rng, 3, fourthBytes);
      RecordingCanvas slow(37, 23, MaskOnly());
      FillRandom(slow.surface(), rng, 5, fourthBytes);
      RecordingCanvas fast(37, 23, FastPath());
      testing::CopyPixels(slow.surface(), fast.surface());
      for (RecordingCanvas* dest : {&slow, &fast}) {
        dest->SetBkColour(kRed);
        dest->SetTextColour(kBlue);
        if (c.clip) {
          const Rect clip{5, 4, 20, 15};
          dest->SetClipRect(&clip);
        }
        dest->ClearLog();
        blit(*dest, c, *src);
      }
      EXPECT_EQ(FirstDifference(fast.surface(), slow.surface()), "");
      check(slow, fast);
    }
  }
}

TEST(FastPaths, KeyedCopyGivesTheMaskSequencesPixels) {
  CompareWithAndWithoutFastPaths(
      [](RecordingCanvas& dest, const Placement& c, platform::Canvas& src) {
        ColorKeyBlt(dest, c.x, c.y, c.w, c.h, src, c.xSrc, c.ySrc, kNoEntries);
      },
      [](const RecordingCanvas& slow, const RecordingCanvas& fast) {
        EXPECT_EQ(fast.Count("CopyWithColourKey"), 1);
        EXPECT_EQ(fast.Count("BitBlt"), 0);
        EXPECT_EQ(slow.Count("BitBlt"), 4);
        for (const RecordingCanvas* dest : {&slow, &fast}) {
          EXPECT_EQ(dest->bkColour(), kWhite);
          EXPECT_EQ(dest->textColour(), kBlack);
        }
      });
}

TEST(FastPaths, KeyedBlendGivesTheBufferedBlendsPixels) {
  for (std::uint8_t alpha : {0, 1, 77, 128, 253}) {
    SCOPED_TRACE(::testing::Message() << "alpha " << int{alpha});
    CompareWithAndWithoutFastPaths(
        [alpha](RecordingCanvas& dest, const Placement& c, platform::Canvas& src) {
          BlendBlt(&dest, c.x, c.y, c.w, c.h, &src, c.xSrc, c.ySrc, c.w, c.h,
                   BlendFunction{0, 0, alpha, 0}, kNoEntries);
        },
        [](const RecordingCanvas& slow, const RecordingCanvas& fast) {
          EXPECT_EQ(fast.Count("BlendWithColourKey"), 1);
          EXPECT_EQ(fast.Count("SetDIBitsToDevice"), 0);
          EXPECT_EQ(slow.Count("SetDIBitsToDevice"), 1);
        });
  }
}

// --- ColorKeyBlt ----------------------------------------------------------

TEST(ColorKeyBlt, KeepsTheDestinationOnlyUnderMagentaOnEveryPath) {
  const std::uint32_t row[] = {PixelOf(kKeyMagenta), PixelOf(Rgb(255, 1, 255)),
                               PixelOf(Rgb(254, 0, 255)), PixelOf(kKeyMagenta) | 0x7F000000u,
                               PixelOf(kRed)};
  const Colour want[] = {kBlue, Rgb(255, 1, 255), Rgb(254, 0, 255), kBlue, kRed};
  struct Path {
    const char* what;
    RecordingSetup setup;
    ImagingEntries entries;
    const char* call;
  };
  const Path paths[] = {
      {"mask sequence", MaskOnly(), {}, "BitBlt"},
      {"fast path", FastPath(), {}, "CopyWithColourKey"},
      {"TransparentBlt", Desktop(), {FakeEntry(0x1234), nullptr}, "TransparentBlt 4660,1,0,5,1,0,0,5,1,16711935"},
      {"entry the canvas cannot call", FastPath(), {FakeEntry(0x1234), nullptr}, "CopyWithColourKey"},
  };
  for (const Path& p : paths) {
    SCOPED_TRACE(p.what);
    auto src = RasterCanvas::CreateMemory(5, 1);
    for (int i = 0; i < 5; ++i) src->surface().Row(0)[i] = row[i];
    RecordingCanvas dest(7, 1, p.setup);
    Fill(dest.surface(), kBlue);
    ColorKeyBlt(dest, 1, 0, 5, 1, *src, 0, 0, p.entries);
    EXPECT_GE(dest.Count(p.call), 1);
    EXPECT_EQ(At(dest.surface(), 0, 0), kBlue);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(At(dest.surface(), i + 1, 0), want[i]) << i;
    EXPECT_EQ(At(dest.surface(), 6, 0), kBlue);
  }
}

// --- BlendBlt -------------------------------------------------------------

TEST(BlendBlt, BlendsEachChannelAndSkipsMagenta) {
  struct Case {
    unsigned alpha;
    Colour s, d, want;
  };
  const Case cases[] = {
      {0, Rgb(255, 0, 100), Rgb(0, 255, 50), Rgb(0, 255, 50)},
      {1, kWhite, kBlack, kBlack},
      {127, Rgb(200, 200, 200), Rgb(100, 100, 100), Rgb(149, 149, 149)},
      {128, kWhite, kBlack, Rgb(127, 127, 127)},
      {128, Rgb(255, 0, 100), Rgb(0, 255, 50), Rgb(127, 127, 75)},
      {128, Rgb(255, 1, 255), kBlack, Rgb(127, 0, 127)},
      {253, kBlack, kWhite, Rgb(2, 2, 2)},
      {254, Rgb(10, 20, 30), kWhite, Rgb(10, 20, 30)},
      {255, Rgb(255, 1, 255), kBlack, Rgb(255, 1, 255)},
  };
  for (const Case& c : cases) {
    for (RecordingSetup setup : {MaskOnly(), FastPath()}) {
      SCOPED_TRACE(::testing::Message() << "alpha " << c.alpha << " source " << c.s
                                        << (setup.fastPaths ? " fast path" : " buffers"));
      auto src = raster::testing::FilledCanvas(3, 2, c.s);
      src->surface().Row(1)[2] = PixelOf(kKeyMagenta);
      RecordingCanvas dest(5, 4, setup);
      Fill(dest.surface(), c.d);
      BlendFunction blend;
      blend.constantAlpha = static_cast<std::uint8_t>(c.alpha);
      EXPECT_TRUE(BlendBlt(&dest, 1, 1, 3, 2, src.get(), 0, 0, 3, 2, blend, kNoEntries));
      for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
          const bool inBlock = x >= 1 && x < 4 && y >= 1 && y < 3;
          const bool underKey = x == 3 && y == 2;
          EXPECT_EQ(At(dest.surface(), x, y), inBlock && !underKey ? c.want : c.d)
              << "(" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST(BlendBlt, OpaqueValuesAreColorKeyBlt) {
  std::mt19937 rng(99);
  for (std::uint8_t alpha : {254, 255}) {
    auto src = RasterCanvas::CreateMemory(13, 9);
    FillRandom(src->surface(), rng, 3, false);
    RecordingCanvas blended(20, 15, FastPath());
    FillRandom(blended.surface(), rng, 0, false);
    auto keyed = RasterCanvas::CreateMemory(20, 15);
    testing::CopyPixels(blended.surface(), keyed->surface());
    EXPECT_TRUE(BlendBlt(&blended, 4, 3, 13, 9, src.get(), 0, 0, 13, 9, BlendFunction{0, 0, alpha, 0},
                         kNoEntries));
    ColorKeyBlt(*keyed, 4, 3, 13, 9, *src, 0, 0, kNoEntries);
    EXPECT_EQ(blended.Count("CopyWithColourKey"), 1);
    EXPECT_EQ(blended.Count("SetDIBitsToDevice"), 0);
    EXPECT_EQ(FirstDifference(blended.surface(), keyed->surface()), "") << int{alpha};
  }
}

TEST(BlendBlt, AllMagentaSourceLeavesTheDestinationAsItWas) {
  std::mt19937 rng(3);
  auto src = raster::testing::FilledCanvas(8, 6, kKeyMagenta);
  auto before = RasterCanvas::CreateMemory(12, 9);
  FillRandom(before->surface(), rng, 0, false);
  for (unsigned alpha : {0u, 1u, 128u, 253u, 254u, 255u}) {
    auto dest = RasterCanvas::CreateMemory(12, 9);
    testing::CopyPixels(before->surface(), dest->surface());
    EXPECT_TRUE(BlendBlt(dest.get(), 2, 2, 8, 6, src.get(), 0, 0, 8, 6,
                         BlendFunction{0, 0, static_cast<std::uint8_t>(alpha), 0}, kNoEntries));
    EXPECT_EQ(FirstDifference(dest->surface(), before->surface()), "") << "alpha " << alpha;
  }
  for (RecordingSetup setup : {MaskOnly(), FastPath()}) {
    RecordingCanvas dest(12, 9, setup);
    testing::CopyPixels(before->surface(), dest.surface());
    ColorKeyBlt(dest, 2, 2, 8, 6, *src, 0, 0, kNoEntries);
    EXPECT_EQ(FirstDifference(dest.surface(), before->surface()), "");
  }
}

TEST(BlendBlt, NothingToDrawReturnsFalse) {
  auto src = raster::testing::FilledCanvas(4, 4, kRed);
  struct Case {
    const char* what;
    bool nullDest, nullSrc;
    int wSrc, hSrc;
    std::uint8_t alpha;
  };
  const Case cases[] = {
      {"null destination", true, false, 4, 4, 128},
      {"null source", false, true, 4, 4, 128},
      {"null destination, opaque", true, false, 4, 4, 255},
      {"zero source width", false, false, 0, 4, 128},
      {"zero source height", false, false, 4, 0, 128},
      {"negative source width", false, false, -4, 4, 128},
  };
  for (const Case& c : cases) {
    RecordingCanvas dest(6, 6);
    Fill(dest.surface(), kBlue);
    EXPECT_FALSE(BlendBlt(c.nullDest ? nullptr : &dest, 1, 1, 4, 4, c.nullSrc ? nullptr : src.get(),
                          0, 0, c.wSrc, c.hSrc, BlendFunction{0, 0, c.alpha, 0}, kNoEntries))
        << c.what;
    EXPECT_EQ(dest.Count("SetDIBitsToDevice"), 0) << c.what;
    EXPECT_EQ(dest.Count("BlendWithColourKey"), 0) << c.what;
    EXPECT_EQ(At(dest.surface(), 2, 2), kBlue) << c.what;
  }
}

TEST(BlendBlt, BlocksOverTheEdgeOrOfUnequalSizesBlendOnlyTheirCommonPart) {
  auto src = raster::testing::FilledCanvas(6, 4, kWhite);
  struct Case {
    const char* what;
    int xDest, yDest, wDest, hDest;
    Rect blended;  // in the destination
  };
  const Case cases[] = {
      {"over the right and bottom edges", 7, 4, 6, 4, Rect{7, 4, 10, 6}},
      {"over the left and top edges", -2, -1, 6, 4, Rect{0, 0, 4, 3}},
      {"smaller destination block", 2, 1, 3, 2, Rect{2, 1, 5, 3}},
      {"larger destination block", 2, 1, 8, 5, Rect{2, 1, 8, 5}},
  };
  for (const Case& c : cases) {
    for (RecordingSetup setup : {MaskOnly(), FastPath()}) {
      RecordingCanvas dest(10, 6, setup);
      Fill(dest.surface(), kBlack);
      EXPECT_TRUE(BlendBlt(&dest, c.xDest, c.yDest, c.wDest, c.hDest, src.get(), 0, 0, 6, 4,
                           BlendFunction{0, 0, 128, 0}, kNoEntries))
          << c.what;
      for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x) {
          const Colour want = c.blended.Contains(Point{x, y}) ? Rgb(127, 127, 127) : kBlack;
          ASSERT_EQ(At(dest.surface(), x, y), want)
              << c.what << ", fast path " << setup.fastPaths << " (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST(BlendBlt, BothEntryPointsComposeThroughTheDesktop) {
  auto src = raster::testing::FilledCanvas(6, 4, kWhite);
  src->surface().Row(0)[0] = PixelOf(kKeyMagenta);
  const ImagingEntries both{FakeEntry(11), FakeEntry(22)};

  RecordingCanvas dest(10, 8, Desktop());
  Fill(dest.surface(), kBlack);
  EXPECT_TRUE(BlendBlt(&dest, 3, 2, 6, 4, src.get(), 0, 0, 6, 4, BlendFunction{0, 0, 128, 0}, both));
  const testing::CallLog want = {
      "CreateCompatible 6,4",
      "BitBlt 0,0,6,4,3,2,0",
      "TransparentBlt 11,0,0,6,4,0,0,6,4,16711935",
      "AlphaBlend 22,3,2,6,4,0,0,6,4,128",
  };
  EXPECT_EQ(dest.log(), want);
  // The stand-in AlphaBlend rounds: 255 * 128 / 255 = 128. Under the key
  // the copy of the destination went back: black.
  EXPECT_EQ(At(dest.surface(), 4, 3), Rgb(128, 128, 128));
  EXPECT_EQ(At(dest.surface(), 3, 2), kBlack);

  // One entry point alone, or a canvas that cannot call them: the software
  // blend.
  struct Other {
    const char* what;
    RecordingSetup setup;
    ImagingEntries entries;
  };
  const Other others[] = {
      {"TransparentBlt only", Desktop(), {FakeEntry(11), nullptr}},
      {"AlphaBlend only", Desktop(), {nullptr, FakeEntry(22)}},
      {"canvas without the desktop's blits", FastPath(), both},
  };
  for (const Other& o : others) {
    RecordingCanvas other(10, 8, o.setup);
    Fill(other.surface(), kBlack);
    EXPECT_TRUE(BlendBlt(&other, 3, 2, 6, 4, src.get(), 0, 0, 6, 4, BlendFunction{0, 0, 128, 0},
                         o.entries))
        << o.what;
    EXPECT_EQ(other.Count("AlphaBlend"), 0) << o.what;
    EXPECT_EQ(other.Count("BlendWithColourKey 3,2,6,4,0,0,128"), 1) << o.what;
    EXPECT_EQ(At(other.surface(), 4, 3), Rgb(127, 127, 127)) << o.what;
    EXPECT_EQ(At(other.surface(), 3, 2), kBlack) << o.what;
  }
}

// --- TileBlt --------------------------------------------------------------

TEST(TileBlt, TileCountAndDirection) {
  struct Case {
    const char* what;
    int w, h, tileW, tileH;
    std::vector<Point> tiles;  // top-left corners, in order
  };
  const Case cases[] = {
      {"three tiles wide: five across", 30, 10, 10, 7,
       {{2, 3}, {12, 3}, {22, 3}, {32, 3}, {42, 3}}},
      {"a part tile wide: q + 2 across", 25, 10, 10, 7, {{2, 3}, {12, 3}, {22, 3}, {32, 3}}},
      {"one tile wide: h / tileH + 2 down", 10, 35, 10, 10, {{2, 3}, {2, 13}, {2, 23}, {2, 33}, {2, 43}}},
      {"one tile wide, zero high: two down", 10, 0, 10, 10, {{2, 3}, {2, 13}}},
      {"quotient -1: one tile", -10, 5, 10, 10, {{2, 3}}},
      {"quotient -2: nothing", -20, 5, 10, 10, {}},
      {"one tile wide, quotient -2 down: nothing", 10, -25, 10, 10, {}},
      {"zero tile width: nothing", 30, 10, 0, 10, {}},
      {"zero tile height: nothing", 30, 10, 10, 0, {}},
      {"negative tile width: nothing", 30, 10, -10, 10, {}},
  };
  auto src = raster::testing::FilledCanvas(10, 10, kRed);
  for (const Case& c : cases) {
    RecordingCanvas dest(60, 60);
    TileBlt(dest, 2, 3, c.w, c.h, *src, 1, 2, c.tileW, c.tileH);
    testing::CallLog want;
    for (const Point& p : c.tiles) {
      want.push_back("BitBlt " + std::to_string(p.x) + "," + std::to_string(p.y) + "," +
                     std::to_string(c.tileW) + "," + std::to_string(c.tileH) + ",1,2,0");
    }
    EXPECT_EQ(dest.log(), want) << c.what;
  }
}

}  // namespace
}  // namespace quorvel
