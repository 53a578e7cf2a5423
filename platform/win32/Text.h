#pragma once
// Fonts and strings as GDI takes them, shared by the drawing context and the text metrics.
// Includes <windows.h>: only for .cpp files of platform/win32/.
#include "platform/DrawContext.h"
#include "platform/win32/Windows.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring WideOf(std::string_view Utf8);
// A logical font of the description, without antialiasing so that pixels stay exact. The caller
// deletes it.
HFONT CreateFontOf(const TFontDesc& Desc);

} // namespace platform::win32
