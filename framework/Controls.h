#pragma once
// Visual controls: a window on the screen with a position, a size, a parent, focus, mouse and
// keyboard input, and painting into a back store of its own.
//
// A control paints by overriding Paint, which draws on Canvas: a drawing context over the
// control's back store (an image of the control's size). The back store reaches the screen in
// one copy after Paint returns, so no half-drawn control is ever shown. Invalidate asks for a
// paint at the next turn of the message loop; several invalidations before it make one paint.
//
// Input arrives through the protected virtual handlers; an exception that leaves one goes to
// the application's error dialog and the control keeps working.
//
// Threading: user-interface thread only.

#include "framework/Classes.h"
#include "platform/DrawContext.h"
#include "platform/Types.h"

#include <memory>
#include <string>
#include <vector>

// The platform window under a control; only framework sources see inside it
// (framework/qt/NativeWidget.h).
class TNativeWindow;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift, Ctrl, Alt and the mouse buttons held during an input event.
struct TShiftState {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool Left = false;
    bool Right = false;
    bool Middle = false;
    bool Double = false;
    bool AnyModifier() const { return Shift || Ctrl || Alt; }
};

enum class TCursor { crDefault, crArrow, crCross, crHandPoint, crSizeAll, crDrag };

// Virtual key codes of the keys that controls react to, with the classic values.
namespace VirtualKey {
constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
} // namespace VirtualKey

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* Owner);
    ~TWinControl() override;

    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* Value);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int Value);
    void SetTop(int Value);
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect ClientRect() const; // (0, 0, Width, Height)
    TRect BoundsRect() const; // in the parent's coordinates

    // A control inside a parent is visible as long as it has not been hidden, whether or not
    // its window is on the screen; a window (no parent) only while it is shown, so a window
    // that has been closed, or never shown, is not.
    bool Visible() const;
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool Value);

    bool TabStop() const;
    void SetTabStop(bool Value);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int Value);
    bool Focused() const;
    bool CanFocus() const; // visible and enabled, and so are all its parents
    void SetFocus();

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // Screen positions, in pixels of the screen.
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;
    static TPoint CursorPos();

    // Asks for a paint at the next turn of the message loop. Controls that keep a picture of
    // their own (the chart's off-screen image) override it to mark that picture stale too.
    virtual void Invalidate();
    // Paints now if a paint is pending.
    void Update();
    // Invalidate, then Update.
    void Repaint();

    // The last painted picture of the control (for tests and screenshots).
    const platform::TBitmapImage& BackStore() const;
    // Renders the control and everything inside it, as on the screen, into a PNG.
    bool SaveScreenshot(const std::string& Path) const;

protected:
    // For framework classes that sit on a particular native widget: Native is made with
    // framework/qt/NativeWidget.h and is owned by the control from here on.
    TWinControl(TComponent* Owner, TNativeWindow* Native);

    // Draw the whole control on Canvas (the back store, client coordinates).
    virtual void Paint(platform::TDrawContext& Canvas);

    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Key is a virtual key code; set it to 0 to say the key has been handled.
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual void DoEnter(); // focus arrived
    virtual void DoExit();  // focus left
    virtual void Resize();
    virtual void EnabledChanged();

private:
    template <class> friend class TNativeWidget;
    friend struct TNativeAccess;
    friend struct TControlDispatch;

    void PaintBackStore();
    void RemoveControl(TWinControl* Child);
    // Links the children's widgets in the order of their TabOrder.
    void ChainTabOrder();

    TNativeWindow* FNative;
    TWinControl* FParent = nullptr;
    std::vector<TWinControl*> FControls; // children, not owned (their Owner frees them)
    bool FVisible = true;
    bool FPaintPending = true;
    int FTabOrder = -1;
    TCursor FCursor = TCursor::crDefault;
    std::unique_ptr<platform::TBitmapImage> FBackStore;
};
