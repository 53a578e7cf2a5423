#pragma once
// The native windows of framework/NativeWindow.h over HWNDs. Every control's window is either
// one of ours (class "OstrelWindow": the plain control and the form, painted from the back
// store) or a system control that we subclass (the owner-drawn BUTTON, EDIT, COMBOBOX), so
// that the same procedure sees its mouse, keys, focus and size first. What a system control
// tells its parent, or the hidden window it was made in (WM_COMMAND, WM_DRAWITEM,
// WM_CTLCOLOR...), is handed back to the child's own object. Include only from
// framework/win32/.
//
// A control's window becomes WS_CHILD when it gets a parent and a top-level WS_POPUP window
// when it leaves one; until then ours are top-level and the system controls wait, hidden, in
// the window they were made in. The form is an overlapped window with a caption. Bounds are the window rectangle in the parent's client area for
// a child, the client area on the screen for a top-level window.
//
// Threading: user-interface thread only; the registries here are never touched by another.

#include "framework/NativeWindow.h"
#include "platform/win32/Windows.h"

class TWin32Window {
public:
    // System: a system class to subclass, or null for ours.
    TWin32Window(TWinControl* Control, const wchar_t* System, DWORD Style);
    virtual ~TWin32Window();
    TWin32Window(const TWin32Window&) = delete;
    TWin32Window& operator=(const TWin32Window&) = delete;

    HWND Handle() const { return FHandle; }
    TWinControl* Control() const { return FControl; }
    // Our object on a window, null for windows that are not ours.
    static TWin32Window* Of(HWND Handle);

    // The generic TNativeWindow, over the handle.
    void DestroyLater();
    void Reparent(TWin32Window* Parent);
    TRect WindowBounds() const;
    virtual void PlaceWindow(const TRect& Bounds);
    bool IsShowing() const { return IsWindowVisible(FHandle); }
    virtual void Show(bool Value);
    void SetFocusable(TFocusKind Value);
    bool IsTabStop() const;
    void PlaceInTabOrderAfter(const TWin32Window& Previous);
    bool OwnsFocus() const;
    void GrabFocus();
    TWinControl* ControlWithFocus() const;
    void ChangeCursor(TCursor Value) { FCursor = Value; }
    bool HoldsCapture() const { return GetCapture() == FHandle; }
    void Capture(bool Value);
    TPoint ToScreen(TPoint P) const;
    TPoint FromScreen(TPoint P) const;
    void Invalidate() { InvalidateRect(FHandle, nullptr, FALSE); }
    void RedrawNow();
    bool Screenshot(const std::string& Path) const;

protected:
    // A message of this window; true when handled, with its result.
    virtual bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result);
    // What the system control reported to its parent about itself (WM_COMMAND's code).
    virtual void Notified(int) {}
    // Background and text of a system control that draws itself; null brush: the system's.
    virtual HBRUSH Colours(HDC) { return nullptr; }
    LRESULT Default(UINT Msg, WPARAM W, LPARAM L);
    // Copies the back store onto Dc (the window's client area).
    void PaintBackStore(HDC Dc);

    TWinControl* FControl;
    HWND FHandle = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND Handle, UINT Msg, WPARAM W, LPARAM L);
    static bool Forwarded(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result);
    LRESULT Dispatch(UINT Msg, WPARAM W, LPARAM L);
    bool Input(UINT Msg, WPARAM W, LPARAM L);
    bool Key(bool Down, WPARAM W);

    WNDPROC FSystemProc = nullptr;
    TFocusKind FFocusKind = TFocusKind::None;
    TCursor FCursor{};
    bool FHovering = false;
};

// Tells every button in the window of Focus that the focus is there now.
void FocusArrived(HWND Focus);
// Clicks the button in the top-level window Root whose accelerator letter is Key (held with
// Alt); false when there is none.
bool Accelerator(HWND Root, int Key);

// The window of any control, for Windows code.
struct TNativeAccess {
    static HWND Handle(const TWinControl& Control)
    {
        return dynamic_cast<TWin32Window*>(Control.FNative)->Handle();
    }
};

template <class Interface = TNativeWindow>
class TWin32Native : public Interface, public TWin32Window {
public:
    using TWin32Window::TWin32Window;

    void Destroy() override { DestroyLater(); }
    void SetParentWindow(TNativeWindow* Parent) override
    {
        Reparent(Parent ? dynamic_cast<TWin32Window*>(Parent) : nullptr);
    }
    TRect Bounds() const override { return WindowBounds(); }
    void SetBounds(const TRect& Bounds) override { PlaceWindow(Bounds); }
    bool Showing() const override { return IsShowing(); }
    void SetShown(bool Value) override { Show(Value); }
    void SetEnabled(bool Value) override { EnableWindow(FHandle, Value); }
    bool TabStop() const override { return IsTabStop(); }
    void SetFocusKind(TFocusKind Value) override { SetFocusable(Value); }
    void TabAfter(TNativeWindow& Previous) override
    {
        PlaceInTabOrderAfter(dynamic_cast<TWin32Window&>(Previous));
    }
    bool HasFocus() const override { return OwnsFocus(); }
    void TakeFocus() override { GrabFocus(); }
    TWinControl* FocusedControl() const override { return ControlWithFocus(); }
    void SetCursorShape(TCursor Value) override { ChangeCursor(Value); }
    bool HasMouseCapture() const override { return HoldsCapture(); }
    void SetMouseCapture(bool Value) override { Capture(Value); }
    TPoint ClientToScreen(TPoint P) const override { return ToScreen(P); }
    TPoint ScreenToClient(TPoint P) const override { return FromScreen(P); }
    void InvalidateWindow() override { Invalidate(); }
    void PaintNow() override { RedrawNow(); }
    bool SaveScreenshot(const std::string& Path) const override { return Screenshot(Path); }
};
