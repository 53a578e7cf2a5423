#include "framework/StdCtrls.h"

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/NativeWindow.h"
#include "framework/Property.h"

#include <algorithm>
#include <string_view>

std::string StripHotkey(const std::string& Caption)
{
    std::string shown;
    shown.reserve(Caption.size());
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&') {
            if (i + 1 == Caption.size())
                break;
            ++i; // the character after the mark is shown, "&&" as one "&"
        }
        shown += Caption[i];
    }
    return shown;
}

THotkeySpan HotkeySpan(const std::string& Caption)
{
    int shown = 0; // bytes of the shown text so far
    for (size_t i = 0; i < Caption.size(); ++i, ++shown) {
        if (Caption[i] != '&')
            continue;
        if (i + 1 == Caption.size())
            break;
        if (Caption[++i] == '&')
            continue; // "&&" shows one "&" and marks nothing
        int length = 1;
        while (i + length < Caption.size() && (Caption[i + length] & 0xC0) == 0x80)
            ++length; // the rest of a multi-byte character
        return {shown, length};
    }
    return {};
}

void DrawHotkeyUnderline(platform::TDrawContext& DC, int X, int Y, const std::string& Caption)
{
    const THotkeySpan span = HotkeySpan(Caption);
    if (span.Offset < 0)
        return;
    const std::string shown = StripHotkey(Caption);
    const int left = X + DC.TextExtent(std::string_view(shown).substr(0, span.Offset)).cx;
    const int width =
        DC.TextExtent(std::string_view(shown).substr(span.Offset, span.Length)).cx;
    const int y = Y + platform::TextMetrics().Ascent(DC.Font()) + 1;
    const platform::TBrushDesc brush = DC.Brush();
    DC.SelectBrush({DC.TextColor(), platform::TBrushStyle::Solid});
    DC.FillRect({left, y, left + width, y + 1});
    DC.SelectBrush(brush);
}

TForm* GetParentForm(const TWinControl* Control)
{
    for (TWinControl* c = Control ? Control->Parent() : nullptr; c; c = c->Parent())
        if (auto* form = dynamic_cast<TForm*>(c))
            return form;
    return nullptr;
}

TButton::TButton(TComponent* Owner) : TButton(Owner, NewNativeButton(*this)) {}

TButton::TButton(TComponent* Owner, TNativeButton* Native)
    : TWinControl(Owner, Native), FWindow(*Native), FFont(std::make_unique<TFont>())
{
    FWindow.SetFocusKind(TFocusKind::Tab);
    SetBounds(0, 0, 75, 25);
    FFont->OnChange = [this](TObject*) {
        if (FSyncingFont)
            return;
        FParentFont = false;
        FontChanged();
    };
}

TButton::~TButton() = default;

bool TButton::AnyMouseCapture() { return NativeMouseCaptured(); }

void TButton::SetCaption(const std::string& Value)
{
    if (!StoreChanged(FCaption, Value))
        return;
    FWindow.SetCaption(Value);
    Invalidate();
}

void TButton::SetDefault(bool Value)
{
    SetProperty(FDefault, Value, [this] { UpdateActive(FWindow.FocusedControl()); });
}

TFont& TButton::Font()
{
    SyncParentFont();
    return *FFont;
}

void TButton::SetFont(const TFont& Value) { Font().Assign(Value); }

void TButton::SetParentFont(bool Value)
{
    if (!StoreChanged(FParentFont, Value))
        return;
    if (Value) {
        SyncParentFont();
        FontChanged();
    }
}

void TButton::SyncParentFont()
{
    if (!FParentFont)
        return;
    if (TForm* form = GetParentForm(this)) {
        FSyncingFont = true;
        FFont->Assign(form->Font());
        FSyncingFont = false;
    }
}

