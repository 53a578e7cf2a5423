#pragma once
// The part of a notification window that every backend shares: its messages, waiting in
// posting order, and the rules for waking the user-interface thread and holding posters back.
// A backend supplies the wake-ups themselves (a posted event, a posted window message, a timer)
// and calls Run or RunDue when one arrives.
//
// Rules:
// - One wake-up at a time is outstanding: a post asks for one only when none is, so a fast
//   line wakes the user-interface thread once per batch rather than once per message.
// - A message that may wait until a given moment asks for no wake-up at all while one is
//   outstanding or the timer is set no later; otherwise it sets the timer to that moment. Any
//   wake-up hands over everything waiting, so messages keep their posting order however they
//   were woken, and a message that must go at once takes those before it along.
// - A run handles messages for at most one slice of time; the rest waits for a fresh wake-up,
//   behind the input and painting that came meanwhile. A run that empties the queue stops the
//   timer, which has nothing left to wake the thread for.
// - Room is set while fewer than NotifyWindowRoom messages wait; it changes only under the
//   lock, together with the messages, so a poster that finds the queue full cannot miss the
//   taking that makes room. Only a poster that found the queue full lowers it, so only then
//   is it raised again, not with a system call per message. A poster held back asks for a
//   wake-up at once: messages that may wait must not keep it waiting.
// - Once closed, posts fail and the messages that still waited are freed with their blocks.
//
// Threading: Post and WaitForRoom from any thread; Run, RunDue and Close on the user-interface
// thread. The backend's wake-up functions are called under the queue's lock and must not call
// back into it.

#include "platform/Message.h"
#include "platform/Sync.h"

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace platform {

class TNotifyQueue {
public:
    using TClock = std::chrono::steady_clock;
    // Asks for a wake-up; false when it cannot be sent.
    using TWake = std::function<bool()>;

    // How a backend wakes its user-interface thread.
    class TWakeUps {
    public:
        // Has Run called soon; false when the wake-up cannot be sent.
        virtual bool Now() = 0;
        // Has RunDue called from Latest on; false when the backend has no timer to do it, and
        // Now is asked instead.
        virtual bool By(TClock::time_point Latest) = 0;
        // The timer is not wanted any more: stopped, and quiet if it had gone off.
        virtual void Cancel() = 0;

    protected:
        ~TWakeUps() = default;
    };

    explicit TNotifyQueue(TWakeUps& WakeUps) : FWakeUps(WakeUps) {}

    // Without Latest the thread is woken for Message at once. False when the queue is closed or
    // the wake-up fails; the message is freed then.
    bool Post(TMessage Message, std::optional<TClock::time_point> Latest = std::nullopt);
    bool WaitForRoom(TWaitHandle Stop);
    // For the wake-up Now asked for: handles waiting messages for one slice, and asks Resume
    // for a wake-up when some are left.
    void Run(const std::function<void(TMessage&)>& Handler, const TWake& Resume);
    // The same for the timer By set.
    void RunDue(const std::function<void(TMessage&)>& Handler, const TWake& Resume);
    void Close();

private:
    void Handle(const std::function<void(TMessage&)>& Handler, const TWake& Resume);

    TWakeUps& FWakeUps;
    std::mutex FLock;
    std::deque<TMessage> FPending;
    bool FOpen = true;
    bool FScheduled = false; // a wake-up Now asked for has not been run yet
    bool FTimerSet = false;  // the timer will go off at FTimerAt
    TClock::time_point FTimerAt;
    TEvent FRoom{true};
};

} // namespace platform
