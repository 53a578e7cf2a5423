#include "buttons/cxButtons.h"

#include "framework/Timer.h"
#include "platform/DrawContext.h"
#include "framework/Property.h"

#include <algorithm>

namespace {

// How often the hot watch looks at the cursor.
constexpr unsigned kHotWatchIntervalMs = 10;

bool Contains(const TRect& R, TPoint P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

} // namespace

// --- colours -------------------------------------------------------------------------------

void TcxButtonColors::SetColor(TcxButtonState State, TColor Value)
{
    if (!StoreChanged(FColors[State], Value))
        return;
    if (OnChange)
        OnChange(this);
}

TcxButtonAssignedColors TcxButtonColors::AssignedColors() const
{
    TcxButtonAssignedColors assigned;
    for (int state = cxbsDefault; state <= cxbsDisabled; ++state)
        assigned[state] = FColors[state] != clDefault;
    return assigned;
}

void TcxButtonColors::Assign(const TcxButtonColors& Source)
{
    if (!StoreChanged(FColors, Source.FColors))
        return;
    if (OnChange)
        OnChange(this);
}

// --- pure rules ----------------------------------------------------------------------------

TcxButtonState cxButtonStateOf(bool Enabled, bool Pressed, bool Hot, bool FocusedOrActive)
{
    if (!Enabled)
        return cxbsDisabled;
    if (Pressed)
        return cxbsPressed;
    if (Hot)
        return cxbsHot;
    if (FocusedOrActive)
        return cxbsDefault;
    return cxbsNormal;
}

TRect cxCaptionRect(TSize Client, TSize Text)
{
    // Integer division truncates towards zero, as the platform's does.
    const int left = (Client.cx - Text.cx + 1) / 2;
    const int top = (Client.cy - Text.cy + 1) / 2;
    return {left, top, left + Text.cx, top + Text.cy};
}

TRect cxFocusRect(const TRect& Client)
{
    const TRect r{Client.Left + 3, Client.Top + 3, Client.Right - 3, Client.Bottom - 3};
    return r.Width() > 0 && r.Height() > 0 ? r : Client;
}

bool cxIsSystemPainted(TcxButtonKind Kind, bool UseSystemPaint, bool GlyphEmpty,
                       TcxLookAndFeelKind LookAndFeelKind, bool NativeStyle, bool ThemesInUse)
{
    return Kind == cxbkStandard && UseSystemPaint && GlyphEmpty &&
           (LookAndFeelKind == lfStandard || (NativeStyle && ThemesInUse));
}

// --- the button ----------------------------------------------------------------------------

TcxCustomButton::TcxCustomButton(TComponent* Owner)
    : TButton(Owner), FColors(std::make_unique<TcxButtonColors>()),
      FLookAndFeel(std::make_unique<TcxLookAndFeel>()), FGlyph(std::make_unique<TBitmap>()),
      FCanvas(std::make_unique<TCanvas>()), FHotWatch(std::make_unique<TTimer>(nullptr))
{
    FColors->OnChange = [this](TObject*) { Invalidate(); };
    FLookAndFeel->OnChanged = [this](TObject*) { UpdateOwnerDraw(); };
    FHotWatch->SetEnabled(false);
    FHotWatch->SetInterval(kHotWatchIntervalMs);
    FHotWatch->SetOnTimer([this](TObject*) { WatchMouse(); });
    UpdateOwnerDraw();
}

TcxCustomButton::~TcxCustomButton() = default;

void TcxCustomButton::SetKind(TcxButtonKind Value)
{
    SetProperty(FKind, Value, [this] { UpdateOwnerDraw(); });
}

void TcxCustomButton::SetUseSystemPaint(bool Value)
{
    SetProperty(FUseSystemPaint, Value, [this] { UpdateOwnerDraw(); });
}

void TcxCustomButton::SetGlyph(const TBitmap& Value)
{
    FGlyph->SetSize(Value.Width(), Value.Height());
    FGlyph->Canvas()->Draw(0, 0, &Value);
    if (!FGlyph->Empty())
        FUseSystemPaint = false;
    UpdateOwnerDraw();
}

void TcxCustomButton::SetNumGlyphs(int Value)
{
    Value = std::clamp(Value, 1, 4);
    SetProperty(FNumGlyphs, Value, [this] { Invalidate(); });
}

void TcxCustomButton::SetLayout(TButtonLayout Value)
{
    SetProperty(FLayout, Value, [this] { Invalidate(); });
}

void TcxCustomButton::SetMargin(int Value)
{
    if (Value >= -1)
        SetProperty(FMargin, Value, [this] { Invalidate(); });
}

void TcxCustomButton::SetSpacing(int Value)
{
    SetProperty(FSpacing, Value, [this] { Invalidate(); });
}

const TcxCustomLookAndFeelPainter& TcxCustomButton::Painter() const
{
    return cxChoosePainter(FLookAndFeel->Kind(), FLookAndFeel->NativeStyle(), FUseSystemPaint,
                           cxThemesInUse());
}

bool TcxCustomButton::IsSystemPainted() const
{
    return cxIsSystemPainted(FKind, FUseSystemPaint, FGlyph->Empty(), FLookAndFeel->Kind(),
                             FLookAndFeel->NativeStyle(), cxThemesInUse());
}

void TcxCustomButton::UpdateOwnerDraw()
{
    // Where the platform would recreate its window with or without the owner-draw style, the
    // framework button only switches how it paints.
    SetOwnerDraw(!IsSystemPainted());
    if (!TracksHot())
        LeaveHot();
    Invalidate();
}

TcxButtonState TcxCustomButton::ButtonState() const
{
    return cxButtonStateOf(Enabled(), FIsPressed, FIsHot, FIsFocused || Active());
}

void TcxCustomButton::DrawItem(platform::TDrawContext& DC, const TOwnerDrawState& State)
{
    FIsPressed = State.Selected;
    FIsFocused = State.Focused;
    const TcxButtonState state = ButtonState();
    const TcxCustomLookAndFeelPainter& painter = Painter();
    TCanvas& canvas = *FCanvas;
    canvas.SetHandle(&DC);
    // The back store's context lives only as long as this paint.
    struct TUnbind {
        TCanvas& Canvas;
        ~TUnbind() { Canvas.SetHandle(nullptr); }
    } unbind{canvas};

    // The caption always takes the painter's colour; only OnGetDrawParams may change it.
    canvas.Font()->Assign(Font());
    canvas.Font()->SetColor(painter.ButtonSymbolColor(state));
    TColor face = FColors->Color(state);
    if (OnGetDrawParams)
        OnGetDrawParams(this, state, face, *canvas.Font());

    TRect r = ClientRect();
    painter.DrawButtonBorder(canvas, r, state);
    const int border = painter.ButtonBorderSize(state);
    r = {r.Left + border, r.Top + border, r.Right - border, r.Bottom - border};
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(face == clDefault ? DC.NearestColor(painter.ButtonColor(state))
                                               : face);
    canvas.FillRect(r);

    const std::string text = StripHotkey(Caption());
    canvas.Brush()->SetStyle(bsClear);
    const TRect textRect = cxCaptionRect({Width(), Height()}, canvas.TextExtent(text));
    if (state == cxbsDisabled) {
        const TColor colour = canvas.Font()->Color();
        canvas.Font()->SetColor(clBtnHighlight);
        canvas.TextRect(ClientRect(), textRect.Left + 1, textRect.Top + 1, text);
        DrawHotkeyUnderline(DC, textRect.Left + 1, textRect.Top + 1, Caption());
        canvas.Font()->SetColor(colour);
    }
    canvas.TextRect(ClientRect(), textRect.Left, textRect.Top, text);
    DrawHotkeyUnderline(DC, textRect.Left, textRect.Top, Caption());

    if (State.Focused)
        canvas.DrawFocusRect(cxFocusRect(ClientRect()));
}

void TcxCustomButton::ActiveChanged() { Repaint(); }

bool TcxCustomButton::TracksHot() const
{
    return Painter().IsButtonHotTrack() && OwnerDraw() && Enabled();
}

bool TcxCustomButton::IsWatchingMouse() const { return FHotWatch->Enabled(); }

void TcxCustomButton::EnterHot()
{
    if (FIsHot || !TracksHot() || AnyMouseCapture())
        return;
    FHotWatch->SetEnabled(true);
    FIsHot = true;
    Repaint();
}

void TcxCustomButton::LeaveHot()
{
    FHotWatch->SetEnabled(false);
    if (!FIsHot)
        return;
    FIsHot = false;
    Repaint();
}

void TcxCustomButton::WatchMouse()
{
    const TPoint origin = ClientToScreen({0, 0});
    const TRect onScreen{origin.X, origin.Y, origin.X + Width(), origin.Y + Height()};
    // A button that is no longer shown is not under the cursor, wherever that is.
    if (!CanFocus() || !Contains(onScreen, CursorPos()))
        MouseLeave();
}

void TcxCustomButton::MouseEnter()
{
    TButton::MouseEnter();
    EnterHot();
}

void TcxCustomButton::MouseLeave()
{
    TButton::MouseLeave();
    LeaveHot();
}

void TcxCustomButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TButton::MouseMove(Shift, X, Y);
    if (!FIsHot && Contains(ClientRect(), {X, Y}))
        EnterHot();
}

void TcxCustomButton::EnabledChanged()
{
    TButton::EnabledChanged();
    if (!Enabled())
        LeaveHot();
}