void TButton::Click()
{
    if (TForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    if (OnClick)
        OnClick(this);
}

void TButton::UpdateActive(const TWinControl* Focus)
{
    bool active;
    if (Focus == this)
        active = true;
    else if (dynamic_cast<const TButton*>(Focus))
        active = false;
    else
        active = FDefault;
    if (active == FActive)
        return;
    FActive = active;
    ActiveChanged();
}

void TButton::ActiveChanged() { Invalidate(); }

void TButton::FontChanged() { Invalidate(); }

void TButton::SetOwnerDraw(bool Value)
{
    SetProperty(FOwnerDraw, Value, [this] { Invalidate(); });
}

TOwnerDrawState TButton::OwnerDrawState() const
{
    return {FWindow.Pressed(), FWindow.HasFocus()};
}

// The system repaints a button whenever it is pressed, released, focused or enabled; the back
// store is drawn again when what it shows is out of date.
void TButton::BeforeNativePaint()
{
    if (OwnerDrawState() != FDrawn)
        Invalidate();
}

void TButton::Paint(platform::TDrawContext& DC)
{
    SyncParentFont();
    FDrawn = OwnerDrawState();
    if (FOwnerDraw)
        DrawItem(DC, FDrawn);
    else
        DrawPlain(DC, FDrawn);
}

void TButton::DrawItem(platform::TDrawContext&, const TOwnerDrawState&) {}

void TButton::KeyDown(int& Key, TShiftState Shift)
{
    // Space presses the button only on its own.
    if (Key == VirtualKey::Space && Shift.AnyModifier())
        Key = 0;
}

void TButton::DrawPlain(platform::TDrawContext& DC, const TOwnerDrawState& State)
{
    const auto fill = [&](TColor colour, const TRect& r) {
        DC.SelectBrush({ColorToRGB(colour), platform::TBrushStyle::Solid});
        DC.FillRect(r);
    };
    // Two bevels, light above and left, dark below and right; one dark ring when pressed.
    const auto bevel = [&](TRect& r, TColor light, TColor dark) {
        fill(light, {r.Left, r.Top, r.Right, r.Top + 1});
        fill(light, {r.Left, r.Top, r.Left + 1, r.Bottom});
        fill(dark, {r.Left, r.Bottom - 1, r.Right, r.Bottom});
        fill(dark, {r.Right - 1, r.Top, r.Right, r.Bottom});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    };
    TRect r = ClientRect();
    fill(clBtnFace, r);
    if (FActive || State.Focused)
        bevel(r, clWindowFrame, clWindowFrame);
    if (State.Selected) {
        bevel(r, clBtnShadow, clBtnShadow);
    } else {
        bevel(r, clBtnHighlight, cl3DDkShadow);
        bevel(r, cl3DLight, clBtnShadow);
    }

    const std::string text = StripHotkey(FCaption);
    DC.SelectFont(FFont->Desc());
    DC.SetBkMode(platform::TBkMode::Transparent);
    DC.SetTextAlign(platform::Align::Left | platform::Align::Top);
    const TSize extent = DC.TextExtent(text);
    const int shift = State.Selected ? 1 : 0;
    const int x = (Width() - extent.cx + 1) / 2 + shift;
    const int y = (Height() - extent.cy + 1) / 2 + shift;
    if (!Enabled()) {
        DC.SetTextColor(ColorToRGB(clBtnHighlight));
        DC.TextOut(x + 1, y + 1, text);
        DC.SetTextColor(ColorToRGB(clBtnShadow));
    } else {
        DC.SetTextColor(ColorToRGB(FFont->Color()));
    }
    DC.TextOut(x, y, text);
    DrawHotkeyUnderline(DC, x, y, FCaption);
    if (State.Focused)
        DC.DrawFocusRect({4, 4, Width() - 4, Height() - 4});
}

// --- label, edit, combo box -----------------------------------------------------------------

TLabel::TLabel(TComponent* Owner) : TWinControl(Owner), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = [this](TObject*) { Changed(); };
}

TLabel::~TLabel() = default;

void TLabel::SetCaption(const std::string& Value)
{
    SetProperty(FCaption, Value, [this] { Changed(); });
}

void TLabel::SetAlignment(TAlignment Value)
{
    SetProperty(FAlignment, Value, [this] { Invalidate(); });
}

void TLabel::SetAutoSize(bool Value)
{
    SetProperty(FAutoSize, Value, [this] { Changed(); });
}

void TLabel::Changed()
{
    if (FAutoSize) {
        const TSize text = platform::TextMetrics().Extent(FFont->Desc(), FCaption);
        const int left = FAlignment == taRightJustify ? Left() + Width() - text.cx : Left();
        SetBounds(left, Top(), text.cx, text.cy);
    }
    Invalidate();
}

