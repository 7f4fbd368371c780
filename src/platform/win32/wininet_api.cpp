#include "platform/win32/wininet_api.h"

namespace quorvel::win32 {

const WinInetApi& SystemWinInet() {
  static const WinInetApi api{
      &::InternetOpenA,    &::InternetSetOptionA, &::InternetConnectA, &::HttpOpenRequestA,
      &::HttpSendRequestA, &::HttpQueryInfoA,     &::InternetReadFile, &::InternetCloseHandle,
  };
  return api;
}

}  // namespace quorvel::win32
