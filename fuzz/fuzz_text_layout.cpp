// DrawText on a raster canvas with any text, rectangle and every format the
// skin, the controls and the message box use; and the layout underneath with
// a measure that gives any advances.
#include <fuzzer/FuzzedDataProvider.h>

#include <memory>
#include <string>

#include "fuzz_check.h"
#include "platform/canvas.h"
#include "raster/raster_canvas.h"
#include "raster/raster_font.h"
#include "raster/text_layout.h"

// Fontconfig keeps its start-up allocation for the life of the process
// (tests/sanitizer/lsan.supp); said here too, so that a finding reproduces
// by hand without LSAN_OPTIONS.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

namespace dt = quorvel::platform::dt;

const unsigned kFormats[] = {
    dt::kWordBreak | dt::kExpandTabs,                  // advice and report texts
    dt::kCenter | dt::kVCenter | dt::kSingleLine,      // centred captions
    dt::kVCenter | dt::kSingleLine | dt::kExpandTabs,  // lines with tab stops
    dt::kWordBreak,                                    // descriptions, headings
    dt::kVCenter | dt::kSingleLine,                    // button captions
    dt::kRight | dt::kVCenter | dt::kSingleLine,       // right-aligned captions
    dt::kSingleLine | dt::kNoPrefix | dt::kVCenter,    // the edit control
    dt::kSingleLine | dt::kNoPrefix | dt::kVCenter | dt::kCalcRect,
    dt::kWordBreak | dt::kNoPrefix,                    // the message box
    dt::kWordBreak | dt::kNoPrefix | dt::kCalcRect,
    dt::kBottom | dt::kSingleLine | dt::kNoClip,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static const std::unique_ptr<quorvel::raster::RasterFont> font =
      quorvel::raster::RasterFont::Create(quorvel::platform::FontSpec{"Tahoma", 13, 400, 4});
  static const std::unique_ptr<quorvel::raster::RasterCanvas> canvas =
      quorvel::raster::RasterCanvas::CreateMemory(96, 48);

  FuzzedDataProvider in(data, size);
  const unsigned format = in.PickValueInArray(kFormats);
  quorvel::Rect r;
  r.left = in.ConsumeIntegralInRange(-200, 200);
  r.top = in.ConsumeIntegralInRange(-200, 200);
  r.right = r.left + in.ConsumeIntegralInRange(-50, 400);
  r.bottom = r.top + in.ConsumeIntegralInRange(-50, 400);
  const int width = in.ConsumeIntegralInRange(-10, 1000);
  const int aveWidth = in.ConsumeIntegralInRange(0, 40);
  const bool opaque = in.ConsumeBool();
  const bool systemFont = in.ConsumeBool();
  const std::string text = in.ConsumeRemainingBytesAsString();

  canvas->SelectFont(systemFont ? nullptr : font.get());
  canvas->SetBkMode(opaque ? quorvel::platform::BkMode::Opaque : quorvel::platform::BkMode::Transparent);
  // Like Win32's, the answer is the offset from the rectangle's top to the
  // text's bottom, which centred text above the rectangle makes negative.
  canvas->DrawText(text, r, format);

  std::u32string wide;
  for (unsigned char c : text) wide += static_cast<char32_t>(c);
  quorvel::raster::TextMeasure measure;
  measure.advance = [](char32_t c) { return static_cast<int>(c % 23); };
  measure.aveCharWidth = aveWidth;
  const auto lines = quorvel::raster::LayOutText(wide, format, width, measure);
  if (format & dt::kSingleLine) FUZZ_CHECK(lines.size() <= 1, "a single line is one line");
  for (const auto& line : lines) {
    FUZZ_CHECK(line.width >= 0, "a line is not of negative width");
  }
  return 0;
}
