#pragma once
// The application object: the user-interface thread and its message loop.
//
// Threading: construct, run and use it on the thread that becomes the user-interface thread
// (the program's main thread). Worker threads reach that thread only by posting (see
// platform/UiThread.h), never through this object.

#include "framework/Classes.h"
#include "framework/SysUtils.h"

#include <functional>
#include <memory>
#include <string>

class TMessageLoop;

class TApplication : public TComponent {
public:
    enum class TKind { Console, Gui };

    // Console gives a message loop without any windowing system, for programs and tests that
    // use no window.
    TApplication(int& argc, char** argv, TKind Kind = TKind::Gui);
    ~TApplication() override;

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    // Runs the message loop until Terminate is called.
    void Run();
    void Terminate();
    // Handles every message that is waiting, then returns.
    void ProcessMessages();
    // Handles messages until Done answers true or TimeoutMs passes; answers Done().
    bool ProcessMessagesUntil(const std::function<bool()>& Done, int TimeoutMs);

    // The standard error dialog for an exception that left an event handler. When
    // OnException is assigned it is called instead (tests use this to see the text).
    void ShowException(const std::exception& E);
    std::function<void(TObject* Sender, const std::string& Text)> OnException;

    // Calls Handler, sending anything it throws to ShowException (what is no std::exception as
    // "An unexpected error occurred"): what every event dispatched by the message loop goes
    // through, so no exception ends the loop.
    void Guard(const std::function<void()>& Handler);

private:
    std::unique_ptr<TMessageLoop> FLoop;
    std::string FTitle;
};

// The one application object, or null before it is created.
extern TApplication* Application;

// The text that the error dialog shows for a message: a full stop is appended when the
// message's last character sorts after ".".
std::string ErrorDialogText(const std::string& Message);
