#pragma once
// The skinned push button. TcxCustomButton keeps all the behaviour of the framework's push
// button (focus, keys, click, Cancel and Default) and draws itself: at each owner-draw request
// it works out one of five visual states and lets its look-and-feel painter draw frame and
// face, then draws the caption and, with the keyboard focus, a dotted focus rectangle. With a
// painter that tracks the mouse (the ultra-flat one) the button lights up while the mouse is
// over it; a 10 ms watch notices the mouse leaving, since the platform may not say so while
// another control holds the mouse.
//
// The back store of every control is already drawn off-screen and copied in one piece, so the
// button needs no double buffer of its own and never has its background erased.
//
// Glyphs, their layout and the drop-down kinds are stored but not drawn yet: every button
// paints as a standard one with its caption. The framework has no menus yet, so the
// drop-down and context menus are left out.
//
// Threading: user-interface thread only; the hot watch ticks on that thread's message loop.

#include "buttons/cxLookAndFeelPainters.h"
#include "buttons/cxLookAndFeels.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"

#include <array>
#include <bitset>
#include <functional>
#include <memory>

class TTimer;

enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton };

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The states that have a face colour of their own, by ordinal.
using TcxButtonAssignedColors = std::bitset<5>;

// Face colour per visual state; clDefault means the painter's face colour.
class TcxButtonColors : public TPersistent {
public:
    TColor Color(TcxButtonState State) const { return FColors[State]; }
    void SetColor(TcxButtonState State, TColor Value);
    TColor Default() const { return Color(cxbsDefault); }
    void SetDefault(TColor Value) { SetColor(cxbsDefault, Value); }
    TColor Normal() const { return Color(cxbsNormal); }
    void SetNormal(TColor Value) { SetColor(cxbsNormal, Value); }
    TColor Hot() const { return Color(cxbsHot); }
    void SetHot(TColor Value) { SetColor(cxbsHot, Value); }
    TColor Pressed() const { return Color(cxbsPressed); }
    void SetPressed(TColor Value) { SetColor(cxbsPressed, Value); }
    TColor Disabled() const { return Color(cxbsDisabled); }
    void SetDisabled(TColor Value) { SetColor(cxbsDisabled, Value); }

    TcxButtonAssignedColors AssignedColors() const;
    void Assign(const TcxButtonColors& Source);

    TNotifyEvent OnChange;

private:
    std::array<TColor, 5> FColors = {clDefault, clDefault, clDefault, clDefault, clDefault};
};

class TcxCustomButton;
using TcxButtonGetDrawParamsEvent = std::function<void(
    TcxCustomButton* Sender, TcxButtonState AState, TColor& AColor, TFont& AFont)>;

// The visual state for a paint, first match wins: disabled, pressed, hot, focused or active,
// normal.
TcxButtonState cxButtonStateOf(bool Enabled, bool Pressed, bool Hot, bool FocusedOrActive);

// Where a caption of size Text goes in a client area of size Client: centred, rounding as the
// platform's integer division does, so a caption larger than the button starts at a negative
// offset.
TRect cxCaptionRect(TSize Client, TSize Text);

// The focus rectangle: the client area shrunk by 3 on every side, or by nothing if that
// would leave it empty.
TRect cxFocusRect(const TRect& Client);

// Whether the platform paints the button itself instead of the painter.
bool cxIsSystemPainted(TcxButtonKind Kind, bool UseSystemPaint, bool GlyphEmpty,
                       TcxLookAndFeelKind LookAndFeelKind, bool NativeStyle, bool ThemesInUse);

class TcxCustomButton : public TButton {
public:
    explicit TcxCustomButton(TComponent* Owner);
    ~TcxCustomButton() override;

    TcxButtonColors& Colors() { return *FColors; }
    void SetColors(const TcxButtonColors& Value) { FColors->Assign(Value); }
    TcxButtonKind Kind() const { return FKind; }
    void SetKind(TcxButtonKind Value);
    TcxLookAndFeel& LookAndFeel() { return *FLookAndFeel; }
    void SetLookAndFeel(const TcxLookAndFeel& Value) { FLookAndFeel->Assign(Value); }
    bool UseSystemPaint() const { return FUseSystemPaint; }
    void SetUseSystemPaint(bool Value);
    TBitmap& Glyph() { return *FGlyph; }
    // A non-empty glyph ends system painting.
    void SetGlyph(const TBitmap& Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value); // 1 to 4; more is 4, less is 1
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value); // -1 centres; below -1 is ignored
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    TcxButtonGetDrawParamsEvent OnGetDrawParams;

    // Run-time flags (see the state for a paint).
    bool IsHot() const { return FIsHot; }
    bool IsPressed() const { return FIsPressed; }
    bool IsFocused() const { return FIsFocused; }
    // The state the next paint shows.
    TcxButtonState ButtonState() const;
    // The painter that draws the button now.
    const TcxCustomLookAndFeelPainter& Painter() const;
    bool IsSystemPainted() const;
    // Whether the mouse-leave watch is running.
    bool IsWatchingMouse() const;

protected:
    void DrawItem(platform::TDrawContext& DC, const TOwnerDrawState& State) override;
    void ActiveChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void EnabledChanged() override;

private:
    bool TracksHot() const;
    void EnterHot();
    void LeaveHot();
    void WatchMouse();
    void UpdateOwnerDraw();

    std::unique_ptr<TcxButtonColors> FColors;
    std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TCanvas> FCanvas; // bound to the back store while a paint runs
    std::unique_ptr<TTimer> FHotWatch;
    TcxButtonKind FKind = cxbkStandard;
    bool FUseSystemPaint = true;
    TButtonLayout FLayout = blGlyphLeft;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 4;
    bool FIsHot = false;
    bool FIsPressed = false;
    bool FIsFocused = false;
};

// The button as the window's layout uses it; every property is published as is.
class TcxButton : public TcxCustomButton {
public:
    using TcxCustomButton::TcxCustomButton;
};
