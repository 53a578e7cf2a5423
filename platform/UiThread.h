#pragma once
// Reaching the user-interface thread from worker threads: a hidden notification window that
// runs a handler there for every message posted to it, in the order each thread posted them.
//
// Threading: create and destroy a TNotifyWindow on the user-interface thread (the one running
// the application's message loop); its handler runs there. A TWindowHandle is a copy that any
// thread may keep and post through; once the window is destroyed, posts fail instead of
// reaching freed memory, and messages still waiting are freed with their blocks.

#include "platform/Message.h"
#include "platform/Sync.h"

#include <chrono>
#include <functional>
#include <memory>

namespace platform {

class TNotifyQueue;
struct TWindowSlot;

// Messages a window may hold before WaitForRoom holds its posters back: a second or more of
// the handlers' work at the largest received blocks, and half a megabyte of them.
constexpr std::size_t NotifyWindowRoom = 256;

class TWindowHandle {
public:
    TWindowHandle() = default;
    // False when the window is gone (or there never was one); the message is freed then.
    bool Post(TMessage Message) const;
    // As Post, for a message that more are about to follow: the window's thread need not be
    // woken for it before Within has passed, so that one wake-up hands over the whole batch.
    // A Post, or a poster that WaitForRoom holds back, has it handled at once with the rest.
    // Where the OS offers no timer for this, the thread is woken as for Post.
    bool PostWithin(TMessage Message, std::chrono::microseconds Within) const;
    // Sleeps while NotifyWindowRoom or more messages wait for the window, so that a thread
    // that produces faster than the user-interface thread handles holds back rather than
    // piling its messages up without end. True when there is room or the window is gone (a
    // post then fails); false when Stop was signalled or the wait failed.
    bool WaitForRoom(TWaitHandle Stop) const;

private:
    friend class TNotifyWindow;
    // The queue keeps its backend's window slot alive: the handle needs nothing else of it.
    explicit TWindowHandle(std::shared_ptr<TNotifyQueue> Queue) : FQueue(std::move(Queue)) {}
    std::shared_ptr<TNotifyQueue> FQueue;
};

class TNotifyWindow {
public:
    // The handler receives each message and owns it (and its block) from then on.
    using THandler = std::function<void(TMessage& Message)>;

    explicit TNotifyWindow(THandler Handler);
    ~TNotifyWindow();
    TNotifyWindow(const TNotifyWindow&) = delete;
    TNotifyWindow& operator=(const TNotifyWindow&) = delete;

    TWindowHandle Handle() const;

private:
    std::shared_ptr<TWindowSlot> FSlot;
};

} // namespace platform
