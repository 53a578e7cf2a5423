#pragma once
// Fonts and strings as GDI takes them, shared by the drawing context, the text metrics and
// whatever else of platform/win32/ hands strings to Windows or takes them from it.
// Includes <windows.h>: only for .cpp files of platform/win32/.
#include "platform/DrawContext.h"
#include "platform/win32/Windows.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring WideOf(std::string_view Utf8);
std::string Utf8Of(std::wstring_view Wide);
// A logical font of the description, without antialiasing so that pixels stay exact. The caller
// deletes it.
HFONT CreateFontOf(const TFontDesc& Desc);

} // namespace platform::win32
