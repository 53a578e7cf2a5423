// The notification window over Qt's event loop: a receiver object living in the user-interface
// thread, woken with posted events, which work under a plain core application as well. The
// messages themselves wait in the shared queue (platform/NotifyQueue.h). Messages that may wait
// are woken for by an absolute-deadline timer that the receiver watches in the loop, which
// keeps a bound of a millisecond where Qt's own timers do not.
#include "platform/UiThread.h"
#include "platform/NotifyQueue.h"
#include "platform/posix/DeadlineTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QSocketNotifier>

#include <atomic>

#include <unistd.h>

namespace platform {

namespace {

const QEvent::Type NotifyEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class TReceiver;

} // namespace

// Shared by the window and every copy of its handle. Receiver is set before any handle exists
// and stays until the queue is closed; after that nothing posts to it.
//
// Qt hands each event from the posting thread to ours under its own lock, an ordering that
// tools checking for data races cannot see inside an uninstrumented library. A post therefore
// publishes every event it built through Handoffs (release) and the receiver takes it up
// (acquire) before it reads the event: the same ordering, stated in our own code.
struct TWindowSlot final : TNotifyQueue::TWakeUps {
    ~TWindowSlot()
    {
        if (Timer >= 0)
            close(Timer);
    }

    bool Now() override;

    bool By(TNotifyQueue::TClock::time_point Latest) override
    {
        return Timer >= 0 && ArmDeadlineTimer(Timer, Latest);
    }

    void Cancel() override
    {
        if (Timer >= 0)
            DisarmDeadlineTimer(Timer);
    }

    const int Timer = CreateDeadlineTimer(); // -1 without one: every message wakes at once
    TNotifyQueue Queue{*this};
    std::atomic<unsigned> Handoffs{0};
    TReceiver* Receiver = nullptr;
};

namespace {

class TReceiver : public QObject {
public:
    TReceiver(TWindowSlot& Slot, TNotifyWindow::THandler Handler)
        : FSlot(Slot), FHandler(std::move(Handler))
    {
        if (FSlot.Timer >= 0) {
            auto* due = new QSocketNotifier(FSlot.Timer, QSocketNotifier::Read, this);
            connect(due, &QSocketNotifier::activated, this,
                    [this] { FSlot.Queue.RunDue(FHandler, [this] { return FSlot.Now(); }); });
        }
    }

    bool event(QEvent* Event) override
    {
        FSlot.Handoffs.load(std::memory_order_acquire);
        if (Event->type() != NotifyEventType)
            return QObject::event(Event);
        FSlot.Queue.Run(FHandler, [this] { return FSlot.Now(); });
        return true;
    }

private:
    TWindowSlot& FSlot;
    TNotifyWindow::THandler FHandler;
};

} // namespace

bool TWindowSlot::Now()
{
    auto* event = new QEvent(NotifyEventType);
    Handoffs.fetch_add(1, std::memory_order_release);
    QCoreApplication::postEvent(Receiver, event);
    return true;
}

TNotifyWindow::TNotifyWindow(THandler Handler) : FSlot(std::make_shared<TWindowSlot>())
{
    FSlot->Receiver = new TReceiver(*FSlot, std::move(Handler));
}

TWindowHandle TNotifyWindow::Handle() const
{
    return TWindowHandle(std::shared_ptr<TNotifyQueue>(FSlot, &FSlot->Queue));
}

TNotifyWindow::~TNotifyWindow()
{
    FSlot->Queue.Close();
    // Qt drops the events still posted to the receiver with it, and the timer's watcher too.
    delete FSlot->Receiver;
}

} // namespace platform
