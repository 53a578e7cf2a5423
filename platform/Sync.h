#pragma once
// Waiting between threads without polling: manual-reset events, a first-in first-out message
// queue, and one call that sleeps until the first of several of them is signalled.
//
// Threading: every member may be called from any thread; the objects lock inside where they
// need to. Whoever created an object destroys it, after every thread that waits on it has
// finished with it.

#include "platform/Message.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>

namespace platform {

// Something a thread can sleep on. On POSIX a file descriptor that counts as signalled while it
// is readable or hung up; on Windows a waitable handle. An event's handle also carries its state, so that a thread that only
// asks (between reads that complete at once) need not enter the kernel.
struct TWaitHandle {
    intptr_t Value = -1;
    const std::atomic<bool>* State = nullptr;
};

constexpr int WaitFailed = -1;
constexpr int WaitTimeout = -2;
// The most handles one wait takes; the set lives on the waiter's stack, so waiting allocates
// nothing however often it is done.
constexpr std::size_t MaxWaitHandles = 4;

// Sleeps until one of Handles is signalled or TimeoutMs passes (negative: no limit). Answers
// the index of the first signalled handle in list order, WaitTimeout or WaitFailed (also for
// more than MaxWaitHandles handles).
int WaitForAny(std::initializer_list<TWaitHandle> Handles, int TimeoutMs = -1);

// Whether Handle is signalled now, without waiting; an event's handle answers without a system
// call.
bool IsSignalled(TWaitHandle Handle);

// Stays signalled from Set until Reset.
class TEvent {
public:
    // Throws std::system_error when the platform has no event left to give.
    explicit TEvent(bool InitiallySet = false);
    ~TEvent();
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    TWaitHandle Handle() const;

private:
    intptr_t FHandle; // an eventfd on POSIX, a manual-reset event on Windows
    std::atomic<bool> FState{false};
};

// First in, first out. Any thread may post without blocking; the owning thread takes. The queue
// is signalled while it holds a message. Once closed it refuses posts and has freed what it held.
class TMessageQueue {
public:
    // Throws std::system_error when the platform has no event left to give.
    TMessageQueue();
    ~TMessageQueue();
    TMessageQueue(const TMessageQueue&) = delete;
    TMessageQueue& operator=(const TMessageQueue&) = delete;

    // False when the queue is closed; the message is freed then.
    bool Post(TMessage Message);
    // Takes the oldest message without waiting; false when there is none.
    bool Take(TMessage& Message);
    void Close();
    TWaitHandle Handle() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

enum class TThreadPriority { Normal, AboveNormal, Highest };

// Raises the calling thread's priority above the process's by one or two steps where the OS
// allows it; otherwise leaves it as it is, silently.
void SetCurrentThreadPriority(TThreadPriority Priority);

} // namespace platform
