// What the X desktop is: the window manager's own name, whether a
// compositor runs, whether the window manager answers drawn frames.
#pragma once

#include "platform/facts.h"

namespace quorvel::x11 {

class XConnection;

platform::DesktopDescription DescribeDesktop(XConnection& connection);

}  // namespace quorvel::x11
