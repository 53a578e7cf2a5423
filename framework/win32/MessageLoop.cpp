#include "framework/MessageLoop.h"

#include "platform/win32/Text.h"
#include "platform/win32/Windows.h"

#include <cstdio>

namespace {

class TWin32MessageLoop final : public TMessageLoop {
public:
    explicit TWin32MessageLoop(bool Gui) : FGui(Gui) {}

    void Run() override
    {
        // The flag, not only the quit message, ends the loop: ProcessMessages may have taken
        // that message off the queue inside a handler.
        ++FRunning;
        MSG msg;
        while (!FTerminated && GetMessageW(&msg, nullptr, 0, 0) > 0)
            Dispatch(msg);
        --FRunning;
        FTerminated = false;
    }

    // Outside Run there is no loop to end (closing the last window in a test, say).
    void Terminate() override
    {
        if (FRunning == 0)
            return;
        FTerminated = true;
        PostQuitMessage(0); // wakes a Run that is waiting
    }

    // Handles what was waiting when called, and stops at the first message younger than the
    // call: a handler that posts again (a line that floods, a notification window waking itself
    // for its next slice) must not hold the caller. The system stamps every message with the
    // tick it was posted or made at, so the bound is a tick, not an exact instant.
    void ProcessMessages() override
    {
        const DWORD called = GetTickCount();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                FTerminated = FRunning > 0; // for the Run that this handler is inside of
            else
                Dispatch(msg);
            if (static_cast<LONG>(msg.time - called) > 0)
                return;
        }
    }

    void WaitForMessages(int MaxWaitMs) override
    {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(MaxWaitMs), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        ProcessMessages();
    }

    void ShowError(const std::string& Title, const std::string& Text) override
    {
        if (!FGui) {
            std::fprintf(stderr, "%s\n", Text.c_str());
            return;
        }
        // Owned by the active window, so that the operator answers it before going on there.
        MessageBoxW(GetActiveWindow(), platform::win32::WideOf(Text).c_str(),
                    platform::win32::WideOf(Title).c_str(), MB_ICONERROR | MB_OK);
    }

private:
    static void Dispatch(const MSG& Msg)
    {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }

    bool FGui;
    int FRunning = 0;
    bool FTerminated = false;
};

} // namespace

std::unique_ptr<TMessageLoop> CreateMessageLoop(int&, char**, bool Gui)
{
    return std::make_unique<TWin32MessageLoop>(Gui);
}
