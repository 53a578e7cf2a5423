#include "framework/MessageLoop.h"

#include <QApplication>
#include <QCoreApplication>
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
        FWake = std::make_unique<QTimer>();
        FWake->setSingleShot(true);
    }

    void Run() override { FApp->exec(); }

    void Terminate() override { FApp->quit(); }

    void ProcessMessages() override
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    void WaitForMessages(int MaxWaitMs) override
    {
        // The timer's own event ends the wait when nothing else comes.
        FWake->start(MaxWaitMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        FWake->stop();
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
    std::unique_ptr<QTimer> FWake; // made after FApp and gone before it
    bool FGui;
};

} // namespace

std::unique_ptr<TMessageLoop> CreateMessageLoop(int& argc, char** argv, bool Gui)
{
    return std::make_unique<TQtMessageLoop>(argc, argv, Gui);
}
