#include "platform/NotifyQueue.h"

#include "platform/UiThread.h"

#include <chrono>

namespace platform {

namespace {

// How long one wake-up may spend on posted messages.
constexpr std::chrono::milliseconds WorkSlice{10};

} // namespace

bool TNotifyQueue::Post(TMessage Message, const TWake& Wake)
{
    std::lock_guard guard(FLock);
    if (!FOpen)
        return false;
    if (!FScheduled) {
        if (!Wake())
            return false;
        FScheduled = true;
    }
    FPending.push_back(std::move(Message));
    return true;
}

bool TNotifyQueue::WaitForRoom(TWaitHandle Stop)
{
    for (;;) {
        {
            std::lock_guard guard(FLock);
            if (!FOpen || FPending.size() < NotifyWindowRoom)
                return true;
            FRoom.Reset();
        }
        if (WaitForAny({Stop, FRoom.Handle()}) != 1)
            return false;
    }
}

void TNotifyQueue::Run(const std::function<void(TMessage&)>& Handler, const TWake& Resume)
{
    // Posts from now on ask for a new wake-up, so a handler that runs a nested message loop (a
    // modal dialog) still sees the messages that follow its own.
    {
        std::lock_guard guard(FLock);
        FScheduled = false;
    }
    const auto sliceEnd = std::chrono::steady_clock::now() + WorkSlice;
    for (;;) {
        TMessage message;
        {
            std::lock_guard guard(FLock);
            if (FPending.empty())
                return;
            if (std::chrono::steady_clock::now() >= sliceEnd) {
                if (!FScheduled)
                    FScheduled = Resume();
                return;
            }
            message = std::move(FPending.front());
            FPending.pop_front();
            if (FPending.size() < NotifyWindowRoom)
                FRoom.Set();
        }
        Handler(message);
    }
}

void TNotifyQueue::Close()
{
    std::deque<TMessage> dropped;
    {
        std::lock_guard guard(FLock);
        FOpen = false;
        dropped.swap(FPending);
        FRoom.Set(); // a poster held back finds the window gone
    }
    // The messages still waiting are freed with their blocks here, outside the lock.
}

} // namespace platform
