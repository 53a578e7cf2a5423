#include "framework/Application.h"

#include "framework/MessageLoop.h"

#include <algorithm>
#include <chrono>

TApplication* Application = nullptr;

TApplication::TApplication(int& argc, char** argv, TKind Kind)
    : TComponent(nullptr), FLoop(CreateMessageLoop(argc, argv, Kind == TKind::Gui))
{
    Application = this;
}

TApplication::~TApplication()
{
    // Components owned by the application go before the message loop they may rely on.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    Application = nullptr;
}

void TApplication::Run() { FLoop->Run(); }

void TApplication::Terminate() { FLoop->Terminate(); }

void TApplication::ProcessMessages() { FLoop->ProcessMessages(); }

bool TApplication::ProcessMessagesUntil(const std::function<bool()>& Done, int TimeoutMs)
{
    // Another thread may set what Done reads without posting anything, so no wait is longer
    // than this between two looks at it.
    constexpr auto kLookInterval = std::chrono::milliseconds(1);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs);
    FLoop->ProcessMessages();
    while (!Done()) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return Done();
        const auto wait = std::min<Clock::duration>(deadline - now, kLookInterval);
        FLoop->WaitForMessages(
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
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
    FLoop->ShowError(FTitle, text);
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
