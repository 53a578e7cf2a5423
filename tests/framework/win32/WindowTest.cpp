// The controls' windows as Windows itself reports them: styles, frame, place on the desktop,
// what reaches the screen. The expectations come from the Win32 API, not from our own code.
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/win32/Win32Window.h"

#include <gtest/gtest.h>

namespace {

// Paints its whole area in one colour.
class Swatch : public TWinControl {
public:
    using TWinControl::TWinControl;
    platform::TRgb Colour = 0x3366CC;

protected:
    void Paint(platform::TDrawContext& DC) override
    {
        DC.SelectBrush({Colour, platform::TBrushStyle::Solid});
        DC.FillRect(ClientRect());
    }
};

LONG_PTR StyleOf(const TWinControl& C)
{
    return GetWindowLongPtrW(TNativeAccess::Handle(C), GWL_STYLE);
}

} // namespace

TEST(Win32Window, FixedCentredFormHasCaptionSystemMenuAndMinimiseOnly)
{
    TForm form(nullptr);
    form.SetCaption("Ostrel_SMT 测试");
    form.SetBorderStyle(bsSingle);
    form.SetBorderIcons({true, true, false});
    form.SetPosition(poScreenCenter);
    form.SetBounds(0, 0, 465, 277);
    form.Show();
    const HWND h = TNativeAccess::Handle(form);

    const LONG_PTR style = StyleOf(form);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD), 0);
    wchar_t title[64] = {};
    GetWindowTextW(h, title, 64);
    EXPECT_STREQ(title, L"Ostrel_SMT \u6D4B\u8BD5");

    RECT client, frame, desktop;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 465);
    EXPECT_EQ(client.bottom, 277);
    GetWindowRect(h, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
    EXPECT_NEAR(frame.left + frame.right, desktop.left + desktop.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, desktop.top + desktop.bottom, 1);

    // Dragging the border asks for the tracking limits: both are the window's own size.
    MINMAXINFO limits{};
    SendMessageW(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const POINT size{frame.right - frame.left, frame.bottom - frame.top};
    EXPECT_EQ(limits.ptMinTrackSize.x, size.x);
    EXPECT_EQ(limits.ptMaxTrackSize.y, size.y);
}

TEST(Win32Window, TheScreenShowsTheBackStoresOfAWindowAndItsChild)
{
    TForm form(nullptr);
    form.SetColor(0x00F0CAA6);
    form.SetBounds(50, 50, 120, 80);
    auto* swatch = new Swatch(&form);
    swatch->SetParent(&form);
    swatch->SetBounds(10, 20, 30, 15);
    form.Show();
    EXPECT_EQ(StyleOf(*swatch) & (WS_CHILD | WS_POPUP), WS_CHILD);
    EXPECT_EQ(swatch->BoundsRect(), Rect(10, 20, 40, 35));
    UpdateWindow(TNativeAccess::Handle(form));
    UpdateWindow(TNativeAccess::Handle(*swatch));

    const HDC screen = GetDC(TNativeAccess::Handle(form));
    // COLORREF and our colours both hold red in the low byte.
    struct {
        int X, Y;
        COLORREF Colour;
    } const cases[] = {
        {0, 0, 0xF0CAA6},   {119, 79, 0xF0CAA6}, {9, 20, 0xF0CAA6}, {10, 20, 0x3366CC},
        {39, 34, 0x3366CC}, {40, 34, 0xF0CAA6},  {39, 35, 0xF0CAA6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetPixel(screen, c.X, c.Y), c.Colour) << c.X << "," << c.Y;
    ReleaseDC(TNativeAccess::Handle(form), screen);
}

TEST(Win32Window, ClosingAsksOnCloseAndHidesUnlessRefused)
{
    TForm form(nullptr);
    form.Show();
    TCloseAction answer = caNone;
    int asked = 0;
    form.OnClose = [&](TObject*, TCloseAction& action) {
        ++asked;
        action = answer;
    };
    const HWND h = TNativeAccess::Handle(form);
    SendMessageW(h, WM_CLOSE, 0, 0); // the title bar's close button
    EXPECT_TRUE(IsWindowVisible(h));
    answer = caHide;
    SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_EQ(asked, 2);
}
