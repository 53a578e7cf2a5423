#pragma once
// Framework-internal: the window on the screen under a control, as the shared control logic
// sees it. Controls keep their own rules (properties, painting into the back store, focus and
// tab order, the window-level keys, what counts as a change) in the shared framework sources;
// the windowing system is reached only through these interfaces, and comes back only through
// TControlDispatch. Each OS build links one backend that implements them and the New...
// functions: framework/qt/ over QWidget on Linux, framework/win32/ over HWND on Windows.
//
// Why: the station runs on both systems with the same controls, so what a control does must
// not depend on which windowing system draws it. A rule that both backends would otherwise
// have to repeat belongs in the shared code, not here.
//
// Rules for a backend:
// - A native window belongs to its control; the control calls Destroy once, from its
//   destructor, and never touches the window again. From then on the window forwards nothing,
//   since it may be inside one of its own event handlers at that moment: it is freed later,
//   by the message loop.
// - Every event of the windowing system reaches the control through TControlDispatch, which
//   sends what a handler throws to the application's error dialog. Nothing here calls a
//   control's handlers directly.
// - What the control shows comes from its back store (TControlDispatch::PaintedBackStore);
//   only the edit and the drop-down list draw themselves, as the system's own controls do.
// - What a program sets (SetText, SelectItem, ...) never comes back as an operator's change;
//   only the operator's own picks and typing do (TControlDispatch::Picked, Typed).
// - Coordinates are pixels; Bounds is the client area in the parent's client coordinates, or
//   on the screen for a window without a parent.
//
// Threading: user-interface thread only, like the controls.

#include "framework/Colors.h"
#include "framework/Controls.h"
#include "platform/DrawContext.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <string>

class TButton;
class TComboBox;
class TEdit;
class TForm;

// How a window takes the keyboard focus.
enum class TFocusKind {
    None,  // never (a plain control, a window)
    Click, // when clicked or given it by the program
    Tab,   // also when the operator tabs to it
};

class TNativeWindow {
public:
    virtual void Destroy() = 0;

    // Null makes it a window of its own. Either way it is hidden afterwards: the control shows
    // it again if it should be.
    virtual void SetParentWindow(TNativeWindow* Parent) = 0;
    virtual TRect Bounds() const = 0;
    virtual void SetBounds(const TRect& Bounds) = 0;
    // On the screen: shown, and so are all its parents.
    virtual bool Showing() const = 0;
    virtual void SetShown(bool Value) = 0;
    // A disabled window disables what is inside it too; each keeps its own setting.
    virtual void SetEnabled(bool Value) = 0;

    virtual bool TabStop() const = 0;
    virtual void SetFocusKind(TFocusKind Value) = 0;
    // Tabbing from Previous (a sibling) leads here.
    virtual void TabAfter(TNativeWindow& Previous) = 0;
    virtual bool HasFocus() const = 0;
    // Activates the window that holds it and gives it the focus.
    virtual void TakeFocus() = 0;
    // The control that has the focus in the window that holds this one; null when the focus is
    // elsewhere or on no control.
    virtual TWinControl* FocusedControl() const = 0;

    virtual void SetCursorShape(TCursor Value) = 0;
    virtual bool HasMouseCapture() const = 0;
    virtual void SetMouseCapture(bool Value) = 0;
    virtual TPoint ClientToScreen(TPoint P) const = 0;
    virtual TPoint ScreenToClient(TPoint P) const = 0;

    // Asks for a paint at the next turn of the message loop.
    virtual void InvalidateWindow() = 0;
    // Paints now, if it is showing.
    virtual void PaintNow() = 0;
    // The window and everything inside it, as on the screen, into a PNG file.
    virtual bool SaveScreenshot(const std::string& Path) const = 0;

protected:
    ~TNativeWindow() = default; // Destroy frees it
};

// A push button: the system does the pressing, releasing, Space and the accelerator of the
// caption; the button reports TControlDispatch::Clicked and, when the focus moves anywhere in
// its window, TControlDispatch::FocusMoved.
class TNativeButton : public TNativeWindow {
public:
    // The caption with its accelerator mark; it is never drawn by the system.
    virtual void SetCaption(const std::string& Value) = 0;
    // Held down by the mouse or by the space bar.
    virtual bool Pressed() const = 0;

protected:
    ~TNativeButton() = default;
};

