// The station's window as Windows itself reports it: a fixed, centred window with a caption,
// the system menu and minimise alone, and its sky blue on the screen between the edits.
#include "tests/app/StationFixture.h"

#include "framework/win32/Win32Window.h"

TEST_F(StationWindow, TheWindowIsFixedAndSkyBlueOnTheScreen)
{
    Create();
    const HWND h = TNativeAccess::Handle(*Form);
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    wchar_t title[64] = {};
    GetWindowTextW(h, title, 64);
    EXPECT_STREQ(title, L"Ostrel_SMT for Brazil");
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 465);
    EXPECT_EQ(client.bottom, 277);

    UpdateWindow(h);
    const HDC screen = GetDC(h);
    EXPECT_EQ(GetPixel(screen, 203, 20), COLORREF(0xF0CAA6)); // blue in the high byte
    ReleaseDC(h, screen);
}