void TLabel::Paint(platform::TDrawContext& DC)
{
    const TForm* form = GetParentForm(this);
    DC.SelectBrush({ColorToRGB(form ? form->Color() : clBtnFace), platform::TBrushStyle::Solid});
    DC.FillRect(ClientRect());
    DC.SelectFont(FFont->Desc());
    DC.SetBkMode(platform::TBkMode::Transparent);
    DC.SetTextAlign(platform::Align::Left | platform::Align::Top);
    DC.SetTextColor(ColorToRGB(FFont->Color()));
    const int width = DC.TextExtent(FCaption).cx;
    int x = 0;
    if (FAlignment == taRightJustify)
        x = Width() - width;
    else if (FAlignment == taCenter)
        x = (Width() - width) / 2;
    DC.TextOut(x, 0, FCaption);
}

TEdit::TEdit(TComponent* Owner) : TEdit(Owner, NewNativeEdit(*this)) {}

TEdit::TEdit(TComponent* Owner, TNativeEdit* Native)
    : TWinControl(Owner, Native), FWindow(*Native), FFont(std::make_unique<TFont>())
{
    FWindow.SetFocusKind(TFocusKind::Tab);
    FFont->OnChange = [this](TObject*) { ApplyLook(); };
    ApplyLook();
}

TEdit::~TEdit() = default;

std::string TEdit::Text() const { return FWindow.Text(); }

void TEdit::SetText(const std::string& Value)
{
    if (FWindow.Text() != Value)
        FWindow.SetText(Value);
}

void TEdit::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { ApplyLook(); });
}

void TEdit::ApplyLook()
{
    FWindow.SetLook({ColorToRGB(FColor), ColorToRGB(FFont->Color()), FFont->Desc()});
}

TComboBox::TComboBox(TComponent* Owner) : TComboBox(Owner, NewNativeComboBox(*this)) {}

TComboBox::TComboBox(TComponent* Owner, TNativeComboBox* Native)
    : TWinControl(Owner, Native), FWindow(*Native), FFont(std::make_unique<TFont>())
{
    FWindow.SetFocusKind(TFocusKind::Tab);
    FWindow.SetDropDownCount(FDropDownCount);
    FWindow.SetItemHeight(FItemHeight);
    FFont->OnChange = [this](TObject*) { ApplyLook(); };
    ApplyLook();
}

TComboBox::~TComboBox() = default;

void TComboBox::TItems::Add(const std::string& Item)
{
    FOwner.FItemTexts.push_back(Item);
    FOwner.FWindow.AddItem(Item);
}

int TComboBox::TItems::Count() const { return static_cast<int>(FOwner.FItemTexts.size()); }

void TComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems.Count())
        ListIndexError(Value);
    FItemIndex = Value;
    FWindow.SelectItem(Value);
}

std::string TComboBox::Text() const { return FWindow.Text(); }

void TComboBox::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { ApplyLook(); });
}

void TComboBox::SetItemHeight(int Value)
{
    SetProperty(FItemHeight, Value, [this] { FWindow.SetItemHeight(FItemHeight); });
}

void TComboBox::SetDropDownCount(int Value)
{
    SetProperty(FDropDownCount, Value, [this] { FWindow.SetDropDownCount(FDropDownCount); });
}

void TComboBox::ApplyLook()
{
    FWindow.SetLook({ColorToRGB(FColor), ColorToRGB(FFont->Color()), FFont->Desc()});
}

void TComboBox::Picked(int Index)
{
    if (Index == FItemIndex)
        return; // the field showed that item already
    FItemIndex = Index;
    Change();
}

void TComboBox::Typed(const std::string& Text)
{
    const auto item = std::find(FItemTexts.begin(), FItemTexts.end(), Text);
    FItemIndex = item == FItemTexts.end() ? -1 : static_cast<int>(item - FItemTexts.begin());
    Change();
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

// --- what the native windows report ----------------------------------------------------------

void TControlDispatch::Clicked(TButton& Button) { Application->Guard([&] { Button.Click(); }); }

void TControlDispatch::FocusMoved(TButton& Button, const TWinControl* Focus)
{
    Application->Guard([&] { Button.UpdateActive(Focus); });
}

void TControlDispatch::Picked(TComboBox& Box, int Index)
{
    Application->Guard([&] { Box.Picked(Index); });
}

void TControlDispatch::Typed(TComboBox& Box, const std::string& Text)
{
    Application->Guard([&] { Box.Typed(Text); });
}
