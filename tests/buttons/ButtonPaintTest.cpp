// The skinned button as the station's window shows it: 60 x 25, ultra-flat, checked by the
// pixels of its back store. Mouse and keys are synthetic events on the offscreen platform.
#include "buttons/cxButtons.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/InputDriver.h"
#include "tests/support/PropertyChecks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TColor kFace = RgbColor(212, 208, 200);
constexpr TColor kHighlight = RgbColor(10, 36, 106);
constexpr TColor kHotFace = RgbColor(183, 191, 212);
constexpr TColor kPressedFace = RgbColor(136, 147, 177);
constexpr TColor kShadow = RgbColor(128, 128, 128);

struct Station {
    TForm* Form = new TForm(nullptr);
    // Takes the focus when the window opens, as the station's first list does.
    TWinControl* Field = new TWinControl(Form);
    TcxButton* Button = new TcxButton(Form);
    TcxButton* Other = new TcxButton(Form);
    int Clicks = 0;

    Station()
    {
        Form->SetBounds(100, 100, 300, 120);
        Form->SetColor(0x00F0CAA6);
        Field->SetParent(Form);
        Field->SetBounds(8, 48, 83, 21);
        Field->SetTabStop(true);
        Button->SetParent(Form);
        Button->SetBounds(8, 80, 60, 25);
        Button->SetCaption("KEYPAD");
        Button->OnClick = [this](TObject*) { ++Clicks; };
        Other->SetParent(Form);
        Other->SetBounds(73, 80, 60, 25);
        Other->SetCaption("MIC");
        ParkCursor();
        Form->Show();
        EXPECT_TRUE(Input::ActivateWindow(*Form));
    }
    ~Station() { delete Form; }

    // Far from every button.
    void ParkCursor() { MoveCursor({5, 5}); }
    void MoveCursor(TPoint screen) { Input::MoveCursor(screen); }
    TPoint ButtonCentreOnScreen() const { return Button->ClientToScreen({30, 12}); }

    const platform::TBitmapImage& Painted()
    {
        Button->Repaint();
        return Button->BackStore();
    }

    void Shot(const char* name)
    {
        if (const char* dir = std::getenv("OSTREL_BUTTON_SHOTS"))
            Button->BackStore().SavePng(std::string(dir) + "/" + name + ".png");
    }
};

// Pixels of one colour in a rectangle of the image.
int Count(const platform::TBitmapImage& img, TRect r, TColor colour)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += img.Pixel(x, y) == colour;
    return n;
}

// Pixels of one colour on the ring at distance d from the edge, and the ring's length.
int RingCount(const platform::TBitmapImage& img, int d, TColor colour)
{
    const TRect r{d, d, img.Width() - d, img.Height() - d};
    return Count(img, {r.Left, r.Top, r.Right, r.Top + 1}, colour) +
           Count(img, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour) +
           Count(img, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, colour) +
           Count(img, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, colour);
}
int RingLength(const platform::TBitmapImage& img, int d)
{
    return 2 * (img.Width() - 2 * d + img.Height() - 2 * d) - 4;
}
// Whether that ring has one colour all round.
bool Ring(const platform::TBitmapImage& img, int d, TColor colour)
{
    return RingCount(img, d, colour) == RingLength(img, d);
}

const TRect kCaptionBand{4, 4, 56, 21}; // inside the focus rectangle

} // namespace

TEST(ButtonState, FirstMatchWins)
{
    struct Row {
        bool Enabled, Pressed, Hot, Focused;
        TcxButtonState Expected;
    };
    const Row rows[] = {
        {false, true, true, true, cxbsDisabled},
        {true, true, true, true, cxbsPressed},
        {true, false, true, true, cxbsHot},
        {true, false, false, true, cxbsDefault},
        {true, false, false, false, cxbsNormal},
    };
    for (const Row& r : rows)
        EXPECT_EQ(cxButtonStateOf(r.Enabled, r.Pressed, r.Hot, r.Focused), r.Expected);
}

