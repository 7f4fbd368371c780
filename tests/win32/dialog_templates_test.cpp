// The dialog templates have two sources: the resource script, which the
// Win32 build compiles, and the data the other backends build their windows
// from. This reads every control of templates 102 and 129 out of the
// program's own resources and compares it, field by field, with the data.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/resource_ids.h"
#include "text/windows1252.h"

namespace quorvel::win32 {
namespace {

using platform::ControlKind;

// A dialog template as the resource compiler wrote it (DLGTEMPLATEEX).
struct ReadControl {
  DWORD exStyle = 0, style = 0;
  Rect dialogUnits;
  int id = 0;
  int classOrdinal = 0;  // 0x80 Button, 0x81 Edit, 0x82 Static
  std::string caption;
  int captionOrdinal = 0;  // a bitmap resource's id
};
struct ReadDialog {
  DWORD style = 0;
  int width = 0, height = 0;
  std::string caption;
  std::vector<ReadControl> controls;
};

class Reader {
 public:
  explicit Reader(const unsigned char* at) : at_(at), start_(at) {}
  template <typename T>
  T Take() {
    T value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  // A string or an ordinal (0xFFFF then the number).
  void StringOrOrdinal(std::string& text, int& ordinal) {
    const auto first = Take<std::uint16_t>();
    if (first == 0xFFFF) {
      ordinal = Take<std::uint16_t>();
      return;
    }
    std::u16string wide;
    for (std::uint16_t c = first; c != 0; c = Take<std::uint16_t>()) wide += char16_t(c);
    std::string utf8;
    for (char16_t c : wide) {
      // The captions are Windows-1252 text in the script.
      utf8 += static_cast<char>(text::Windows1252FromCodePoint(c));
    }
    text = utf8;
  }
  void AlignToDword() {
    while ((at_ - start_) % 4 != 0) ++at_;
  }

 private:
  const unsigned char* at_;
  const unsigned char* start_;
};

ReadDialog ReadTemplate(int id) {
  ReadDialog dialog;
  HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (found == nullptr) return dialog;
  const auto* bytes = static_cast<const unsigned char*>(::LockResource(::LoadResource(nullptr, found)));
  Reader r(bytes);
  r.Take<std::uint16_t>();  // version
  EXPECT_EQ(r.Take<std::uint16_t>(), 0xFFFF) << "not an extended template";
  r.Take<DWORD>();  // help id
  r.Take<DWORD>();  // extended style
  dialog.style = r.Take<DWORD>();
  const int count = r.Take<std::uint16_t>();
  r.Take<std::int16_t>();
  r.Take<std::int16_t>();
  dialog.width = r.Take<std::int16_t>();
  dialog.height = r.Take<std::int16_t>();
  std::string ignored;
  int ordinal = 0;
  r.StringOrOrdinal(ignored, ordinal);  // menu
  r.StringOrOrdinal(ignored, ordinal);  // class
  r.StringOrOrdinal(dialog.caption, ordinal);
  if (dialog.style & DS_SETFONT) {
    r.Take<std::uint16_t>();  // point size
    r.Take<std::uint16_t>();  // weight
    r.Take<std::uint8_t>();   // italic
    r.Take<std::uint8_t>();   // charset
    r.StringOrOrdinal(ignored, ordinal);  // face
  }
  for (int i = 0; i < count; ++i) {
    r.AlignToDword();
    ReadControl c;
    r.Take<DWORD>();  // help id
    c.exStyle = r.Take<DWORD>();
    c.style = r.Take<DWORD>();
    const int x = r.Take<std::int16_t>(), y = r.Take<std::int16_t>();
    const int w = r.Take<std::int16_t>(), h = r.Take<std::int16_t>();
    c.dialogUnits = Rect{x, y, x + w, y + h};
    c.id = static_cast<int>(static_cast<std::int32_t>(r.Take<DWORD>()));
    // The class as an ordinal, or by name as the resource compiler may keep it.
    std::string className;
    r.StringOrOrdinal(className, c.classOrdinal);
    for (const auto& [name, ordinal] : {std::pair<const char*, int>{"button", 0x80},
                                        {"edit", 0x81}, {"static", 0x82}}) {
      if (::lstrcmpiA(className.c_str(), name) == 0) c.classOrdinal = ordinal;
    }
    r.StringOrOrdinal(c.caption, c.captionOrdinal);
    const int extra = r.Take<std::uint16_t>();
    for (int k = 0; k < extra; ++k) r.Take<std::uint8_t>();
    dialog.controls.push_back(c);
  }
  return dialog;
}

ControlKind KindOf(const ReadControl& c) {
  switch (c.classOrdinal) {
    case 0x80:
      return (c.style & 0xF) == BS_OWNERDRAW ? ControlKind::OwnerDrawButton : ControlKind::PushButton;
    case 0x81:
      return (c.style & ES_MULTILINE) != 0 ? ControlKind::MultiLineEdit : ControlKind::Edit;
    default:
      return (c.style & SS_TYPEMASK) == SS_BITMAP ? ControlKind::BitmapStatic
                                                  : ControlKind::TextStatic;
  }
}

TEST(DialogTemplates, EveryControlOfTheScriptIsInTheDataAsItIsThere) {
  for (int id : {IDD_MAIN_DIALOG, IDD_LAYERED_TEST}) {
    SCOPED_TRACE("template " + std::to_string(id));
    const platform::DialogTemplate* data = platform::FindDialogTemplate(id);
    ASSERT_NE(data, nullptr);
    const ReadDialog script = ReadTemplate(id);
    EXPECT_EQ(script.caption, data->caption);
    EXPECT_EQ(script.width, data->widthDu);
    EXPECT_EQ(script.height, data->heightDu);
    EXPECT_EQ((script.style & WS_CAPTION) == WS_CAPTION, data->hasCaption);
    ASSERT_EQ(script.controls.size(), data->controls.size());
    for (std::size_t i = 0; i < script.controls.size(); ++i) {
      const ReadControl& s = script.controls[i];
      const platform::ControlTemplate& d = data->controls[i];
      SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(s.id));
      EXPECT_EQ(s.id, d.id);
      EXPECT_EQ(static_cast<int>(KindOf(s)), static_cast<int>(d.kind));
      if (KindOf(s) == ControlKind::BitmapStatic) {
        EXPECT_EQ(s.captionOrdinal, d.bitmapId);
      } else {
        EXPECT_EQ(s.caption, d.caption);
      }
      EXPECT_EQ(s.dialogUnits, d.dialogUnits);
      EXPECT_EQ((s.style & WS_VISIBLE) != 0, d.visible);
      EXPECT_EQ((s.style & WS_DISABLED) != 0, d.disabled);
      EXPECT_EQ((s.exStyle & WS_EX_CLIENTEDGE) != 0, d.clientEdge);
      EXPECT_EQ(KindOf(s) == ControlKind::BitmapStatic && (s.style & SS_CENTERIMAGE) != 0,
                d.centreImage);
    }
  }
}

}  // namespace
}  // namespace quorvel::win32
