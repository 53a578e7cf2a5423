#include "framework/win32/Win32Window.h"

#include "platform/win32/GdiBridge.h"

#include <windowsx.h>

namespace {

constexpr wchar_t kClass[] = L"OstrelWindow";
// Posted by DestroyLater: the window goes once the handler it may be inside has returned.
constexpr UINT kDestroy = WM_APP + 1;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterOnce(WNDPROC Procedure)
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS; // double clicks arrive as such, as they do for buttons
    wc.lpfnWndProc = Procedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    registered = true;
}

// Where the system controls are made. Some of them (the drop-down list) keep the window they
// were made in for good and send it their notifications: this one hands those on to them,
// wherever the controls have moved since.
HWND Nursery(WNDPROC Procedure)
{
    static HWND nursery = nullptr;
    if (!nursery) {
        RegisterOnce(Procedure);
        nursery = CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  Instance(), nullptr);
    }
    return nursery;
}

LPCWSTR CursorOf(TCursor C)
{
    switch (C) {
    case TCursor::crCross: return reinterpret_cast<LPCWSTR>(IDC_CROSS);
    case TCursor::crHandPoint: return reinterpret_cast<LPCWSTR>(IDC_HAND);
    case TCursor::crSizeAll:
    case TCursor::crDrag: return reinterpret_cast<LPCWSTR>(IDC_SIZEALL);
    case TCursor::crDefault:
    case TCursor::crArrow: break;
    }
    return reinterpret_cast<LPCWSTR>(IDC_ARROW);
}

// The keys that controls know by their virtual key codes; others arrive as 0.
int KeyCodeOf(WPARAM W)
{
    const int key = static_cast<int>(W);
    switch (key) {
    case VK_BACK: case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_SPACE:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        return key;
    default:
        return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ? key : 0;
    }
}

bool Held(int Key) { return GetKeyState(Key) < 0; }

TShiftState KeyShift()
{
    TShiftState s;
    s.Shift = Held(VK_SHIFT);
    s.Ctrl = Held(VK_CONTROL);
    s.Alt = Held(VK_MENU);
    return s;
}

TShiftState MouseShift(WPARAM W)
{
    TShiftState s;
    s.Shift = W & MK_SHIFT;
    s.Ctrl = W & MK_CONTROL;
    s.Alt = Held(VK_MENU);
    s.Left = W & MK_LBUTTON;
    s.Right = W & MK_RBUTTON;
    s.Middle = W & MK_MBUTTON;
    return s;
}

} // namespace

TWin32Window::TWin32Window(TWinControl* Control, const wchar_t* System, DWORD Style)
    : FControl(Control)
{
    RegisterOnce(&Procedure);
    if (System)
        FHandle = CreateWindowExW(0, System, L"", (Style & ~WS_POPUP) | WS_CHILD, 0, 0, 0, 0,
                                  Nursery(&Procedure), nullptr, Instance(), nullptr);
    else
        FHandle = CreateWindowExW(0, kClass, L"", Style, 0, 0, 0, 0, nullptr, nullptr,
                                  Instance(), nullptr);
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (System)
        FSystemProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
}

TWin32Window::~TWin32Window() = default;

TWin32Window* TWin32Window::Of(HWND Handle)
{
    if (!Handle)
        return nullptr;
    const WNDPROC procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC));
    if (procedure != &Procedure)
        return nullptr; // no window of ours: its user data is not ours either
    return reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(Handle, GWLP_USERDATA));
}

void TWin32Window::DestroyLater()
{
    FControl = nullptr;
    ShowWindow(FHandle, SW_HIDE);
    Reparent(nullptr);
    PostMessageW(FHandle, kDestroy, 0, 0);
}

