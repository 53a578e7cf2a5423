#include "framework/StdCtrls.h"
#include "framework/win32/Win32Window.h"

#include "platform/win32/Text.h"

#include <commctrl.h> // CB_SETMINVISIBLE

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// The buttons there are, so that each hears where the focus went in its window.
std::vector<class TButtonWindow*>& Buttons()
{
    static std::vector<TButtonWindow*> buttons;
    return buttons;
}

std::string TextOf(HWND Handle)
{
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(Handle)) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(Handle, wide.data(), int(wide.size()))));
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), n, nullptr,
                        nullptr);
    return text;
}

void SetTextOf(HWND Handle, const std::string& Text)
{
    SetWindowTextW(Handle, platform::win32::WideOf(Text).c_str());
}

// The owner-drawn push button: the system does the pressing, releasing, clicking and Space;
// its parent's WM_DRAWITEM paints the back store.
class TButtonWindow final : public TWin32Native<TNativeButton> {
public:
    explicit TButtonWindow(TButton* Button)
        : TWin32Native(Button, L"BUTTON", WS_POPUP | BS_OWNERDRAW | WS_CLIPSIBLINGS)
    {
        Buttons().push_back(this);
    }
    ~TButtonWindow() override { std::erase(Buttons(), this); }

    void SetCaption(const std::string& Value) override { SetTextOf(FHandle, Value); }
    bool Pressed() const override
    {
        return SendMessageW(FHandle, BM_GETSTATE, 0, 0) & BST_PUSHED;
    }

    void FocusMovedTo(HWND Focus)
    {
        if (FControl && GetAncestor(Focus, GA_ROOT) == GetAncestor(FHandle, GA_ROOT)) {
            const TWin32Window* window = Of(Focus);
            TControlDispatch::FocusMoved(*static_cast<TButton*>(FControl),
                                         window ? window->Control() : nullptr);
        }
    }

    // Alt and the letter marked in the caption click the button, if it can take the focus.
    bool Accelerates(HWND Root, int Key) const
    {
        auto* button = static_cast<TButton*>(FControl);
        if (!button || GetAncestor(FHandle, GA_ROOT) != Root || !button->CanFocus())
            return false;
        const THotkeySpan span = HotkeySpan(button->Caption());
        if (span.Length != 1)
            return false;
        const char letter = StripHotkey(button->Caption())[static_cast<size_t>(span.Offset)];
        return std::toupper(static_cast<unsigned char>(letter)) == Key;
    }

protected:
    bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override
    {
        // An owner-drawn button takes the second press of a double click for a notification
        // only; here it is a press like the first, so that it clicks again.
        if (Msg != WM_LBUTTONDBLCLK)
            return TWin32Native::Message(Msg, W, L, Result);
        TWin32Native::Message(Msg, W, L, Result);
        Result = Default(WM_LBUTTONDOWN, W, L);
        return true;
    }
    void Notified(int Code) override
    {
        if (Code == BN_CLICKED)
            TControlDispatch::Clicked(*static_cast<TButton*>(FControl));
    }
};

// Colours and font of a system control that draws itself.
class TLook {
public:
    ~TLook()
    {
        if (FBrush)
            DeleteObject(FBrush);
        if (FFont)
            DeleteObject(FFont);
    }

    // Sets the font on each of Windows.
    void Set(const TTextLook& Look, std::initializer_list<HWND> Windows)
    {
        FLook = Look;
        if (FBrush)
            DeleteObject(FBrush);
        FBrush = CreateSolidBrush(Look.Back);
        const HFONT old = FFont;
        FFont = platform::win32::CreateFontOf(Look.Font);
        for (HWND w : Windows)
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
        if (old)
            DeleteObject(old);
    }

    HBRUSH Colours(HDC Dc) const
    {
        SetTextColor(Dc, FLook.Text);
        SetBkColor(Dc, FLook.Back);
        return FBrush;
    }

private:
    TTextLook FLook;
    HBRUSH FBrush = nullptr;
    HFONT FFont = nullptr;
};

