// The notification window over Win32: a message-only window that belongs to the thread that
// created it, so that the thread's own message loop runs the handler.
//
// Messages do not travel in the window's queue one by one. A posted message comes out of
// GetMessage ahead of input, painting and timers, so a line that delivers faster than the
// handler copes with would shut the operator out of the window. Instead they wait in the
// slot in posting order, and one posted wake-up at a time asks the user-interface thread to
// run them, a slice of work per wake-up. When the slice ends with input, painting or a timer
// waiting, the rest is taken up by a timer of the window's own, which Windows delivers only
// after those; otherwise by a fresh wake-up behind whatever else was posted meanwhile.
//
// The wake-up carries no data: every message crosses between threads under the slot's lock,
// an ordering that tools checking for data races see in our own code.
#include "platform/UiThread.h"
#include "platform/win32/Windows.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <stdexcept>

namespace platform {

namespace {

constexpr UINT WakeMessage = WM_APP + 1;
constexpr UINT_PTR ResumeTimer = 1;

// How long one wake-up may spend on posted messages.
constexpr std::chrono::milliseconds WorkSlice{10};

} // namespace

// Shared by the window and every copy of its handle. The lock keeps a post from racing the
// window's destruction. Room is set while Pending has room; it changes only under the lock,
// together with Pending, so a poster that finds the queue full cannot miss the taking that
// makes room. Handler is touched on the user-interface thread only.
struct TWindowSlot {
    std::mutex Lock;
    HWND Window = nullptr;
    std::deque<TMessage> Pending;
    bool Scheduled = false;
    TEvent Room{true};
    TNotifyWindow::THandler Handler;
};

namespace {

void RunPending(HWND Window, TWindowSlot& Slot)
{
    // Posts from now on schedule a new wake-up, so a handler that runs a nested message loop
    // (a modal dialog) still sees the messages that follow its own.
    {
        std::lock_guard guard(Slot.Lock);
        Slot.Scheduled = false;
    }
    const auto sliceEnd = std::chrono::steady_clock::now() + WorkSlice;
    for (;;) {
        TMessage message;
        {
            std::lock_guard guard(Slot.Lock);
            if (Slot.Pending.empty())
                return;
            if (std::chrono::steady_clock::now() >= sliceEnd) {
                if (!Slot.Scheduled) {
                    Slot.Scheduled = true;
                    if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)) != 0)
                        SetTimer(Window, ResumeTimer, USER_TIMER_MINIMUM, nullptr);
                    else
                        PostMessageW(Window, WakeMessage, 0, 0);
                }
                return;
            }
            message = std::move(Slot.Pending.front());
            Slot.Pending.pop_front();
            if (Slot.Pending.size() < NotifyWindowRoom)
                Slot.Room.Set();
        }
        Slot.Handler(message);
    }
}

LRESULT CALLBACK NotifyWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    auto* slot = reinterpret_cast<TWindowSlot*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (slot && (Message == WakeMessage || (Message == WM_TIMER && WParam == ResumeTimer))) {
        if (Message == WM_TIMER)
            KillTimer(Window, ResumeTimer);
        RunPending(Window, *slot);
        return 0;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
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

bool TWindowHandle::Post(TMessage Message) const
{
    if (!FSlot)
        return false;
    std::lock_guard guard(FSlot->Lock);
    if (!FSlot->Window)
        return false;
    if (!FSlot->Scheduled) {
        // A full thread queue refuses the wake-up; the message is refused with it.
        if (!PostMessageW(FSlot->Window, WakeMessage, 0, 0))
            return false;
        FSlot->Scheduled = true;
    }
    FSlot->Pending.push_back(std::move(Message));
    return true;
}

bool TWindowHandle::WaitForRoom(TWaitHandle Stop) const
{
    if (!FSlot)
        return true;
    for (;;) {
        {
            std::lock_guard guard(FSlot->Lock);
            if (!FSlot->Window || FSlot->Pending.size() < NotifyWindowRoom)
                return true;
            FSlot->Room.Reset();
        }
        if (WaitForAny({Stop, FSlot->Room.Handle()}) != 1)
            return false;
    }
}

TNotifyWindow::TNotifyWindow(THandler Handler) : FSlot(std::make_shared<TWindowSlot>())
{
    FSlot->Handler = std::move(Handler);
    HWND window = CreateWindowExW(0, WindowClass(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window)
        throw std::runtime_error("CreateWindowExW failed");
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(FSlot.get()));
    FSlot->Window = window;
}

TNotifyWindow::~TNotifyWindow()
{
    HWND window;
    std::deque<TMessage> dropped;
    {
        std::lock_guard guard(FSlot->Lock);
        window = FSlot->Window;
        FSlot->Window = nullptr;
        dropped.swap(FSlot->Pending);
        FSlot->Room.Set(); // a poster held back finds the window gone
    }
    // A wake-up still queued for the window goes with it. Messages still waiting are freed with
    // their blocks, outside the lock.
    DestroyWindow(window);
    FSlot->Handler = nullptr;
}

} // namespace platform
