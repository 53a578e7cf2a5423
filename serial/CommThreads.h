#pragma once
// The two worker threads of an open port and the notifications they post.
//
// Threading: the user-interface thread constructs a thread object with copies of the port, the
// stop handle and the notification window's handle, calls Start once, may Post requests to the
// transmit thread, and finally destroys the object, which waits for the thread to end (it ends
// promptly once the stop event is set). The thread body touches nothing else: it owns the
// requests it takes and the blocks it reads until it posts them.

#include "platform/SerialDevice.h"
#include "platform/Sync.h"
#include "platform/UiThread.h"

#include <cstdint>
#include <thread>

// Notification codes posted to the component's notification window.
constexpr uint32_t WM_COMM_RECEIVED = 0x0401;   // WParam count, Block the bytes
constexpr uint32_t WM_COMM_LINE_ERROR = 0x0402; // LParam CommError flags
constexpr uint32_t WM_COMM_HANGUP = 0x0403;
constexpr uint32_t WM_COMM_MODEM = 0x0404;      // LParam CommModem bits
constexpr uint32_t WM_COMM_SEND_EMPTY = 0x0405;
// The one request the transmit thread takes: WParam count, Block the bytes.
constexpr uint32_t WM_COMM_SEND = 0x0401;

// The largest block the receive thread reads and delivers at a time.
constexpr std::size_t ReadBlockSize = 2048;

class TCommThread {
public:
    TCommThread(platform::TSerialDevice* PortHandle, platform::TWaitHandle StopEvent,
                platform::TWindowHandle NotifyWnd, platform::TThreadPriority Priority);
    virtual ~TCommThread() = default;
    TCommThread(const TCommThread&) = delete;
    TCommThread& operator=(const TCommThread&) = delete;

    // Throws std::system_error when no thread can be made.
    void Start();

protected:
    // The thread's work until it must end. Whatever it throws ends the thread as a failure
    // does: with a hang-up notification, then Finish.
    virtual void Execute() = 0;
    // What the thread does last, however it ended.
    virtual void Finish() = 0;
    bool Post(uint32_t Code, uint32_t LParam = 0);
    // Tells the user-interface thread that this thread gives up; never throws.
    void NotifyHangup() noexcept;
    // Waits until the body has returned; each subclass calls it in its destructor, while the
    // members the body uses still exist.
    void WaitFor();

    platform::TSerialDevice* const FPortHandle;
    const platform::TWaitHandle FStopEvent;
    const platform::TWindowHandle FNotifyWnd;

private:
    void Run() noexcept;

    const platform::TThreadPriority FPriority;
    std::thread FThread;
};

class TReadThread final : public TCommThread {
public:
    TReadThread(platform::TSerialDevice* PortHandle, platform::TWaitHandle StopEvent,
                platform::TWindowHandle NotifyWnd);
    ~TReadThread() override;

private:
    void Execute() override;
    void Finish() override;
    // Posts the line errors and modem events that came with the last read; false when a post
    // failed and the thread must end.
    bool ProcessLineEvents();
    // Ends the Count bytes read into Block with their 0 byte and posts it; false (the thread
    // must end) when Count is 0 or the post fails.
    bool DeliverBlock(platform::THeapBlock Block, std::size_t Count);
};

class TWriteThread final : public TCommThread {
public:
    // Throws std::system_error when the queue cannot be made.
    TWriteThread(platform::TSerialDevice* PortHandle, platform::TWaitHandle StopEvent,
                 platform::TWindowHandle NotifyWnd);
    ~TWriteThread() override;

    // Any thread. False once the thread has ended; the request is freed then.
    bool Post(platform::TMessage Request) { return FQueue.Post(std::move(Request)); }

private:
    using TCommThread::Post;
    void Execute() override;
    void Finish() override;
    bool WriteBlock(const uint8_t* Request, std::size_t Count);

    platform::TMessageQueue FQueue;
};
