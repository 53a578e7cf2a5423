#include "framework/InputDriver.h"

#include "framework/Application.h"
#include "framework/win32/Win32Window.h"

#include <stdexcept>
#include <string>

// Input is sent to the control's window as the system would post it, with the keyboard state
// holding the modifiers while it is handled.
namespace Input {

namespace {

// Holds Shift, Ctrl and Alt down in the thread's keyboard state while it lives.
class TModifiers {
public:
    explicit TModifiers(TShiftState Shift)
    {
        GetKeyboardState(FSaved);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = Shift.Shift ? 0x80 : 0;
        state[VK_CONTROL] = Shift.Ctrl ? 0x80 : 0;
        state[VK_MENU] = Shift.Alt ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~TModifiers() { SetKeyboardState(FSaved); }

private:
    BYTE FSaved[256];
};

WPARAM Flags(TShiftState Shift)
{
    return (Shift.Shift ? MK_SHIFT : 0) | (Shift.Ctrl ? MK_CONTROL : 0) |
           (Shift.Left ? MK_LBUTTON : 0) | (Shift.Right ? MK_RBUTTON : 0) |
           (Shift.Middle ? MK_MBUTTON : 0);
}

LPARAM At(TPoint P) { return MAKELPARAM(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)); }

// The messages of a button: down, up, second press of a double click.
struct TButtonMessages {
    UINT Down, Up, Double;
    WPARAM Flag;
};

TButtonMessages MessagesOf(TMouseButton Button)
{
    switch (Button) {
    case TMouseButton::mbRight: return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, MK_RBUTTON};
    case TMouseButton::mbMiddle: return {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, MK_MBUTTON};
    case TMouseButton::mbLeft: break;
    }
    return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, MK_LBUTTON};
}

void Mouse(TWinControl& Control, UINT Msg, WPARAM Flags, TPoint P, TShiftState Shift)
{
    const TModifiers held(Shift);
    SendMessageW(TNativeAccess::Handle(Control), Msg, Flags, At(P));
}

// Keys go where the system sends them: to the part of the control that has the focus.
HWND KeyTarget(TWinControl& Control)
{
    const HWND window = TNativeAccess::Handle(Control);
    const HWND focus = GetFocus();
    return focus && IsChild(window, focus) ? focus : window;
}

void CheckKey(int Key)
{
    const bool known = Key == VirtualKey::Back || Key == VirtualKey::Tab ||
                       Key == VirtualKey::Return || Key == VirtualKey::Escape ||
                       Key == VirtualKey::Space ||
                       (Key >= VirtualKey::Left && Key <= VirtualKey::Down) ||
                       (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9');
    if (!known)
        throw std::invalid_argument("no key for virtual key " + std::to_string(Key));
}

// The character a key types, 0 for none.
wchar_t CharOf(int Key, TShiftState Shift)
{
    const bool arrow = Key >= VirtualKey::Left && Key <= VirtualKey::Down;
    if (Shift.Ctrl || Shift.Alt || Key == VirtualKey::Tab || arrow)
        return 0;
    if (Key >= 'A' && Key <= 'Z' && !Shift.Shift)
        return static_cast<wchar_t>(Key - 'A' + 'a');
    return static_cast<wchar_t>(Key);
}

} // namespace

void MouseDown(TWinControl& Control, TMouseButton Button, TPoint P, TShiftState Shift)
{
    const TButtonMessages m = MessagesOf(Button);
    Mouse(Control, m.Down, Flags(Shift) | m.Flag, P, Shift);
}

void MouseUp(TWinControl& Control, TMouseButton Button, TPoint P, TShiftState Shift)
{
    Mouse(Control, MessagesOf(Button).Up, Flags(Shift), P, Shift);
}

void MouseMove(TWinControl& Control, TPoint P, TShiftState Shift)
{
    Mouse(Control, WM_MOUSEMOVE, Flags(Shift), P, Shift);
}

void Click(TWinControl& Control, TPoint P, TMouseButton Button)
{
    MouseDown(Control, Button, P);
    MouseUp(Control, Button, P);
}

void DoubleClick(TWinControl& Control, TPoint P, TMouseButton Button)
{
    const TButtonMessages m = MessagesOf(Button);
    Mouse(Control, m.Double, m.Flag, P, {});
}

void MoveCursor(TPoint Screen)
{
    SetCursorPos(Screen.X, Screen.Y);
    Application->ProcessMessages();
}

void KeyDown(TWinControl& Control, int Key, TShiftState Shift)
{
    CheckKey(Key);
    const TModifiers held(Shift);
    const HWND target = KeyTarget(Control);
    // With Alt held the system sends its own kind of key message, marked with bit 29.
    SendMessageW(target, Shift.Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(Key),
                 Shift.Alt ? 0x20000001 : 1);
    if (const wchar_t c = CharOf(Key, Shift))
        SendMessageW(target, WM_CHAR, c, 1);
}

void KeyUp(TWinControl& Control, int Key, TShiftState Shift)
{
    CheckKey(Key);
    const TModifiers held(Shift);
    SendMessageW(KeyTarget(Control), Shift.Alt ? WM_SYSKEYUP : WM_KEYUP,
                 static_cast<WPARAM>(Key), Shift.Alt ? 0xE0000001 : 0xC0000001);
}

void KeyPress(TWinControl& Control, int Key, TShiftState Shift)
{
    KeyDown(Control, Key, Shift);
    KeyUp(Control, Key, Shift);
}

bool ActivateWindow(TWinControl& Control)
{
    const HWND root = GetAncestor(TNativeAccess::Handle(Control), GA_ROOT);
    SetForegroundWindow(root);
    SetActiveWindow(root);
    return Application->ProcessMessagesUntil([root] { return GetActiveWindow() == root; }, 3000);
}

} // namespace Input
