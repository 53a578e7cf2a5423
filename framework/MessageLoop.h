#pragma once
// Framework-internal: what the application object needs of the platform. The shared
// TApplication (framework/Application.cpp) keeps the routing of errors, the title and the
// owned components; one of these does the waiting and the dispatching of messages and shows
// the error dialog. Each OS build links exactly one backend (framework/qt/ on Linux,
// framework/win32/ on Windows) through CreateMessageLoop, so no shared code chooses between
// them.
//
// Rules for a backend: Run returns once a handler it dispatched has called Terminate;
// ProcessMessages never waits; WaitForMessages sleeps until a message comes or MaxWaitMs pass,
// whichever is first, then handles what is waiting. The deadline loop over it is shared
// (TApplication::ProcessMessagesUntil). The error dialog is modal and comes back
// when the operator closes it; a console application writes the text to the error stream.
//
// Threading: created, used and destroyed on the user-interface thread only.

#include <memory>
#include <string>

class TMessageLoop {
public:
    virtual ~TMessageLoop() = default;
    virtual void Run() = 0;
    virtual void Terminate() = 0;
    virtual void ProcessMessages() = 0;
    virtual void WaitForMessages(int MaxWaitMs) = 0;
    virtual void ShowError(const std::string& Title, const std::string& Text) = 0;
};

// Gui false: messages without any windowing system.
std::unique_ptr<TMessageLoop> CreateMessageLoop(int& argc, char** argv, bool Gui);
