// The notification window over Win32: a message-only window that belongs to the thread that
// created it, so that the thread's own message loop runs the handler.
//
// Messages do not travel in the window's queue one by one: GetMessage hands out posted
// messages ahead of input, painting and timers, so a line that delivers faster than the
// handler copes with would shut the operator out of the window. They wait in the shared queue
// (platform/NotifyQueue.h), and a posted message only wakes the window. When a slice of work
// ends with input, painting or a timer waiting, the rest is taken up by a timer of the
// window's own, which Windows delivers only after those; otherwise by a fresh wake-up behind
// whatever else was posted meanwhile.
//
// The wake-up carries no data: every message crosses between threads under the queue's lock,
// an ordering that tools checking for data races see in our own code.
#include "platform/UiThread.h"
#include "platform/NotifyQueue.h"
#include "platform/win32/Windows.h"

#include <stdexcept>

namespace platform {

namespace {

constexpr UINT WakeMessage = WM_APP + 1;
constexpr UINT_PTR ResumeTimer = 1;

} // namespace

// Window is set before any handle exists and stays until the slot goes; after Close nothing
// posts to it. Handler is touched on the user-interface thread only.
struct TWindowSlot final : TNotifyQueue::TWakeUps {
    // A full thread queue refuses the wake-up; the message is refused with it.
    bool Now() override { return PostMessageW(Window, WakeMessage, 0, 0) != FALSE; }
    // A window's timers are set by its own thread only and tick in steps of ten milliseconds
    // or more, too coarse for the bound a message that may wait is given: such a message wakes
    // the window at once, and batches form only while a wake-up is outstanding.
    bool By(TNotifyQueue::TClock::time_point) override { return false; }
    void Cancel() override {}

    TNotifyQueue Queue{*this};
    HWND Window = nullptr;
    TNotifyWindow::THandler Handler;
};

namespace {

LRESULT CALLBACK NotifyWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    auto* slot = reinterpret_cast<TWindowSlot*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (!slot || !(Message == WakeMessage || (Message == WM_TIMER && WParam == ResumeTimer)))
        return DefWindowProcW(Window, Message, WParam, LParam);
    if (Message == WM_TIMER)
        KillTimer(Window, ResumeTimer);
    slot->Queue.Run(slot->Handler, [Window] {
        if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)) != 0)
            return SetTimer(Window, ResumeTimer, USER_TIMER_MINIMUM, nullptr) != 0;
        return PostMessageW(Window, WakeMessage, 0, 0) != FALSE;
    });
    return 0;
}

const wchar_t* WindowClass()
{
    static const wchar_t* const name = [] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = NotifyWindowProc;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"OstrelNotifyWindow";
        if (!RegisterClassExW(&c))
            throw std::runtime_error("RegisterClassExW failed");
        return c.lpszClassName;
    }();
    return name;
}

} // namespace

TNotifyWindow::TNotifyWindow(THandler Handler) : FSlot(std::make_shared<TWindowSlot>())
{
    FSlot->Handler = std::move(Handler);
    FSlot->Window = CreateWindowExW(0, WindowClass(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    if (!FSlot->Window)
        throw std::runtime_error("CreateWindowExW failed");
    SetWindowLongPtrW(FSlot->Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(FSlot.get()));
}

TWindowHandle TNotifyWindow::Handle() const
{
    return TWindowHandle(std::shared_ptr<TNotifyQueue>(FSlot, &FSlot->Queue));
}

TNotifyWindow::~TNotifyWindow()
{
    FSlot->Queue.Close();
    // A wake-up or a timer still queued for the window goes with it.
    DestroyWindow(FSlot->Window);
    FSlot->Handler = nullptr;
}

} // namespace platform
