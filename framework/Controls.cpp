#include "framework/Controls.h"

#include "framework/Application.h"
#include "framework/NativeWindow.h"
#include "framework/Property.h"

#include <algorithm>

TWinControl::TWinControl(TComponent* Owner) : TWinControl(Owner, NewNativeControl(*this))
{
    FNative->SetFocusKind(TFocusKind::None);
}

TWinControl::TWinControl(TComponent* Owner, TNativeWindow* Native)
    : TComponent(Owner), FNative(Native),
      FBackStore(std::make_unique<platform::TBitmapImage>(1, 1))
{
}

TWinControl::~TWinControl()
{
    // Children are freed by their owner, maybe after this control: let go of their windows so
    // that they do not go with ours.
    for (TWinControl* child : FControls) {
        child->FNative->SetParentWindow(nullptr);
        child->FParent = nullptr;
    }
    if (FParent)
        FParent->RemoveControl(this);
    FNative->Destroy();
}

void TWinControl::RemoveControl(TWinControl* Child)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Child), FControls.end());
}

void TWinControl::SetParent(TWinControl* Value)
{
    if (Value == FParent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = Value;
    FNative->SetParentWindow(Value ? Value->FNative : nullptr);
    if (Value) {
        Value->FControls.push_back(this);
        // A control stays as visible as it was, whatever the platform does to a window that
        // changes parent.
        FNative->SetShown(FVisible);
        // A tab order given before the parent takes its place now.
        if (FTabOrder >= 0)
            Value->ChainTabOrder();
    }
}

// The client position, for windows too: it is what SetBounds sets.
int TWinControl::Left() const { return FNative->Bounds().Left; }
int TWinControl::Top() const { return FNative->Bounds().Top; }
int TWinControl::Width() const { return FNative->Bounds().Width(); }
int TWinControl::Height() const { return FNative->Bounds().Height(); }
void TWinControl::SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
void TWinControl::SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
void TWinControl::SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
void TWinControl::SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FNative->SetBounds({ALeft, ATop, ALeft + std::max(0, AWidth), ATop + std::max(0, AHeight)});
}

TRect TWinControl::ClientRect() const { return {0, 0, Width(), Height()}; }

TRect TWinControl::BoundsRect() const
{
    return {Left(), Top(), Left() + Width(), Top() + Height()};
}

// The platform closes windows by itself (the title-bar button, Close): ask it.
bool TWinControl::Visible() const { return FParent ? FVisible : FNative->Showing(); }

void TWinControl::SetVisible(bool Value)
{
    FVisible = Value;
    FNative->SetShown(Value);
}

bool TWinControl::Enabled() const { return FEnabled; }

void TWinControl::SetEnabled(bool Value)
{
    if (!StoreChanged(FEnabled, Value))
        return;
    FNative->SetEnabled(Value);
    EnabledChanged();
    Invalidate();
}

int TWinControl::ControlCount() const { return static_cast<int>(FControls.size()); }

TWinControl* TWinControl::Controls(int Index) const { return FControls.at(Index); }

bool TWinControl::TabStop() const { return FNative->TabStop(); }

void TWinControl::SetTabStop(bool Value)
{
    FNative->SetFocusKind(Value ? TFocusKind::Tab : TFocusKind::Click);
}

void TWinControl::SetTabOrder(int Value)
{
    FTabOrder = Value;
    if (FParent)
        FParent->ChainTabOrder();
}

void TWinControl::ChainTabOrder()
{
    auto children = FControls;
    std::stable_sort(children.begin(), children.end(), [](auto* a, auto* b) {
        return a->FTabOrder < b->FTabOrder;
    });
    for (size_t i = 1; i < children.size(); ++i)
        children[i]->FNative->TabAfter(*children[i - 1]->FNative);
}

bool TWinControl::Focused() const { return FNative->HasFocus(); }

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c; c = c->FParent)
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus() { FNative->TakeFocus(); }

void TWinControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    FNative->SetCursorShape(Value);
}

bool TWinControl::MouseCapture() const { return FNative->HasMouseCapture(); }

void TWinControl::SetMouseCapture(bool Value) { FNative->SetMouseCapture(Value); }

