// The notification window over Qt's event loop: a receiver object living in the user-interface
// thread, woken with posted events, which work under a plain core application as well. The
// messages themselves wait in the shared queue (platform/NotifyQueue.h).
#include "platform/UiThread.h"
#include "platform/NotifyQueue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <atomic>

namespace platform {

namespace {

const QEvent::Type NotifyEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class TReceiver;

} // namespace

// Shared by the window and every copy of its handle. Receiver is set before any handle exists
// and stays until the slot is closed; after that nothing posts to it.
//
// Qt hands each event from the posting thread to ours under its own lock, an ordering that
// tools checking for data races cannot see inside an uninstrumented library. A post therefore
// publishes every event it built through Handoffs (release) and the receiver takes it up
// (acquire) before it reads the event: the same ordering, stated in our own code.
struct TWindowSlot {
    TNotifyQueue Queue;
    std::atomic<unsigned> Handoffs{0};
    TReceiver* Receiver = nullptr;
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
        FSlot.Queue.Run(FHandler, [this] {
            QCoreApplication::postEvent(this, new QEvent(NotifyEventType));
            return true;
        });
        return true;
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
    TWindowSlot& slot = *FSlot;
    return slot.Queue.Post(std::move(Message), [&slot] {
        auto* event = new QEvent(NotifyEventType);
        slot.Handoffs.fetch_add(1, std::memory_order_release);
        QCoreApplication::postEvent(slot.Receiver, event);
        return true;
    });
}

bool TWindowHandle::WaitForRoom(TWaitHandle Stop) const
{
    return !FSlot || FSlot->Queue.WaitForRoom(Stop);
}

TNotifyWindow::TNotifyWindow(THandler Handler) : FSlot(std::make_shared<TWindowSlot>())
{
    FSlot->Receiver = new TReceiver(*FSlot, std::move(Handler));
}

TNotifyWindow::~TNotifyWindow()
{
    FSlot->Queue.Close();
    // Qt drops the events still posted to the receiver with it.
    delete FSlot->Receiver;
}

} // namespace platform
