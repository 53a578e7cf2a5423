#include "framework/MessageLoop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTimer>

namespace {

class TQtMessageLoop final : public TMessageLoop {
public:
    TQtMessageLoop(int& argc, char** argv, bool Gui) : FGui(Gui)
    {
        if (Gui)
            FApp = std::make_unique<QApplication>(argc, argv);
        else
            FApp = std::make_unique<QCoreApplication>(argc, argv);
    }

    void Run() override { FApp->exec(); }

    void Terminate() override { FApp->quit(); }

    void ProcessMessages() override
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    bool ProcessMessagesUntil(const std::function<bool()>& Done, int TimeoutMs) override
    {
        // Sleep in the event loop between checks: a timer wakes it now and then, so that a
        // condition set by another thread without a message is seen too, and the deadline is
        // kept.
        QDeadlineTimer deadline(TimeoutMs);
        QTimer tick;
        tick.start(1);
        while (!Done()) {
            if (deadline.hasExpired())
                return Done();
            QCoreApplication::processEvents(QEventLoop::AllEvents |
                                            QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    void ShowError(const std::string& Title, const std::string& Text) override
    {
        if (FGui) {
            QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title),
                            QString::fromStdString(Text), QMessageBox::Ok);
            box.exec();
        } else {
            qWarning("%s", Text.c_str());
        }
    }

private:
    std::unique_ptr<QCoreApplication> FApp;
    bool FGui;
};

} // namespace

std::unique_ptr<TMessageLoop> CreateMessageLoop(int& argc, char** argv, bool Gui)
{
    return std::make_unique<TQtMessageLoop>(argc, argv, Gui);
}