TEST(ButtonGeometry, CaptionCentredWithTruncatingDivisionAndFocusRect)
{
    EXPECT_EQ(cxCaptionRect({60, 25}, {40, 13}), (TRect{10, 6, 50, 19}));
    EXPECT_EQ(cxCaptionRect({60, 25}, {41, 12}), (TRect{10, 7, 51, 19}));
    // Larger than the button: a negative start, -39 div 2 = -19 (not -20).
    EXPECT_EQ(cxCaptionRect({60, 25}, {100, 40}), (TRect{-19, -7, 81, 33}));
    EXPECT_EQ(cxFocusRect({0, 0, 60, 25}), (TRect{3, 3, 57, 22}));
    EXPECT_EQ(cxFocusRect({0, 0, 6, 25}), (TRect{0, 0, 6, 25})); // would be empty
}

TEST(ButtonGeometry, SystemPaintedOnlyForPlainStandardButtons)
{
    EXPECT_FALSE(cxIsSystemPainted(cxbkStandard, true, true, lfUltraFlat, false, false));
    EXPECT_TRUE(cxIsSystemPainted(cxbkStandard, true, true, lfStandard, false, false));
    EXPECT_FALSE(cxIsSystemPainted(cxbkStandard, false, true, lfStandard, false, false));
    EXPECT_FALSE(cxIsSystemPainted(cxbkStandard, true, false, lfStandard, false, false));
    EXPECT_FALSE(cxIsSystemPainted(cxbkDropDown, true, true, lfStandard, false, false));
    EXPECT_TRUE(cxIsSystemPainted(cxbkStandard, true, true, lfFlat, true, true));
    EXPECT_FALSE(cxIsSystemPainted(cxbkStandard, true, true, lfFlat, true, false));
}

TEST(Button, PropertyDefaultsAndLimits)
{
    TcxButton b(nullptr);
    EXPECT_EQ(b.Kind(), cxbkStandard);
    EXPECT_TRUE(b.UseSystemPaint());
    EXPECT_EQ(b.LookAndFeel().Kind(), lfUltraFlat);
    EXPECT_FALSE(b.LookAndFeel().NativeStyle());
    EXPECT_TRUE(b.Glyph().Empty());
    EXPECT_EQ(b.NumGlyphs(), 1);
    EXPECT_EQ(b.Layout(), blGlyphLeft);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_TRUE(b.Colors().AssignedColors().none());
    EXPECT_EQ(b.Colors().Hot(), clDefault);
    EXPECT_FALSE(b.IsSystemPainted()) << "the ultra-flat look is owner-drawn";

    b.SetNumGlyphs(9);
    EXPECT_EQ(b.NumGlyphs(), 4);
    b.SetMargin(-5);
    EXPECT_EQ(b.Margin(), -1);
    b.SetMargin(2);
    EXPECT_EQ(b.Margin(), 2);
    b.Colors().SetPressed(clRed);
    EXPECT_EQ(b.Colors().AssignedColors(), TcxButtonAssignedColors(1 << cxbsPressed));

    b.LookAndFeel().SetKind(lfStandard);
    EXPECT_TRUE(b.IsSystemPainted());
    TBitmap glyph(16, 16);
    b.SetGlyph(glyph);
    EXPECT_FALSE(b.UseSystemPaint());
    EXPECT_FALSE(b.IsSystemPainted());
    EXPECT_EQ(b.Glyph().Width(), 16);
}

namespace {
// Counts the repaints the button asks for.
class TRepaintProbe : public TcxButton {
public:
    using TcxButton::TcxButton;
    int Requests = 0;
    void Invalidate() override
    {
        ++Requests;
        TcxButton::Invalidate();
    }
};
} // namespace

