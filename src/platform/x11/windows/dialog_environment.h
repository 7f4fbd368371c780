// What every running dialog shares: the connection, the drawing objects, the
// loop of the user-interface thread and the order of the modal dialogs.
#pragma once

#include "platform/canvas.h"

namespace quorvel::x11 {

class DialogWindow;
class EventLoop;
class XConnection;

class DialogEnvironment {
 public:
  virtual ~DialogEnvironment() = default;
  virtual XConnection& connection() = 0;
  virtual platform::Graphics& graphics() = 0;
  virtual EventLoop& loop() = 0;
  // The font of controls that were given none.
  virtual const platform::Font& defaultFont() = 0;
  // The innermost running modal dialog: the only one that takes input.
  virtual bool IsInnermost(const DialogWindow& dialog) = 0;
};

}  // namespace quorvel::x11
