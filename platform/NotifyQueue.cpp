#include "platform/NotifyQueue.h"

#include "platform/UiThread.h"

namespace platform {

namespace {

// How long one wake-up may spend on posted messages.
constexpr std::chrono::milliseconds WorkSlice{10};

} // namespace

bool TNotifyQueue::Post(TMessage Message, std::optional<TClock::time_point> Latest)
{
    std::lock_guard guard(FLock);
    if (!FOpen)
        return false;
    const bool covered = FScheduled || (Latest && FTimerSet && FTimerAt <= *Latest);
    if (!covered) {
        if (Latest && FWakeUps.By(*Latest)) {
            FTimerSet = true;
            FTimerAt = *Latest;
        } else {
            if (!FWakeUps.Now())
                return false;
            FScheduled = true;
        }
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
            if (!FScheduled)
                FScheduled = FWakeUps.Now();
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
    Handle(Handler, Resume);
}

void TNotifyQueue::RunDue(const std::function<void(TMessage&)>& Handler, const TWake& Resume)
{
    // Likewise, messages that may wait set the timer afresh from now on.
    {
        std::lock_guard guard(FLock);
        FTimerSet = false;
        FWakeUps.Cancel();
    }
    Handle(Handler, Resume);
}

void TNotifyQueue::Handle(const std::function<void(TMessage&)>& Handler, const TWake& Resume)
{
    const auto sliceEnd = TClock::now() + WorkSlice;
    for (;;) {
        TMessage message;
        {
            std::lock_guard guard(FLock);
            if (FPending.empty()) {
                if (FTimerSet) {
                    FWakeUps.Cancel();
                    FTimerSet = false;
                }
                return;
            }
            if (TClock::now() >= sliceEnd) {
                if (!FScheduled)
                    FScheduled = Resume();
                return;
            }
            message = std::move(FPending.front());
            FPending.pop_front();
            if (FPending.size() < NotifyWindowRoom && !FRoom.IsSet())
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

// The handle is the same over every backend: it reaches the window only through its queue.
bool TWindowHandle::Post(TMessage Message) const
{
    return FQueue && FQueue->Post(std::move(Message));
}

bool TWindowHandle::PostWithin(TMessage Message, std::chrono::microseconds Within) const
{
    return FQueue && FQueue->Post(std::move(Message), TNotifyQueue::TClock::now() + Within);
}

bool TWindowHandle::WaitForRoom(TWaitHandle Stop) const
{
    return !FQueue || FQueue->WaitForRoom(Stop);
}

} // namespace platform