void TWin32Window::Reparent(TWin32Window* Parent)
{
    const TRect bounds = WindowBounds();
    ShowWindow(FHandle, SW_HIDE);
    // A form stays the overlapped window it was made as; a control that leaves its parent
    // becomes a window of its own, as it was before it had one.
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (Parent)
        style = (style & ~WS_POPUP) | WS_CHILD;
    else if (style & WS_CHILD)
        style = (style & ~WS_CHILD) | WS_POPUP;
    SetWindowLongPtrW(FHandle, GWL_STYLE, style);
    SetParent(FHandle, Parent ? Parent->FHandle : nullptr);
    PlaceWindow(bounds);
    // Siblings tab in the order they got their parent, until a tab order is given.
    SetWindowPos(FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TRect TWin32Window::WindowBounds() const
{
    RECT r;
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) {
        GetWindowRect(FHandle, &r);
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetClientRect(FHandle, &r);
        MapWindowPoints(FHandle, nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    return {r.left, r.top, r.right, r.bottom};
}

void TWin32Window::PlaceWindow(const TRect& Bounds)
{
    SetWindowPos(FHandle, nullptr, Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::Show(bool Value) { ShowWindow(FHandle, Value ? SW_SHOW : SW_HIDE); }

void TWin32Window::SetFocusable(TFocusKind Value)
{
    FFocusKind = Value;
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE) & ~WS_TABSTOP;
    if (Value == TFocusKind::Tab)
        style |= WS_TABSTOP;
    SetWindowLongPtrW(FHandle, GWL_STYLE, style);
}

bool TWin32Window::IsTabStop() const
{
    return GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_TABSTOP;
}

// Tabbing follows the order of the siblings, which is their z-order.
void TWin32Window::PlaceInTabOrderAfter(const TWin32Window& Previous)
{
    SetWindowPos(FHandle, Previous.FHandle, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A system control may hand its focus on to a part of its own (the typing field of a
// drop-down list).
bool TWin32Window::OwnsFocus() const
{
    const HWND focus = GetFocus();
    return focus && (focus == FHandle || IsChild(FHandle, focus));
}

void TWin32Window::GrabFocus()
{
    const HWND root = GetAncestor(FHandle, GA_ROOT);
    if (GetActiveWindow() != root)
        SetActiveWindow(root);
    SetFocus(FHandle);
}

TWinControl* TWin32Window::ControlWithFocus() const
{
    const HWND focus = GetFocus();
    if (!focus || GetAncestor(focus, GA_ROOT) != GetAncestor(FHandle, GA_ROOT))
        return nullptr;
    const TWin32Window* window = Of(focus);
    return window ? window->FControl : nullptr;
}

void TWin32Window::Capture(bool Value)
{
    if (Value)
        SetCapture(FHandle);
    else if (HoldsCapture())
        ReleaseCapture();
}

TPoint TWin32Window::ToScreen(TPoint P) const
{
    POINT p{P.X, P.Y};
    ::ClientToScreen(FHandle, &p);
    return {p.x, p.y};
}

TPoint TWin32Window::FromScreen(TPoint P) const
{
    POINT p{P.X, P.Y};
    ::ScreenToClient(FHandle, &p);
    return {p.x, p.y};
}

void TWin32Window::RedrawNow()
{
    if (IsShowing())
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool TWin32Window::Screenshot(const std::string& Path) const
{
    RECT r;
    GetClientRect(FHandle, &r);
    platform::TBitmapImage image(std::max<int>(1, r.right), std::max<int>(1, r.bottom));
    const HDC screen = GetDC(FHandle);
    const bool copied = BitBlt(platform::win32::DcOf(image), 0, 0, r.right, r.bottom, screen, 0,
                               0, SRCCOPY);
    ReleaseDC(FHandle, screen);
    return copied && image.SavePng(Path);
}

void TWin32Window::PaintBackStore(HDC Dc)
{
    RECT r;
    GetClientRect(FHandle, &r);
    const platform::TBitmapImage& image =
        TControlDispatch::PaintedBackStore(*FControl, r.right, r.bottom);
    BitBlt(Dc, 0, 0, image.Width(), image.Height(), platform::win32::DcOf(image), 0, 0,
           SRCCOPY);
}

LRESULT TWin32Window::Default(UINT Msg, WPARAM W, LPARAM L)
{
    return FSystemProc ? CallWindowProcW(FSystemProc, FHandle, Msg, W, L)
                       : DefWindowProcW(FHandle, Msg, W, L);
}

LRESULT CALLBACK TWin32Window::Procedure(HWND Handle, UINT Msg, WPARAM W, LPARAM L)
{
    LRESULT result = 0;
    if (Forwarded(Msg, W, L, result))
        return result;
    auto* window = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(Handle, GWLP_USERDATA));
    if (!window) // messages of creation, before the object is attached
        return DefWindowProcW(Handle, Msg, W, L);
    return window->Dispatch(Msg, W, L);
}

LRESULT TWin32Window::Dispatch(UINT Msg, WPARAM W, LPARAM L)
{
    if (Msg == kDestroy) {
        DestroyWindow(FHandle);
        return 0;
    }
    if (Msg == WM_NCDESTROY) {
        const LRESULT result = Default(Msg, W, L);
        delete this;
        return result;
    }
    LRESULT result = 0;
    if (FControl && Message(Msg, W, L, result))
        return result;
    return Default(Msg, W, L);
}

bool TWin32Window::Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result)
{
    switch (Msg) {
    case WM_PAINT:
        if (FSystemProc)
            return false;
        {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(FHandle, &ps);
            PaintBackStore(dc);
            EndPaint(FHandle, &ps);
        }
        return true;
    case WM_ERASEBKGND:
        Result = 1; // the back store covers everything
        return !FSystemProc;
    case WM_SETCURSOR:
        if (LOWORD(L) != HTCLIENT || FSystemProc)
            return false;
        SetCursor(LoadCursorW(nullptr, CursorOf(FCursor)));
        Result = TRUE;
        return true;
    case WM_SETFOCUS:
        TControlDispatch::FocusIn(*FControl);
        FocusArrived(FHandle);
        return false;
    case WM_KILLFOCUS:
        TControlDispatch::FocusOut(*FControl);
        return false;
    case WM_SIZE:
        TControlDispatch::Resized(*FControl);
        return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        // From a part of this system control (the drop-down list's field and list).
        const HBRUSH brush = Colours(reinterpret_cast<HDC>(W));
        Result = reinterpret_cast<LRESULT>(brush);
        return brush != nullptr;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return Key(true, W);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return Key(false, W);
    default:
        return Input(Msg, W, L);
    }
}

// What a system control of ours tells the window it was made in, or its parent, goes back to
// the control's own object.
bool TWin32Window::Forwarded(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result)
{
    HWND from = reinterpret_cast<HWND>(L);
    switch (Msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        break;
    case WM_DRAWITEM:
        from = reinterpret_cast<const DRAWITEMSTRUCT*>(L)->hwndItem;
        break;
    default:
        return false;
    }
    TWin32Window* child = Of(from);
    if (!child || !child->FControl)
        return false;
    if (Msg == WM_COMMAND) {
        child->Notified(HIWORD(W));
    } else if (Msg == WM_DRAWITEM) {
        child->PaintBackStore(reinterpret_cast<const DRAWITEMSTRUCT*>(L)->hDC);
        Result = TRUE;
    } else {
        const HBRUSH brush = child->Colours(reinterpret_cast<HDC>(W));
        if (!brush)
            return false;
        Result = reinterpret_cast<LRESULT>(brush);
    }
    return true;
}

bool TWin32Window::Input(UINT Msg, WPARAM W, LPARAM L)
{
    const TPoint p{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
    TShiftState shift = MouseShift(W);
    TMouseButton button = TMouseButton::mbLeft;
    switch (Msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        button = TMouseButton::mbRight;
        break;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        button = TMouseButton::mbMiddle;
        break;
    default: break;
    }
    switch (Msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        if (!FSystemProc && FFocusKind != TFocusKind::None)
            SetFocus(FHandle);
        TControlDispatch::MouseDown(*FControl, button, shift, p);
        return false;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        shift.Double = true;
        TControlDispatch::MouseDown(*FControl, button, shift, p);
        if (FControl)
            TControlDispatch::DblClick(*FControl);
        return false;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        TControlDispatch::MouseUp(*FControl, button, shift, p);
        return false;
    case WM_MOUSEMOVE:
        if (!FHovering) {
            FHovering = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHandle, 0};
            TrackMouseEvent(&track);
            TControlDispatch::MouseEnter(*FControl);
        }
        if (FControl)
            TControlDispatch::MouseMove(*FControl, shift, p);
        return false;
    case WM_MOUSELEAVE:
        FHovering = false;
        TControlDispatch::MouseLeave(*FControl);
        return false;
    default:
        return false;
    }
}

// A key the control leaves goes on to the controls around it, up to the window, as the
// window-level keys (Esc, Enter) need. Of what nobody took, Tab moves the focus and Alt with
// a letter clicks the button it marks.
bool TWin32Window::Key(bool Down, WPARAM W)
{
    const int key = KeyCodeOf(W);
    const TShiftState shift = KeyShift();
    for (HWND h = FHandle; h; h = GetParent(h)) {
        TWin32Window* window = Of(h);
        if (!window || !window->FControl)
            continue;
        const bool handled = Down ? TControlDispatch::KeyDown(*window->FControl, key, shift)
                                  : TControlDispatch::KeyUp(*window->FControl, key, shift);
        if (handled)
            return true;
        if (!FControl)
            return true; // a handler freed this control
    }
    if (!Down)
        return false;
    const HWND root = GetAncestor(FHandle, GA_ROOT);
    if (key == VK_TAB && !shift.Ctrl && !shift.Alt) {
        if (const HWND next = GetNextDlgTabItem(root, FHandle, shift.Shift)) {
            SetFocus(next);
            return true;
        }
    }
    return shift.Alt && !shift.Ctrl && key >= '0' && Accelerator(root, key);
}