class TEditWindow final : public TWin32Native<TNativeEdit> {
public:
    explicit TEditWindow(TEdit* Edit)
        : TWin32Native(Edit, L"EDIT", WS_POPUP | ES_AUTOHSCROLL | WS_BORDER | WS_CLIPSIBLINGS)
    {
    }

    std::string Text() const override { return TextOf(FHandle); }
    void SetText(const std::string& Value) override
    {
        SetTextOf(FHandle, Value);
        SendMessageW(FHandle, EM_SETSEL, 0, 0); // the start of a long text stays in view
    }
    void SetLook(const TTextLook& Look) override { FLook.Set(Look, {FHandle}); }

protected:
    HBRUSH Colours(HDC Dc) override { return FLook.Colours(Dc); }

private:
    TLook FLook;
};

// The drop-down list with a typing field: CBN_SELCHANGE and CBN_EDITCHANGE come only from the
// operator, never from what a program sets.
class TComboBoxWindow final : public TWin32Native<TNativeComboBox> {
public:
    explicit TComboBoxWindow(TComboBox* Box)
        : TWin32Native(Box, L"COMBOBOX", WS_POPUP | CBS_DROPDOWN | CBS_AUTOHSCROLL |
                                             WS_VSCROLL | WS_CLIPSIBLINGS)
    {
    }

    void AddItem(const std::string& Item) override
    {
        SendMessageW(FHandle, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(platform::win32::WideOf(Item).c_str()));
    }
    void SelectItem(int Index) override
    {
        SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
        if (Index < 0)
            SetTextOf(FHandle, "");
    }
    std::string Text() const override { return TextOf(FHandle); }
    void SetLook(const TTextLook& Look) override
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(FHandle, &info);
        FLook.Set(Look, {FHandle, info.hwndList});
    }
    void SetItemHeight(int Pixels) override
    {
        SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, Pixels);
    }
    void SetDropDownCount(int Items) override
    {
        SendMessageW(FHandle, CB_SETMINVISIBLE, static_cast<WPARAM>(Items), 0);
    }

protected:
    void Notified(int Code) override
    {
        auto& box = *static_cast<TComboBox*>(FControl);
        if (Code == CBN_SELCHANGE)
            TControlDispatch::Picked(box, static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0)));
        else if (Code == CBN_EDITCHANGE)
            TControlDispatch::Typed(box, TextOf(FHandle));
        else if (Code == CBN_SETFOCUS)
            FocusArrived(FHandle);
    }
    HBRUSH Colours(HDC Dc) override { return FLook.Colours(Dc); }

private:
    TLook FLook;
};

} // namespace

void FocusArrived(HWND Focus)
{
    const std::vector<TButtonWindow*> buttons = Buttons();
    for (TButtonWindow* button : buttons)
        if (std::find(Buttons().begin(), Buttons().end(), button) != Buttons().end())
            button->FocusMovedTo(Focus); // unless a handler has freed it
}

bool Accelerator(HWND Root, int Key)
{
    for (TButtonWindow* button : Buttons())
        if (button->Accelerates(Root, Key)) {
            TControlDispatch::Clicked(*static_cast<TButton*>(button->Control()));
            return true;
        }
    return false;
}

TNativeWindow* NewNativeControl(TWinControl& Control)
{
    return new TWin32Native<>(&Control, nullptr,
                              WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

TNativeButton* NewNativeButton(TButton& Button) { return new TButtonWindow(&Button); }
TNativeEdit* NewNativeEdit(TEdit& Edit) { return new TEditWindow(&Edit); }
TNativeComboBox* NewNativeComboBox(TComboBox& Box) { return new TComboBoxWindow(&Box); }

TPoint NativeCursorPos()
{
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

bool NativeMouseCaptured() { return GetCapture() != nullptr; }
