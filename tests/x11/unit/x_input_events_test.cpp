// X keys and pointer events in the program's terms, without a server.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <string>

#include "platform/x11/controls/x_input_events.h"

namespace quorvel::x11 {
namespace {

using drawn::Key;

TEST(XInputEvents, KeysymsBecomeTheKeysTheProgramKnows) {
  const struct {
    KeySym keysym;
    Key key;
  } cases[] = {
      {XK_BackSpace, Key::Backspace}, {XK_Tab, Key::Tab},           {XK_ISO_Left_Tab, Key::Tab},
      {XK_Return, Key::Enter},        {XK_KP_Enter, Key::Enter},    {XK_Escape, Key::Escape},
      {XK_Delete, Key::Delete},       {XK_KP_Delete, Key::Delete},  {XK_Insert, Key::Insert},
      {XK_KP_Insert, Key::Insert},    {XK_Left, Key::Left},         {XK_KP_Left, Key::Left},
      {XK_Right, Key::Right},         {XK_KP_Right, Key::Right},    {XK_Home, Key::Home},
      {XK_KP_Home, Key::Home},        {XK_End, Key::End},           {XK_KP_End, Key::End},
      {XK_a, Key::A},                 {XK_A, Key::A},               {XK_v, Key::V},
      {XK_Z, Key::Z},                 {XK_KP_1, Key::Other},        {XK_1, Key::Other},
      {XK_F1, Key::Other},            {XK_adiaeresis, Key::Other},  {NoSymbol, Key::Other},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyOf(c.keysym), c.key) << std::hex << c.keysym;
}

TEST(XInputEvents, AKeyTypesWindows1252AndCarriesShiftAndCtrl) {
  const struct {
    const char* name;
    KeySym keysym;
    unsigned state;
    std::string latin1;  // what XLookupString gave
    Key key;
    bool shift;
    bool control;
    std::string text;
  } cases[] = {
      {"letter", XK_q, 0, "q", Key::Q, false, false, "q"},
      {"Latin-1 as it is", XK_adiaeresis, 0, "\xE4", Key::Other, false, false, "\xE4"},
      {"euro sign", XK_EuroSign, 0, "", Key::Other, false, false, "\x80"},
      {"Unicode keysym Windows-1252 has", 0x1002019, 0, "", Key::Other, false, false, "\x92"},
      {"Unicode keysym it has not", 0x10065E5, 0, "", Key::Other, false, false, ""},
      {"Ctrl+V", XK_v, ControlMask, "\x16", Key::V, false, true, "\x16"},
      {"Shift+Insert", XK_Insert, ShiftMask, "", Key::Insert, true, false, ""},
      {"Shift+Tab", XK_ISO_Left_Tab, 0, "", Key::Tab, true, false, ""},
  };
  for (const auto& c : cases) {
    const drawn::KeyEvent key = KeyEventOf(c.keysym, c.state, c.latin1);
    EXPECT_EQ(key.key, c.key) << c.name;
    EXPECT_EQ(key.shift, c.shift) << c.name;
    EXPECT_EQ(key.control, c.control) << c.name;
    EXPECT_EQ(key.text, c.text) << c.name;
  }
}

TEST(XInputEvents, PointerEventsOnAControlWindowAreInClientCoordinates) {
  const Point origin{100, 40};  // the control's top-left corner in the dialog
  XEvent press{};
  press.type = ButtonPress;
  press.xbutton.button = Button1;
  press.xbutton.x = 5;
  press.xbutton.y = 7;
  press.xbutton.state = ShiftMask;
  drawn::PointerEvent event;
  ASSERT_TRUE(PointerEventOf(press, origin, event));
  EXPECT_EQ(event.action, drawn::PointerAction::Press);
  EXPECT_EQ(event.button, drawn::PointerButton::Left);
  EXPECT_EQ(event.at.x, 105);
  EXPECT_EQ(event.at.y, 47);
  EXPECT_TRUE(event.shift);

  XEvent release = press;
  release.type = ButtonRelease;
  release.xbutton.button = Button3;
  release.xbutton.x = -3;  // released outside, left of the control
  ASSERT_TRUE(PointerEventOf(release, origin, event));
  EXPECT_EQ(event.action, drawn::PointerAction::Release);
  EXPECT_EQ(event.button, drawn::PointerButton::Right);
  EXPECT_EQ(event.at.x, 97);

  XEvent motion{};
  motion.type = MotionNotify;
  motion.xmotion.x = 20;
  motion.xmotion.y = 1;
  ASSERT_TRUE(PointerEventOf(motion, origin, event));
  EXPECT_EQ(event.action, drawn::PointerAction::Motion);
  EXPECT_EQ(event.at.x, 120);
  EXPECT_FALSE(event.shift);

  XEvent leave{};
  leave.type = LeaveNotify;
  ASSERT_TRUE(PointerEventOf(leave, origin, event));
  EXPECT_EQ(event.action, drawn::PointerAction::Leave);

  XEvent expose{};
  expose.type = Expose;
  EXPECT_FALSE(PointerEventOf(expose, origin, event));
}

}  // namespace
}  // namespace quorvel::x11
