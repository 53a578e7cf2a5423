#pragma once
// The GDI objects behind our images, for the Windows backends of other folders: the controls'
// windows copy their back stores to the screen with them. Includes <windows.h>: only for
// .cpp files of win32/ folders.
#include "platform/DrawContext.h"
#include "platform/win32/Windows.h"

namespace platform::win32 {

// The memory DC with Image's bitmap selected into it; it lives as long as Image.
HDC DcOf(const TBitmapImage& Image);

} // namespace platform::win32
