#pragma once
// Reaching the user-interface thread from worker threads: a hidden notification window that
// runs a handler there for every message posted to it, in the order each thread posted them.
//
// Threading: create and destroy a TNotifyWindow on the user-interface thread (the one running
// the application's message loop); its handler runs there. A TWindowHandle is a copy that any
// thread may keep and post through; once the window is destroyed, posts fail instead of
// reaching freed memory, and messages still waiting are freed with their blocks.

#include "platform/Message.h"

#include <functional>
#include <memory>

namespace platform {

struct TWindowSlot;

class TWindowHandle {
public:
    TWindowHandle() = default;
    // False when the window is gone (or there never was one); the message is freed then.
    bool Post(TMessage Message) const;

private:
    friend class TNotifyWindow;
    explicit TWindowHandle(std::shared_ptr<TWindowSlot> Slot) : FSlot(std::move(Slot)) {}
    std::shared_ptr<TWindowSlot> FSlot;
};

class TNotifyWindow {
public:
    // The handler receives each message and owns it (and its block) from then on.
    using THandler = std::function<void(TMessage& Message)>;

    explicit TNotifyWindow(THandler Handler);
    ~TNotifyWindow();
    TNotifyWindow(const TNotifyWindow&) = delete;
    TNotifyWindow& operator=(const TNotifyWindow&) = delete;

    TWindowHandle Handle() const { return TWindowHandle(FSlot); }

private:
    std::shared_ptr<TWindowSlot> FSlot;
};

} // namespace platform
