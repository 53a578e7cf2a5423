// The notification window over Qt's event loop: a receiver object living in the user-interface
// thread, reached with posted events, which work under a plain core application as well.
#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <mutex>

namespace {

const QEvent::Type NotifyEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class TPostedEvent : public QEvent {
public:
    explicit TPostedEvent(TMessage Message)
        : QEvent(NotifyEventType), Message(std::move(Message)) {}
    TMessage Message;
};

class TReceiver : public QObject {
public:
    explicit TReceiver(TNotifyWindow::THandler Handler) : FHandler(std::move(Handler)) {}

    bool event(QEvent* Event) override
    {
        if (Event->type() != NotifyEventType)
            return QObject::event(Event);
        FHandler(static_cast<TPostedEvent*>(Event)->Message);
        return true;
    }

private:
    TNotifyWindow::THandler FHandler;
};

} // namespace

// Shared by the window and every copy of its handle; the lock keeps a post from racing the
// window's destruction.
struct TWindowSlot {
    std::mutex Lock;
    TReceiver* Receiver = nullptr;
};

bool TWindowHandle::Post(TMessage Message) const
{
    if (!FSlot)
        return false;
    std::lock_guard guard(FSlot->Lock);
    if (!FSlot->Receiver)
        return false;
    QCoreApplication::postEvent(FSlot->Receiver, new TPostedEvent(std::move(Message)));
    return true;
}

TNotifyWindow::TNotifyWindow(THandler Handler) : FSlot(std::make_shared<TWindowSlot>())
{
    FSlot->Receiver = new TReceiver(std::move(Handler));
}

TNotifyWindow::~TNotifyWindow()
{
    TReceiver* receiver;
    {
        std::lock_guard guard(FSlot->Lock);
        receiver = FSlot->Receiver;
        FSlot->Receiver = nullptr;
    }
    // Deleting the receiver deletes the events still waiting for it, and their blocks.
    delete receiver;
}
