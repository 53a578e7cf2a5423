// Events and the message queue over the OS's waitable flag (platform/Waitable.h).
#include "platform/Sync.h"
#include "platform/Waitable.h"

#include <deque>
#include <mutex>

namespace platform {

bool IsSignalled(TWaitHandle Handle)
{
    if (Handle.State)
        return Handle.State->load(std::memory_order_acquire);
    return WaitForAny({Handle}, 0) == 0;
}

TEvent::TEvent(bool InitiallySet) : FHandle(waitable::Create())
{
    if (InitiallySet)
        Set();
}

TEvent::~TEvent() { waitable::Destroy(FHandle); }

void TEvent::Set()
{
    // The state first: a waiter woken by the flag finds it set.
    FState.store(true, std::memory_order_release);
    waitable::Raise(FHandle);
}

void TEvent::Reset()
{
    waitable::Lower(FHandle);
    FState.store(false, std::memory_order_release);
}

bool TEvent::IsSet() const { return FState.load(std::memory_order_acquire); }

TWaitHandle TEvent::Handle() const { return {FHandle, &FState}; }

struct TMessageQueue::TImpl {
    std::mutex Lock;
    std::deque<TMessage> Messages;
    bool Closed = false;
    intptr_t Flag = waitable::Create(); // raised while a message waits
};

TMessageQueue::TMessageQueue() : FImpl(std::make_unique<TImpl>()) {}

TMessageQueue::~TMessageQueue() { waitable::Destroy(FImpl->Flag); }

bool TMessageQueue::Post(TMessage Message)
{
    std::lock_guard guard(FImpl->Lock);
    if (FImpl->Closed)
        return false;
    FImpl->Messages.push_back(std::move(Message));
    if (FImpl->Messages.size() == 1)
        waitable::Raise(FImpl->Flag);
    return true;
}

bool TMessageQueue::Take(TMessage& Message)
{
    std::lock_guard guard(FImpl->Lock);
    if (FImpl->Messages.empty())
        return false;
    Message = std::move(FImpl->Messages.front());
    FImpl->Messages.pop_front();
    if (FImpl->Messages.empty())
        waitable::Lower(FImpl->Flag);
    return true;
}

void TMessageQueue::Close()
{
    std::deque<TMessage> dropped;
    {
        std::lock_guard guard(FImpl->Lock);
        FImpl->Closed = true;
        dropped.swap(FImpl->Messages);
        waitable::Lower(FImpl->Flag);
    }
}

TWaitHandle TMessageQueue::Handle() const { return {FImpl->Flag}; }

} // namespace platform