TEST(Button, RepaintsExactlyWhenAPropertyChanges)
{
    TRepaintProbe b(nullptr);
    TcxButtonColors red;
    red.SetPressed(clRed);
    ExpectActsExactlyOnChange([&] { return std::exchange(b.Requests, 0) > 0; }, {
        {"Kind", [&] { b.SetKind(cxbkStandard); }, [&] { b.SetKind(cxbkDropDown); }},
        {"UseSystemPaint", [&] { b.SetUseSystemPaint(true); },
         [&] { b.SetUseSystemPaint(false); }},
        {"NumGlyphs", [&] { b.SetNumGlyphs(1); }, [&] { b.SetNumGlyphs(2); }},
        {"Layout", [&] { b.SetLayout(blGlyphLeft); }, [&] { b.SetLayout(blGlyphTop); }},
        {"Margin", [&] { b.SetMargin(-1); }, [&] { b.SetMargin(3); }},
        {"Spacing", [&] { b.SetSpacing(4); }, [&] { b.SetSpacing(6); }},
        {"Colors.Hot", [&] { b.Colors().SetHot(clDefault); }, [&] { b.Colors().SetHot(clRed); }},
        {"Colors", [&] { b.SetColors(b.Colors()); }, [&] { b.SetColors(red); }},
    });
}

TEST(Button, NormalShowsOneDarkPixelFrameAndFocusedTwoWithDottedRectangle)
{
    Station s;
    auto& img = s.Painted();
    s.Shot("normal");
    EXPECT_EQ(s.Button->ButtonState(), cxbsNormal);
    EXPECT_TRUE(Ring(img, 0, clBlack));
    EXPECT_TRUE(Ring(img, 1, kFace));
    EXPECT_TRUE(Ring(img, 3, kFace)) << "no focus rectangle";
    EXPECT_GT(Count(img, kCaptionBand, clBlack), 10) << "caption in button text colour";

    s.Button->SetFocus();
    ASSERT_TRUE(s.Button->Focused());
    auto& focused = s.Painted();
    s.Shot("focused");
    EXPECT_EQ(s.Button->ButtonState(), cxbsDefault);
    EXPECT_TRUE(Ring(focused, 0, clBlack));
    EXPECT_TRUE(Ring(focused, 1, clBlack));
    EXPECT_TRUE(Ring(focused, 2, kFace));
    // The dotted rectangle: every other pixel of the ring 3 inside the edge is inverted.
    constexpr TColor kInvertedFace = RgbColor(255 - 212, 255 - 208, 255 - 200);
    for (int y = 3; y < 22; ++y)
        for (int x = 3; x < 57; ++x) {
            if (x != 3 && x != 56 && y != 3 && y != 21)
                continue;
            EXPECT_EQ(focused.Pixel(x, y), (x + y) % 2 == 0 ? kInvertedFace : kFace)
                << x << ", " << y;
        }
    EXPECT_TRUE(Ring(focused, 4, kFace));

    // Focus moving to another button takes the look with it.
    s.Other->SetFocus();
    auto& after = s.Painted();
    EXPECT_TRUE(Ring(after, 1, kFace));
    EXPECT_TRUE(Ring(after, 3, kFace));
}

TEST(Button, DefaultButtonLooksActiveWhileAnotherKindOfControlHasTheFocus)
{
    Station s;
    s.Field->SetFocus();
    ASSERT_TRUE(s.Field->Focused());
    s.Button->SetDefault(true);
    ASSERT_TRUE(s.Button->Active());
    auto& active = s.Painted();
    EXPECT_EQ(s.Button->ButtonState(), cxbsDefault);
    EXPECT_TRUE(Ring(active, 0, clBlack));
    EXPECT_TRUE(Ring(active, 1, clBlack));
    EXPECT_TRUE(Ring(active, 3, kFace)) << "no focus rectangle without the focus";

    // Another button taking the focus takes the role with it.
    s.Other->SetFocus();
    EXPECT_FALSE(s.Button->Active());
    auto& inactive = s.Painted();
    EXPECT_EQ(s.Button->ButtonState(), cxbsNormal);
    EXPECT_TRUE(Ring(inactive, 1, kFace));
}

