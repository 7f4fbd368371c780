// The WinINet functions the upload calls, as a table, so that a test can
// put recording doubles in their places and see the real order of the calls.
#pragma once

#include "platform/win32/windows_api.h"

#include <wininet.h>

namespace quorvel::win32 {

struct WinInetApi {
  decltype(&::InternetOpenA) open;
  decltype(&::InternetSetOptionA) setOption;
  decltype(&::InternetConnectA) connect;
  decltype(&::HttpOpenRequestA) openRequest;
  decltype(&::HttpSendRequestA) sendRequest;
  decltype(&::HttpQueryInfoA) queryInfo;
  decltype(&::InternetReadFile) readFile;
  decltype(&::InternetCloseHandle) closeHandle;
};

// The system's own functions.
const WinInetApi& SystemWinInet();

}  // namespace quorvel::win32
