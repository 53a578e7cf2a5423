#include "framework/Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTimer>

TApplication* Application = nullptr;

struct TApplication::TImpl {
    std::unique_ptr<QCoreApplication> App;
    bool Gui = false;
};

TApplication::TApplication(int& argc, char** argv, TKind Kind)
    : TComponent(nullptr), FImpl(std::make_unique<TImpl>())
{
    FImpl->Gui = Kind == TKind::Gui;
    if (FImpl->Gui)
        FImpl->App = std::make_unique<QApplication>(argc, argv);
    else
        FImpl->App = std::make_unique<QCoreApplication>(argc, argv);
    Application = this;
}

TApplication::~TApplication()
{
    // Components owned by the application go before the Qt application they may rely on.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    Application = nullptr;
}

void TApplication::Run() { FImpl->App->exec(); }

void TApplication::Terminate() { FImpl->App->quit(); }

void TApplication::ProcessMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TApplication::ProcessMessagesUntil(const std::function<bool()>& Done, int TimeoutMs)
{
    // Sleep in the event loop between checks: a timer wakes it now and then, so that a
    // condition set by another thread without a message is seen too, and the deadline is kept.
    QDeadlineTimer deadline(TimeoutMs);
    QTimer tick;
    tick.start(1);
    while (!Done()) {
        if (deadline.hasExpired())
            return Done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void TApplication::ShowException(const std::exception& E)
{
    const auto* own = dynamic_cast<const Exception*>(&E);
    const std::string text = ErrorDialogText(own ? own->Message() : std::string(E.what()));
    if (OnException) {
        OnException(this, text);
        return;
    }
    if (FImpl->Gui) {
        QMessageBox box(QMessageBox::Critical, QString::fromStdString(FTitle),
                        QString::fromStdString(text), QMessageBox::Ok);
        box.exec();
    } else {
        qWarning("%s", text.c_str());
    }
}

void TApplication::Guard(const std::function<void()>& Handler)
{
    try {
        Handler();
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        // Anything else thrown carries no text of its own; it must not end the program either.
        ShowException(Exception("An unexpected error occurred"));
    }
}

std::string ErrorDialogText(const std::string& Message)
{
    if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.')
        return Message + ".";
    return Message;
}