TEST(Button, MouseOverLightsTheFaceAndLeavingRestoresIt)
{
    Station s;
    s.MoveCursor(s.ButtonCentreOnScreen());
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return s.Button->IsHot(); }, 1000))
        << "moving the pointer on the offscreen platform moves the mouse over the button";
    EXPECT_TRUE(s.Button->IsWatchingMouse());
    auto& hot = s.Painted();
    s.Shot("hot");
    EXPECT_TRUE(Ring(hot, 0, kHighlight));
    EXPECT_TRUE(Ring(hot, 1, kHotFace));
    EXPECT_GT(Count(hot, kCaptionBand, clBlack), 10);

    s.ParkCursor();
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return !s.Button->IsHot(); }, 1000));
    EXPECT_FALSE(s.Button->IsWatchingMouse());
    auto& left = s.Painted();
    EXPECT_TRUE(Ring(left, 0, clBlack));
    EXPECT_TRUE(Ring(left, 1, kFace));
}

TEST(Button, MoveInsideCountsAsEnteringAndTheWatchNoticesTheCursorOutside)
{
    Station s;
    // A move inside the button arrives while the cursor itself is elsewhere, and no leave
    // event will ever come: only the watch can find out.
    Input::MouseMove(*s.Button, {30, 12});
    EXPECT_TRUE(s.Button->IsHot());
    EXPECT_TRUE(s.Button->IsWatchingMouse());
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return !s.Button->IsHot(); }, 1000));
    EXPECT_FALSE(s.Button->IsWatchingMouse());
    EXPECT_TRUE(Ring(s.Painted(), 1, kFace));
}

TEST(Button, WatchEndsWhenTheWindowIsHiddenUnderTheCursor)
{
    Station s;
    s.MoveCursor(s.ButtonCentreOnScreen());
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return s.Button->IsHot(); }, 1000));
    s.Form->Hide();
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return !s.Button->IsHot(); }, 1000));
    EXPECT_FALSE(s.Button->IsWatchingMouse());
}

TEST(Button, WatchEndsWhenTheWindowIsClosedUnderTheCursor)
{
    Station s;
    s.MoveCursor(s.ButtonCentreOnScreen());
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return s.Button->IsHot(); }, 1000));
    s.Form->Close();
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return !s.Button->IsHot(); }, 1000));
    EXPECT_FALSE(s.Button->IsWatchingMouse());
}

TEST(Button, DisabledButtonIsNeverHotAndDisablingClearsHot)
{
    Station s;
    s.MoveCursor(s.ButtonCentreOnScreen());
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return s.Button->IsHot(); }, 1000));
    s.Button->SetEnabled(false);
    EXPECT_FALSE(s.Button->IsHot());
    EXPECT_FALSE(s.Button->IsWatchingMouse());

    auto& img = s.Painted();
    s.Shot("disabled");
    EXPECT_EQ(s.Button->ButtonState(), cxbsDisabled);
    EXPECT_TRUE(Ring(img, 0, kHighlight));
    EXPECT_TRUE(Ring(img, 1, kFace));
    EXPECT_GT(Count(img, kCaptionBand, kShadow), 10) << "caption in button shadow";
    EXPECT_GT(Count(img, kCaptionBand, clWhite), 5) << "embossed in button highlight";
    // The highlight copy lies one pixel right and down: whatever of it shows has the glyph
    // itself just above and to the left.
    for (int y = kCaptionBand.Top; y < kCaptionBand.Bottom; ++y)
        for (int x = kCaptionBand.Left; x < kCaptionBand.Right; ++x)
            if (img.Pixel(x, y) == clWhite) {
                EXPECT_EQ(img.Pixel(x - 1, y - 1), kShadow) << x << ", " << y;
            }
    EXPECT_EQ(Count(img, kCaptionBand, clBlack), 0);

    s.ParkCursor();
    s.MoveCursor(s.ButtonCentreOnScreen());
    EXPECT_FALSE(s.Button->IsHot());
}

