// <windows.h> for the backend, without the A/W name macros that would
// rename the seam's own methods (Canvas::DrawText, Graphics::CreateFont,
// Graphics::LoadBitmap, Services::LoadString, Services::MessageBox). The
// backend calls the ANSI functions by their full names.
#pragma once

#include <windows.h>

#undef CreateFont
#undef DrawText
#undef LoadBitmap
#undef LoadString
#undef MessageBox
