#include "platform/x11/x11_services.h"

#include <time.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/drawn/dialogs/message_box.h"
#include "platform/embedded_resources.h"
#include "platform/linux/process_launcher.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/windows/x11_dialog_system.h"

namespace quorvel::x11 {
namespace {

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

X11Services::X11Services(XConnection& connection, X11DialogSystem& dialogs,
                         platform::Graphics& graphics)
    : connection_(connection), dialogs_(dialogs), graphics_(graphics) {}

std::uint32_t X11Services::TickCount() {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(MonotonicNanoseconds() / 1000000));
}

void X11Services::Sleep(unsigned ms) {
  timespec wait{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

std::int64_t X11Services::PerformanceCounter() { return MonotonicNanoseconds(); }

std::int64_t X11Services::PerformanceFrequency() { return 1000000000; }

std::string X11Services::LoadString(int id) { return resources::EmbeddedString(id); }

void X11Services::SetCursorPos(int x, int y) {
  // Wayland does not let a client move the pointer, and XWayland 22.1
  // crashes, taking every X client with it, when it is asked to on a seat
  // without a pointer: the pointer stays where it is there.
  if (connection_.isXWayland()) return;
  Display* d = connection_.display();
  XWarpPointer(d, None, connection_.root(), 0, 0, 0, 0, x, y);
  // Synchronous, as SetCursorPos is: the pointer is there when this returns.
  XSync(d, False);
}

void X11Services::MessageBox(platform::DialogHost* owner, const std::string& text,
                             const std::string& caption, platform::MessageIcon icon) {
  drawn::RunMessageBox(dialogs_, graphics_, owner, text, caption, icon);
}

void X11Services::OpenWebPage(platform::DialogHost*, const std::string& address, platform::Show) {
  linux_os::LaunchDetached({"xdg-open", address});
}

bool X11Services::StartThread(std::function<void()> body) {
  try {
    std::thread(std::move(body)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace quorvel::x11
