// The message rules of a dialog window. The dialog is subclassed at
// WM_INITDIALOG, so WindowProc sees every later message before the dialog
// manager; what it does not take goes on to the dialog class's procedure.
#include "platform/win32/dialog_window.h"
#include "platform/win32/gdi_canvas.h"

namespace quorvel::win32 {
namespace {

// What a window answers to WM_ERASEBKGND when its background was painted by
// the program: any non-zero value means "erased".
constexpr LRESULT kErased = 99;

int SignedLow(LPARAM value) { return static_cast<short>(LOWORD(value)); }
int SignedHigh(LPARAM value) { return static_cast<short>(HIWORD(value)); }

SIZE ClientSize(HWND hwnd) {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;  // the dialog manager's defaults
  auto* self = reinterpret_cast<DialogWindow*>(lParam);
  self->Initialise(hwnd);
  return self->handlers_.OnInitDialog() ? TRUE : FALSE;
}

void DialogWindow::Initialise(HWND hwnd) {
  hwnd_.store(hwnd);
  ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  dialogClassProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
  handlers_.Attach(this);
  attached_ = true;
}

void DialogWindow::Detach() {
  if (!attached_) return;
  attached_ = false;
  handlers_.Attach(nullptr);
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefDlgProcA(hwnd, message, wParam, lParam);
  return self->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT DialogWindow::Default(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcA(dialogClassProc_, hwnd, message, wParam, lParam);
}

HBRUSH DialogWindow::DialogBrush() {
  if (!brush_) brush_.reset(::CreateSolidBrush(handlers_.DialogBrushColour()));
  return brush_.get();
}

LRESULT DialogWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      // The low four bits of a system command are used by the system.
      if (handlers_.OnSystemCommand(static_cast<unsigned>(wParam & 0xFFF0))) return 0;
      break;

    case WM_NCACTIVATE:
      if (handlers_.OnNonClientActivate()) return 0;
      break;

    case WM_ERASEBKGND: {
      const SIZE size = ClientSize(hwnd);
      GdiCanvas canvas(reinterpret_cast<HDC>(wParam), size.cx, size.cy);
      if (handlers_.OnEraseBackground(canvas)) return kErased;
      break;
    }

    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(DialogBrush());

    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr) break;
      SIZE size{item->rcItem.right, item->rcItem.bottom};
      if (item->CtlType != ODT_MENU && ::IsWindow(item->hwndItem)) size = ClientSize(item->hwndItem);
      platform::DrawItem drawItem;
      drawItem.controlId = static_cast<int>(item->CtlID);
      drawItem.rect = Rect{item->rcItem.left, item->rcItem.top, item->rcItem.right,
                           item->rcItem.bottom};
      drawItem.selected = (item->itemState & ODS_SELECTED) != 0;
      GdiCanvas canvas(item->hDC, size.cx, size.cy);
      if (handlers_.OnDrawItem(drawItem, canvas)) return TRUE;
      break;
    }

    case WM_COMMAND:
      // Button clicks, and IDOK / IDCANCEL that the dialog manager sends for
      // Enter and Escape, both with the notification code BN_CLICKED (0).
      if (HIWORD(wParam) == BN_CLICKED) {
        handlers_.OnCommand(LOWORD(wParam));
        return 0;
      }
      break;

    case WM_WINDOWPOSCHANGED:
      maximisedSize_.PositionChanged(hwnd);
      break;

    case WM_TIMER:
      handlers_.OnTimer(static_cast<int>(wParam));
      return 0;

    case WM_LBUTTONUP:
      handlers_.OnLButtonUp(Point{SignedLow(lParam), SignedHigh(lParam)});
      break;

    case WM_DESTROY:
      handlers_.OnDestroy();
      break;

    case WM_NCDESTROY: {
      const LRESULT result = Default(hwnd, message, wParam, lParam);
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      hwnd_.store(nullptr);
      brush_.reset();
      return result;
    }

    default:
      break;
  }
  return Default(hwnd, message, wParam, lParam);
}

}  // namespace quorvel::win32