// Background, text colour and font of a control that draws itself.
struct TTextLook {
    TColor Back = 0; // as RGB (ColorToRGB)
    TColor Text = 0;
    platform::TFontDesc Font;
};

class TNativeEdit : public TNativeWindow {
public:
    virtual std::string Text() const = 0;
    // Shows the start of the text.
    virtual void SetText(const std::string& Value) = 0;
    virtual void SetLook(const TTextLook& Look) = 0;

protected:
    ~TNativeEdit() = default;
};

// A drop-down list with a typing field.
class TNativeComboBox : public TNativeWindow {
public:
    // Selects nothing and keeps the field's text.
    virtual void AddItem(const std::string& Item) = 0;
    // Shows the item's text in the field; -1 empties the field.
    virtual void SelectItem(int Index) = 0;
    virtual std::string Text() const = 0;
    virtual void SetLook(const TTextLook& Look) = 0; // the dropped-down list's too
    virtual void SetItemHeight(int Pixels) = 0;
    virtual void SetDropDownCount(int Items) = 0;

protected:
    ~TNativeComboBox() = default;
};

// A top-level window. Showing it for the first time, or again after it was hidden, calls
// TControlDispatch::BeforeShow first; a close request (Close, the title-bar button, the system
// menu) asks TControlDispatch::CloseQuery and hides the window unless refused. Hiding the last
// window that was showing ends a running message loop.
class TNativeForm : public TNativeWindow {
public:
    virtual void SetCaption(const std::string& Value) = 0;
    // Fixed: the operator cannot resize it, and it keeps the size it has now.
    virtual void SetFixedSize(bool Value) = 0;
    virtual void SetTitleButtons(bool SystemMenu, bool Minimize, bool Maximize) = 0;
    // Puts the outer frame in the middle of the desktop's work area.
    virtual void CenterOnScreen() = 0;
    virtual void Close() = 0;

protected:
    ~TNativeForm() = default;
};

// A timer of the message loop: Tick runs on the user-interface thread every Milliseconds
// while started; Start again begins the period anew.
class TNativeTimer {
public:
    virtual ~TNativeTimer() = default;
    virtual void Start(unsigned Milliseconds) = 0;
    virtual void Stop() = 0;
};

// The backend's windows, each made for its control and owned by it.
TNativeWindow* NewNativeControl(TWinControl& Control);
TNativeButton* NewNativeButton(TButton& Button);
TNativeEdit* NewNativeEdit(TEdit& Edit);
TNativeComboBox* NewNativeComboBox(TComboBox& Box);
TNativeForm* NewNativeForm(TForm& Form);
std::unique_ptr<TNativeTimer> NewNativeTimer(std::function<void()> Tick);

// The pointer's place on the screen.
TPoint NativeCursorPos();
// Whether any window of the program holds the mouse capture.
bool NativeMouseCaptured();

// What the native windows report, passed on to the controls' handlers. Every handler runs
// inside the application's Guard.
struct TControlDispatch {
    // The back store at the window's size, painted first if it is out of date.
    static const platform::TBitmapImage& PaintedBackStore(TWinControl& C, int Width, int Height);
    // Shift.Double marks the second press of a double click.
    static void MouseDown(TWinControl& C, TMouseButton Button, TShiftState Shift, TPoint P);
    static void MouseMove(TWinControl& C, TShiftState Shift, TPoint P);
    static void MouseUp(TWinControl& C, TMouseButton Button, TShiftState Shift, TPoint P);
    static void DblClick(TWinControl& C);
    static void MouseEnter(TWinControl& C);
    static void MouseLeave(TWinControl& C);
    // Key is a virtual key code, 0 for keys the controls do not know. The answer says whether
    // the control handled the key; an unhandled key goes on to the system.
    static bool KeyDown(TWinControl& C, int Key, TShiftState Shift);
    static bool KeyUp(TWinControl& C, int Key, TShiftState Shift);
    static void FocusIn(TWinControl& C);
    static void FocusOut(TWinControl& C);
    static void Resized(TWinControl& C);

    static void Clicked(TButton& Button);
    // The focus moved to Focus (null: to no control) in the window that holds Button.
    static void FocusMoved(TButton& Button, const TWinControl* Focus);
    static void Picked(TComboBox& Box, int Index);
    static void Typed(TComboBox& Box, const std::string& Text);
    static void BeforeShow(TForm& Form);
    // Whether the window may close.
    static bool CloseQuery(TForm& Form);
};
