// The notification window over Qt's event loop: a receiver object living in the user-interface
// thread, reached with posted events, which work under a plain core application as well.
#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>

namespace platform {

namespace {

const QEvent::Type NotifyEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// How long one turn of the message loop may spend on posted messages.
constexpr std::chrono::milliseconds WorkSlice{10};

class TReceiver;

} // namespace

// Shared by the window and every copy of its handle. Messages wait here in posting order; one
// Qt event at a time asks the user-interface thread to run them, so a fast line wakes that
// thread once per batch rather than once per message. The lock keeps a post from racing the
// window's destruction. Room is set while Pending has room; it changes only under the lock,
// together with Pending, so a poster that finds the queue full cannot miss the taking that
// makes room.
//
// Qt hands each event from the posting thread to ours under its own lock, an ordering that
// tools checking for data races cannot see inside an uninstrumented library. Posts therefore
// publishes every event it built through Handoffs (release) and the receiver takes it up
// (acquire) before it reads the event: the same ordering, stated in our own code.
struct TWindowSlot {
    std::mutex Lock;
    std::atomic<unsigned> Handoffs{0};
    TReceiver* Receiver = nullptr;
    std::deque<TMessage> Pending;
    bool Scheduled = false;
    TEvent Room{true};
};

namespace {

class TReceiver : public QObject {
public:
    TReceiver(TWindowSlot& Slot, TNotifyWindow::THandler Handler)
        : FSlot(Slot), FHandler(std::move(Handler))
    {
    }

    bool event(QEvent* Event) override
    {
        FSlot.Handoffs.load(std::memory_order_acquire);
        if (Event->type() != NotifyEventType)
            return QObject::event(Event);
        // Posts from now on schedule a new event, so a handler that runs a nested message
        // loop (a modal dialog) still sees the messages that follow its own.
        {
            std::lock_guard guard(FSlot.Lock);
            FSlot.Scheduled = false;
        }
        // A line that delivers faster than the handlers cope with must not hold the thread:
        // after a slice of work the rest waits for a fresh event, behind input and painting.
        const auto sliceEnd = std::chrono::steady_clock::now() + WorkSlice;
        for (;;) {
            TMessage message;
            {
                std::lock_guard guard(FSlot.Lock);
                if (FSlot.Pending.empty())
                    return true;
                if (std::chrono::steady_clock::now() >= sliceEnd) {
                    if (!FSlot.Scheduled) {
                        FSlot.Scheduled = true;
                        QCoreApplication::postEvent(this, new QEvent(NotifyEventType));
                    }
                    return true;
                }
                message = std::move(FSlot.Pending.front());
                FSlot.Pending.pop_front();
                if (FSlot.Pending.size() < NotifyWindowRoom)
                    FSlot.Room.Set();
            }
            FHandler(message);
        }
    }

private:
    TWindowSlot& FSlot;
    TNotifyWindow::THandler FHandler;
};

} // namespace

bool TWindowHandle::Post(TMessage Message) const
{
    if (!FSlot)
        return false;
    std::lock_guard guard(FSlot->Lock);
    if (!FSlot->Receiver)
        return false;
    FSlot->Pending.push_back(std::move(Message));
    if (!FSlot->Scheduled) {
        FSlot->Scheduled = true;
        auto* event = new QEvent(NotifyEventType);
        FSlot->Handoffs.fetch_add(1, std::memory_order_release);
        QCoreApplication::postEvent(FSlot->Receiver, event);
    }
    return true;
}

bool TWindowHandle::WaitForRoom(TWaitHandle Stop) const
{
    if (!FSlot)
        return true;
    for (;;) {
        {
            std::lock_guard guard(FSlot->Lock);
            if (!FSlot->Receiver || FSlot->Pending.size() < NotifyWindowRoom)
                return true;
            FSlot->Room.Reset();
        }
        if (WaitForAny({Stop, FSlot->Room.Handle()}) != 1)
            return false;
    }
}

TNotifyWindow::TNotifyWindow(THandler Handler) : FSlot(std::make_shared<TWindowSlot>())
{
    FSlot->Receiver = new TReceiver(*FSlot, std::move(Handler));
}

TNotifyWindow::~TNotifyWindow()
{
    TReceiver* receiver;
    std::deque<TMessage> dropped;
    {
        std::lock_guard guard(FSlot->Lock);
        receiver = FSlot->Receiver;
        FSlot->Receiver = nullptr;
        dropped.swap(FSlot->Pending);
        FSlot->Room.Set(); // a poster held back finds the window gone
    }
    // Messages still waiting are freed with their blocks, outside the lock.
    delete receiver;
}

} // namespace platform
