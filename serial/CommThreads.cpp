#include "serial/CommThreads.h"

#include <cstring>

using namespace platform;

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
    FThread = std::thread([this] {
        SetCurrentThreadPriority(FPriority);
        Execute();
    });
}

bool TCommThread::Post(uint32_t Code, uint32_t LParam)
{
    TMessage message;
    message.Code = Code;
    message.LParam = LParam;
    return FNotifyWnd.Post(std::move(message));
}

void TCommThread::NotifyHangup() { Post(WM_COMM_HANGUP); }

TReadThread::TReadThread(TSerialDevice* PortHandle, TWaitHandle StopEvent,
                         TWindowHandle NotifyWnd)
    : TCommThread(PortHandle, StopEvent, std::move(NotifyWnd), TThreadPriority::Highest)
{
}

TReadThread::~TReadThread() { WaitFor(); }

void TReadThread::Execute()
{
    uint8_t buffer[ReadBlockSize];
    for (;;) {
        // Reads that complete at once never wait, so a line that always has bytes ready would
        // otherwise keep the thread (and ClosePort, which waits for it) going for ever.
        if (WaitForAny({FStopEvent}, 0) == 0)
            break;
        const TIoResult read = FPortHandle->Read(buffer, sizeof buffer, FStopEvent);
        if (read.Status == TIoResult::TStatus::Stopped)
            break;
        if (read.Status != TIoResult::TStatus::Completed) {
            NotifyHangup();
            break;
        }
        // A read that ends without bytes (only total time-outs allow it) ends the thread
        // silently.
        if (!ProcessLineEvents() || !DeliverBlock(buffer, read.Count))
            break;
    }
    FPortHandle->Purge(PurgeFlag::RxAbort | PurgeFlag::RxClear);
}

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

bool TReadThread::DeliverBlock(const uint8_t* Bytes, std::size_t Count)
{
    if (Count == 0)
        return false;
    TMessage message;
    message.Code = WM_COMM_RECEIVED;
    message.WParam = static_cast<uint32_t>(Count);
    message.Block = AllocBlock(Count);
    if (!message.Block) {
        NotifyHangup();
        return false;
    }
    std::memcpy(message.Block.get(), Bytes, Count);
    if (!FNotifyWnd.Post(std::move(message))) {
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
                break;
            }
            notifyWhenEmpty = false;
            const int woken = WaitForAny({FStopEvent, FQueue.Handle()});
            if (woken == 0)
                break;
            if (woken != 1) {
                NotifyHangup();
                break;
            }
            continue;
        }
        if (WaitForAny({FStopEvent}, 0) == 0)
            break;
        if (request.Code != WM_COMM_SEND)
            continue;
        if (!WriteBlock(request.Block.get(), request.WParam))
            break;
        notifyWhenEmpty = true;
    }
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