TPoint TWinControl::ClientToScreen(TPoint P) const { return FNative->ClientToScreen(P); }

TPoint TWinControl::ScreenToClient(TPoint P) const { return FNative->ScreenToClient(P); }

TPoint TWinControl::CursorPos() { return NativeCursorPos(); }

void TWinControl::Invalidate()
{
    FPaintPending = true;
    FNative->InvalidateWindow();
}

void TWinControl::Update()
{
    if (!FPaintPending)
        return;
    PaintBackStore();
    FNative->PaintNow();
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

const platform::TBitmapImage& TWinControl::BackStore() const { return *FBackStore; }

bool TWinControl::SaveScreenshot(const std::string& Path) const
{
    return FNative->SaveScreenshot(Path);
}

void TWinControl::PaintBackStore()
{
    FPaintPending = false;
    const int w = std::max(1, Width());
    const int h = std::max(1, Height());
    if (FBackStore->Width() != w || FBackStore->Height() != h)
        FBackStore = std::make_unique<platform::TBitmapImage>(w, h);
    platform::TDrawContext dc(*FBackStore);
    Application->Guard([&] { Paint(dc); });
}

void TWinControl::Paint(platform::TDrawContext&) {}
void TWinControl::MouseDown(TMouseButton, TShiftState, int, int) {}
void TWinControl::MouseMove(TShiftState, int, int) {}
void TWinControl::MouseUp(TMouseButton, TShiftState, int, int) {}
void TWinControl::DblClick() {}
void TWinControl::MouseEnter() {}
void TWinControl::MouseLeave() {}
void TWinControl::KeyDown(int&, TShiftState) {}
void TWinControl::KeyUp(int&, TShiftState) {}
void TWinControl::DoEnter() {}
void TWinControl::DoExit() {}
void TWinControl::Resize() {}
void TWinControl::EnabledChanged() {}

// --- what the native window reports --------------------------------------------------------

const platform::TBitmapImage& TControlDispatch::PaintedBackStore(TWinControl& C, int Width,
                                                                 int Height)
{
    C.BeforeNativePaint();
    if (C.FPaintPending || C.FBackStore->Width() != std::max(1, Width) ||
        C.FBackStore->Height() != std::max(1, Height))
        C.PaintBackStore();
    return *C.FBackStore;
}

void TControlDispatch::MouseDown(TWinControl& C, TMouseButton Button, TShiftState Shift, TPoint P)
{
    Application->Guard([&] { C.MouseDown(Button, Shift, P.X, P.Y); });
}

void TControlDispatch::MouseMove(TWinControl& C, TShiftState Shift, TPoint P)
{
    Application->Guard([&] { C.MouseMove(Shift, P.X, P.Y); });
}

void TControlDispatch::MouseUp(TWinControl& C, TMouseButton Button, TShiftState Shift, TPoint P)
{
    Application->Guard([&] { C.MouseUp(Button, Shift, P.X, P.Y); });
}

void TControlDispatch::DblClick(TWinControl& C) { Application->Guard([&] { C.DblClick(); }); }
void TControlDispatch::MouseEnter(TWinControl& C) { Application->Guard([&] { C.MouseEnter(); }); }
void TControlDispatch::MouseLeave(TWinControl& C) { Application->Guard([&] { C.MouseLeave(); }); }

bool TControlDispatch::KeyDown(TWinControl& C, int Key, TShiftState Shift)
{
    if (Key == 0)
        return false;
    Application->Guard([&] { C.KeyDown(Key, Shift); });
    return Key == 0;
}

bool TControlDispatch::KeyUp(TWinControl& C, int Key, TShiftState Shift)
{
    if (Key == 0)
        return false;
    Application->Guard([&] { C.KeyUp(Key, Shift); });
    return Key == 0;
}

void TControlDispatch::FocusIn(TWinControl& C) { Application->Guard([&] { C.DoEnter(); }); }
void TControlDispatch::FocusOut(TWinControl& C) { Application->Guard([&] { C.DoExit(); }); }

void TControlDispatch::Resized(TWinControl& C)
{
    Application->Guard([&] { C.Resize(); });
    C.Invalidate();
}
