#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/win32/Win32Window.h"

#include "platform/win32/Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD kFrame = WS_CAPTION | WS_CLIPCHILDREN;

// The forms there are, so that hiding the last one that shows ends the message loop.
std::vector<class TFormWindow*>& Forms()
{
    static std::vector<TFormWindow*> forms;
    return forms;
}

// The top-level window with a caption. Its bounds are those of its client area; the frame
// around it follows the title-bar buttons and whether it can be resized.
class TFormWindow final : public TWin32Native<TNativeForm> {
public:
    explicit TFormWindow(TForm* Form)
        : TWin32Native(Form, nullptr, kFrame | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                          WS_THICKFRAME)
    {
        SetWindowLongPtrW(FHandle, GWL_EXSTYLE, WS_EX_CONTROLPARENT); // Tab goes inside
        Forms().push_back(this);
    }
    ~TFormWindow() override { std::erase(Forms(), this); }

    void PlaceWindow(const TRect& Bounds) override
    {
        RECT r{Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom};
        AdjustWindowRectEx(&r, Style(), FALSE, GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
        SetWindowPos(FHandle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }

    void Show(bool Value) override
    {
        if (Value && !IsShowing())
            TControlDispatch::BeforeShow(*static_cast<TForm*>(FControl));
        TWin32Native::Show(Value);
    }

    void SetCaption(const std::string& Value) override
    {
        SetWindowTextW(FHandle, platform::win32::WideOf(Value).c_str());
    }

    // The limits hold the frame that fits the client area without the sizing border: set
    // them once that frame is in place.
    void SetFixedSize(bool Value) override
    {
        FFixed = false;
        Restyle(WS_THICKFRAME, !Value);
        FFixed = Value;
    }

    void SetTitleButtons(bool SystemMenu, bool Minimize, bool Maximize) override
    {
        Restyle(WS_SYSMENU, SystemMenu);
        Restyle(WS_MINIMIZEBOX, Minimize);
        Restyle(WS_MAXIMIZEBOX, Maximize);
    }

    void CenterOnScreen() override
    {
        RECT desktop, frame;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
        GetWindowRect(FHandle, &frame);
        const int w = frame.right - frame.left;
        const int h = frame.bottom - frame.top;
        SetWindowPos(FHandle, nullptr, desktop.left + (desktop.right - desktop.left - w) / 2,
                     desktop.top + (desktop.bottom - desktop.top - h) / 2, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    void Close() override { SendMessageW(FHandle, WM_CLOSE, 0, 0); }

protected:
    bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override
    {
        if (Msg == WM_CLOSE) {
            if (TControlDispatch::CloseQuery(*static_cast<TForm*>(FControl))) {
                Show(false);
                if (std::none_of(Forms().begin(), Forms().end(),
                                 [](const TFormWindow* f) { return f->IsShowing(); }))
                    Application->Terminate();
            }
            return true;
        }
        if (Msg == WM_ACTIVATE)
            return Activated(LOWORD(W) != WA_INACTIVE);
        if (Msg == WM_GETMINMAXINFO && FFixed) {
            RECT r;
            GetWindowRect(FHandle, &r);
            auto* info = reinterpret_cast<MINMAXINFO*>(L);
            info->ptMinTrackSize = info->ptMaxTrackSize = {r.right - r.left, r.bottom - r.top};
            return true;
        }
        return TWin32Native::Message(Msg, W, L, Result);
    }

private:
    // The control that had the focus when the window was left gets it back, or else the first
    // one in the tab order, as a dialog does.
    bool Activated(bool Active)
    {
        const HWND focus = GetFocus();
        if (!Active) {
            if (focus && IsChild(FHandle, focus))
                FLastFocus = focus;
            return false;
        }
        if (focus && IsChild(FHandle, focus))
            return true;
        HWND target = FLastFocus;
        if (!target || !IsChild(FHandle, target) || !IsWindowVisible(target) ||
            !IsWindowEnabled(target))
            target = GetNextDlgTabItem(FHandle, nullptr, FALSE);
        if (!target)
            return false;
        SetFocus(target);
        return true;
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrW(FHandle, GWL_STYLE)); }

    // Changes the frame and keeps the client area where it is.
    void Restyle(DWORD Bits, bool On)
    {
        const TRect client = WindowBounds();
        SetWindowLongPtrW(FHandle, GWL_STYLE, On ? Style() | Bits : Style() & ~Bits);
        PlaceWindow(client);
    }

    bool FFixed = false;
    HWND FLastFocus = nullptr;
};

} // namespace

TNativeForm* NewNativeForm(TForm& Form) { return new TFormWindow(&Form); }
