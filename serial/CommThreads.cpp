#include "serial/CommThreads.h"

#include <chrono>

using namespace platform;

namespace {

// How long a full block may wait for the user-interface thread to wake for it: far below what
// anyone could see, while a fast line delivers several blocks meanwhile.
constexpr std::chrono::microseconds FullBlockHandover{1000};

} // namespace

TCommThread::TCommThread(TSerialDevice* PortHandle, TWaitHandle StopEvent,
                         TWindowHandle NotifyWnd, TThreadPriority Priority)
    : FPortHandle(PortHandle), FStopEvent(StopEvent), FNotifyWnd(std::move(NotifyWnd)),
      FPriority(Priority)
{
}

void TCommThread::WaitFor()
{
    if (FThread.joinable())
        FThread.join();
}

void TCommThread::Start()
{
    FThread = std::thread([this] { Run(); });
}

void TCommThread::Run() noexcept
{
    // Nothing may leave a worker thread: it would end the program.
    try {
        SetCurrentThreadPriority(FPriority);
        Execute();
    } catch (...) {
        NotifyHangup();
    }
    try {
        Finish();
    } catch (...) {
        // The thread ends either way; its owner stops it as usual.
    }
}

bool TCommThread::Post(uint32_t Code, uint32_t LParam)
{
    TMessage message;
    message.Code = Code;
    message.LParam = LParam;
    return FNotifyWnd.Post(std::move(message));
}

void TCommThread::NotifyHangup() noexcept
{
    try {
        Post(WM_COMM_HANGUP);
    } catch (...) {
        // Nobody can be told any more; the thread ends all the same.
    }
}

TReadThread::TReadThread(TSerialDevice* PortHandle, TWaitHandle StopEvent,
                         TWindowHandle NotifyWnd)
    : TCommThread(PortHandle, StopEvent, std::move(NotifyWnd), TThreadPriority::Highest)
{
}

TReadThread::~TReadThread() { WaitFor(); }

void TReadThread::Execute()
{
    for (;;) {
        // Reads that complete at once never wait, so a line that always has bytes ready would
        // otherwise keep the thread (and ClosePort, which waits for it) going for ever.
        if (IsSignalled(FStopEvent))
            return;
        // A line faster than the user-interface thread leaves its bytes in the line's own
        // buffer (where flow control can hold the device) rather than in ever more blocks.
        if (!FNotifyWnd.WaitForRoom(FStopEvent)) {
            if (!IsSignalled(FStopEvent))
                NotifyHangup();
            return;
        }
        // The bytes are read straight into the block that carries them to the user-interface
        // thread.
        THeapBlock block = AllocUnfilledBlock(ReadBlockSize);
        if (!block) {
            NotifyHangup();
            return;
        }
        const TIoResult read = FPortHandle->Read(block.get(), ReadBlockSize, FStopEvent);
        if (read.Status == TIoResult::TStatus::Stopped)
            return;
        if (read.Status != TIoResult::TStatus::Completed) {
            NotifyHangup();
            return;
        }
        // A read that ends without bytes (only total time-outs allow it) ends the thread
        // silently.
        if (!ProcessLineEvents() || !DeliverBlock(std::move(block), read.Count))
            return;
    }
}

void TReadThread::Finish() { FPortHandle->Purge(PurgeFlag::RxAbort | PurgeFlag::RxClear); }

bool TReadThread::ProcessLineEvents()
{
    uint32_t errors, modem;
    FPortHandle->TakeLineEvents(errors, modem);
    // An error comes before a modem change reported with it.
    if (errors != 0 && !Post(WM_COMM_LINE_ERROR, errors)) {
        NotifyHangup();
        return false;
    }
    if (modem != 0 && !Post(WM_COMM_MODEM, modem)) {
        NotifyHangup();
        return false;
    }
    return true;
}

bool TReadThread::DeliverBlock(THeapBlock Block, std::size_t Count)
{
    if (Count == 0)
        return false;
    Block[Count] = 0;
    TMessage message;
    message.Code = WM_COMM_RECEIVED;
    message.WParam = static_cast<uint32_t>(Count);
    message.Block = std::move(Block);
    // A full block means the line is still sending and the next one follows at once; waking
    // the user-interface thread for every block of a fast line would cost more than handling
    // it. A block that the line's pause ended goes at once, and takes any before it along.
    const bool posted = Count == ReadBlockSize
                            ? FNotifyWnd.PostWithin(std::move(message), FullBlockHandover)
                            : FNotifyWnd.Post(std::move(message));
    if (!posted) {
        NotifyHangup();
        return false;
    }
    return true;
}

TWriteThread::TWriteThread(TSerialDevice* PortHandle, TWaitHandle StopEvent,
                           TWindowHandle NotifyWnd)
    : TCommThread(PortHandle, StopEvent, std::move(NotifyWnd), TThreadPriority::AboveNormal)
{
}

TWriteThread::~TWriteThread() { WaitFor(); }

void TWriteThread::Execute()
{
    bool notifyWhenEmpty = true;
    for (;;) {
        TMessage request;
        if (!FQueue.Take(request)) {
            if (notifyWhenEmpty && !Post(WM_COMM_SEND_EMPTY)) {
                NotifyHangup();
                return;
            }
            notifyWhenEmpty = false;
            const int woken = WaitForAny({FStopEvent, FQueue.Handle()});
            if (woken == 0)
                return;
            if (woken != 1) {
                NotifyHangup();
                return;
            }
            continue;
        }
        if (IsSignalled(FStopEvent))
            return;
        if (request.Code != WM_COMM_SEND)
            continue;
        if (!WriteBlock(request.Block.get(), request.WParam))
            return;
        notifyWhenEmpty = true;
    }
}

void TWriteThread::Finish()
{
    // Requests still queued are not sent; later SendData calls are refused.
    FQueue.Close();
    FPortHandle->Purge(PurgeFlag::TxAbort | PurgeFlag::TxClear);
}

bool TWriteThread::WriteBlock(const uint8_t* Request, std::size_t Count)
{
    std::size_t offset = 0;
    while (offset < Count) {
        const TIoResult written = FPortHandle->Write(Request + offset, Count - offset, FStopEvent);
        if (written.Status == TIoResult::TStatus::Stopped)
            return false;
        if (written.Status != TIoResult::TStatus::Completed) {
            NotifyHangup();
            return false;
        }
        offset += written.Count;
    }
    return true;
}