TEST(Button, HoldingTheMouseDownShowsThePressedBlendAndReleasingOutsideDoesNotClick)
{
    Station s;
    s.MoveCursor(s.ButtonCentreOnScreen());
    Input::MouseDown(*s.Button, TMouseButton::mbLeft, {30, 12});
    auto& pressed = s.Button->BackStore(); // painted by the platform's own request
    s.Shot("pressed");
    EXPECT_EQ(s.Button->ButtonState(), cxbsPressed);
    EXPECT_TRUE(Ring(pressed, 0, kHighlight));
    EXPECT_TRUE(Ring(pressed, 1, kPressedFace));
    EXPECT_GT(Count(pressed, kCaptionBand, clWhite), 10) << "caption in highlight text";
    EXPECT_EQ(Count(pressed, kCaptionBand, clBlack), 0);

    Input::MouseUp(*s.Button, TMouseButton::mbLeft, {200, 12});
    EXPECT_EQ(s.Clicks, 0);
    auto& released = s.Painted();
    EXPECT_EQ(s.Button->ButtonState(), cxbsHot) << "the cursor is still over the button";
    EXPECT_TRUE(Ring(released, 1, kHotFace));

    Input::Click(*s.Button, {30, 12});
    EXPECT_EQ(s.Clicks, 1);
}

TEST(Button, SpaceHeldShowsPressedAndClicksOnRelease)
{
    Station s;
    s.Button->SetFocus();
    Input::KeyDown(*s.Button, VirtualKey::Space);
    EXPECT_TRUE(Ring(s.Button->BackStore(), 1, kPressedFace));
    EXPECT_EQ(s.Clicks, 0);
    Input::KeyUp(*s.Button, VirtualKey::Space);
    EXPECT_EQ(s.Clicks, 1);
    s.Painted();
    EXPECT_EQ(s.Button->ButtonState(), cxbsDefault);
}

TEST(Button, NoHotTrackingWhileAnotherControlHoldsTheMouse)
{
    Station s;
    s.Field->SetMouseCapture(true);
    Input::MouseMove(*s.Button, {30, 12});
    EXPECT_FALSE(s.Button->IsHot());
    s.Field->SetMouseCapture(false);
    Input::MouseMove(*s.Button, {30, 12});
    EXPECT_TRUE(s.Button->IsHot());
}

TEST(Button, DoubleClickClicksTwice)
{
    Station s;
    // What the platform sends for a double click: press, release, double click, release.
    Input::Click(*s.Button, {30, 12});
    Input::DoubleClick(*s.Button, {30, 12});
    EXPECT_EQ(s.Button->ButtonState(), cxbsPressed);
    Input::MouseUp(*s.Button, TMouseButton::mbLeft, {30, 12});
    EXPECT_EQ(s.Clicks, 2);
}

TEST(Button, FontColourNeverReachesTheCaption)
{
    Station s;
    s.Button->Font().SetColor(clRed);
    auto& img = s.Painted();
    EXPECT_EQ(Count(img, {0, 0, 60, 25}, clRed), 0);
    EXPECT_GT(Count(img, kCaptionBand, clBlack), 10);

    // Only the draw-parameters event may change it, and the face colour.
    std::vector<TcxButtonState> states;
    s.Button->OnGetDrawParams = [&](TcxCustomButton* sender, TcxButtonState state,
                                    TColor& colour, TFont& font) {
        EXPECT_EQ(sender, s.Button);
        EXPECT_EQ(colour, clDefault);
        EXPECT_EQ(font.Color(), clBtnText);
        states.push_back(state);
        colour = clYellow;
        font.SetColor(clRed);
    };
    auto& custom = s.Painted();
    s.Button->OnGetDrawParams = nullptr;
    EXPECT_EQ(states, std::vector<TcxButtonState>{cxbsNormal});
    EXPECT_TRUE(Ring(custom, 1, clYellow));
    EXPECT_GT(Count(custom, kCaptionBand, clRed), 10);
    EXPECT_EQ(s.Button->Font().Color(), clRed) << "the button's own font is left alone";
}

