#pragma once
// The part of a notification window that every backend shares: its messages, waiting in
// posting order, and the rules for waking the user-interface thread and holding posters back.
// A backend supplies the wake-up itself (a posted event, a posted window message) and calls
// Run when it arrives.
//
// Rules:
// - One wake-up at a time is outstanding: a post asks for one only when none is, so a fast
//   line wakes the user-interface thread once per batch rather than once per message.
// - A run handles messages for at most one slice of time; the rest waits for a fresh wake-up,
//   behind the input and painting that came meanwhile.
// - Room is set while fewer than NotifyWindowRoom messages wait; it changes only under the
//   lock, together with the messages, so a poster that finds the queue full cannot miss the
//   taking that makes room.
// - Once closed, posts fail and the messages that still waited are freed with their blocks.
//
// Threading: Post and WaitForRoom from any thread; Run and Close on the user-interface thread.
// The wake-up functions are called under the queue's lock and must not call back into it.

#include "platform/Message.h"
#include "platform/Sync.h"

#include <deque>
#include <functional>
#include <mutex>

namespace platform {

class TNotifyQueue {
public:
    // Asks for a wake-up; false when it cannot be sent.
    using TWake = std::function<bool()>;

    // False when the queue is closed or Wake fails; the message is freed then.
    bool Post(TMessage Message, const TWake& Wake);
    bool WaitForRoom(TWaitHandle Stop);
    // Handles waiting messages for one slice; asks Resume for a wake-up when some are left.
    void Run(const std::function<void(TMessage&)>& Handler, const TWake& Resume);
    void Close();

private:
    std::mutex FLock;
    std::deque<TMessage> FPending;
    bool FOpen = true;
    bool FScheduled = false;
    TEvent FRoom{true};
};

} // namespace platform
