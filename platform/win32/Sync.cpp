// Windows events and the transmit queue: manual-reset event objects, so that one
// WaitForMultipleObjects covers the stop event, a queue and an overlapped request together.
#include "platform/Sync.h"
#include "platform/win32/Windows.h"

#include <deque>
#include <mutex>
#include <system_error>

namespace platform {

namespace {

intptr_t MakeEvent(bool InitiallySet)
{
    HANDLE event = CreateEventA(nullptr, TRUE, InitiallySet ? TRUE : FALSE, nullptr);
    if (!event)
        throw std::system_error(int(GetLastError()), std::system_category(), "CreateEventA");
    return reinterpret_cast<intptr_t>(event);
}

HANDLE HandleOf(intptr_t Value) { return reinterpret_cast<HANDLE>(Value); }

} // namespace

int WaitForAny(std::initializer_list<TWaitHandle> Handles, int TimeoutMs)
{
    if (Handles.size() > MaxWaitHandles || Handles.size() == 0)
        return WaitFailed;
    HANDLE handles[MaxWaitHandles];
    DWORD count = 0;
    for (const TWaitHandle& h : Handles) {
        // -1 is no handle here, but to Windows it is the current process, which a wait would
        // sleep on for as long as the process lives.
        if (h.Value == -1 || h.Value == 0)
            return WaitFailed;
        handles[count++] = HandleOf(h.Value);
    }
    const DWORD result =
        WaitForMultipleObjects(count, handles, FALSE, TimeoutMs < 0 ? INFINITE : DWORD(TimeoutMs));
    if (result == WAIT_TIMEOUT)
        return WaitTimeout;
    if (result < WAIT_OBJECT_0 + count)
        return int(result - WAIT_OBJECT_0);
    return WaitFailed;
}

bool IsSignalled(TWaitHandle Handle)
{
    if (Handle.State)
        return Handle.State->load(std::memory_order_acquire);
    return WaitForAny({Handle}, 0) == 0;
}

TEvent::TEvent(bool InitiallySet) : FHandle(MakeEvent(InitiallySet)), FState(InitiallySet) {}

TEvent::~TEvent() { CloseHandle(HandleOf(FHandle)); }

void TEvent::Set()
{
    // The state first: a waiter woken by the event finds it set.
    FState.store(true, std::memory_order_release);
    SetEvent(HandleOf(FHandle));
}

void TEvent::Reset()
{
    ResetEvent(HandleOf(FHandle));
    FState.store(false, std::memory_order_release);
}

bool TEvent::IsSet() const { return FState.load(std::memory_order_acquire); }

TWaitHandle TEvent::Handle() const { return {FHandle, &FState}; }

// A thread's own message queue cannot be waited on beside other handles without also waking
// for every window message, so the queue is a list with an event that is set while it holds
// a message.
struct TMessageQueue::TImpl {
    std::mutex Lock;
    std::deque<TMessage> Messages;
    bool Closed = false;
    intptr_t Event = MakeEvent(false);
};

TMessageQueue::TMessageQueue() : FImpl(std::make_unique<TImpl>()) {}

TMessageQueue::~TMessageQueue() { CloseHandle(HandleOf(FImpl->Event)); }

bool TMessageQueue::Post(TMessage Message)
{
    std::lock_guard guard(FImpl->Lock);
    if (FImpl->Closed)
        return false;
    FImpl->Messages.push_back(std::move(Message));
    if (FImpl->Messages.size() == 1)
        SetEvent(HandleOf(FImpl->Event));
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
        ResetEvent(HandleOf(FImpl->Event));
    return true;
}

void TMessageQueue::Close()
{
    std::deque<TMessage> dropped;
    {
        std::lock_guard guard(FImpl->Lock);
        FImpl->Closed = true;
        dropped.swap(FImpl->Messages);
        ResetEvent(HandleOf(FImpl->Event));
    }
}

TWaitHandle TMessageQueue::Handle() const { return {FImpl->Event}; }

void SetCurrentThreadPriority(TThreadPriority Priority)
{
    const int priority = Priority == TThreadPriority::Highest       ? THREAD_PRIORITY_HIGHEST
                         : Priority == TThreadPriority::AboveNormal ? THREAD_PRIORITY_ABOVE_NORMAL
                                                                    : THREAD_PRIORITY_NORMAL;
    SetThreadPriority(GetCurrentThread(), priority);
}

} // namespace platform