TEST(Button, StateColourOfItsOwnFillsTheFace)
{
    Station s;
    s.Button->Colors().SetNormal(clLime);
    EXPECT_TRUE(Ring(s.Painted(), 1, clLime));
    EXPECT_TRUE(Ring(s.Button->BackStore(), 0, clBlack));
}

TEST(Button, CaptionLargerThanTheButtonIsCentredAndClipped)
{
    Station s;
    // A caption whose overhang is odd both ways, so that truncating and flooring division
    // would place it one pixel apart.
    platform::TBitmapImage scratch(1, 1);
    platform::TDrawContext measure(scratch);
    std::string text;
    int height = 0;
    TSize extent;
    for (int h = 30; h < 60 && text.empty(); ++h) {
        TFont font;
        font.Assign(s.Button->Font());
        font.SetHeight(-h);
        measure.SelectFont(font.Desc());
        for (int n = 6; n < 30 && text.empty(); ++n) {
            const std::string candidate(std::size_t(n), 'W');
            const TSize e = measure.TextExtent(candidate);
            if (e.cx > 60 && e.cy > 25 && (61 - e.cx) % 2 != 0 && (26 - e.cy) % 2 != 0)
                text = candidate, height = -h, extent = e;
        }
    }
    ASSERT_FALSE(text.empty()) << "no caption with odd overhangs in the installed fonts";
    s.Button->SetCaption(text);
    s.Button->Font().SetHeight(height);
    auto& img = s.Painted();
    const int left = (60 - extent.cx + 1) / 2;
    const int top = (25 - extent.cy + 1) / 2;
    ASSERT_LT(left, 0);
    ASSERT_LT(top, 0);

    // The same text drawn whole, far from any edge: the button shows the part of it that
    // falls inside, shifted by exactly the centring offset.
    platform::TBitmapImage whole(extent.cx + 200, extent.cy + 200);
    platform::TDrawContext dc(whole);
    dc.SelectFont(s.Button->Font().Desc());
    dc.SetTextColor(clBlack);
    dc.SetBkMode(platform::TBkMode::Transparent);
    dc.TextOut(100, 100, text);
    int ink = 0, mismatches = 0;
    for (int y = 1; y < 24; ++y)
        for (int x = 1; x < 59; ++x) {
            const bool shown = img.Pixel(x, y) == clBlack;
            ink += shown;
            mismatches += shown != (whole.Pixel(100 + x - left, 100 + y - top) == clBlack);
        }
    EXPECT_GT(ink, 50);
    EXPECT_EQ(mismatches, 0) << "caption at " << left << ", " << top;
}

TEST(Button, AcceleratorLetterIsUnderlined)
{
    Station s;
    s.Button->SetCaption("Go");
    auto& plain = s.Painted();
    const int plainInk = Count(plain, kCaptionBand, clBlack);
    s.Button->SetCaption("&Go");
    auto& marked = s.Painted();
    s.Shot("accelerator");
    // The same text, plus one line under the G only.
    EXPECT_GT(Count(marked, kCaptionBand, clBlack), plainInk + 3);
    EXPECT_EQ(Count(marked, {31, 4, 56, 21}, clBlack), Count(plain, {31, 4, 56, 21}, clBlack));
}

TEST(Button, EscInTheWindowClicksTheCancelButton)
{
    Station s;
    s.Button->SetCancel(true);
    s.Other->SetFocus();
    Input::KeyPress(*s.Other, VirtualKey::Escape);
    EXPECT_EQ(s.Clicks, 1);
    Input::KeyPress(*s.Other, VirtualKey::Escape, {.Shift = true});
    EXPECT_EQ(s.Clicks, 1);
}
