#include "framework/NativeWindow.h"

#include "platform/win32/Windows.h"

#include <map>

namespace {

class TWin32Timer;

// Thread timers by their identifiers: the message loop hands each WM_TIMER to TimerProc.
std::map<UINT_PTR, TWin32Timer*>& Timers()
{
    static std::map<UINT_PTR, TWin32Timer*> timers;
    return timers;
}

class TWin32Timer final : public TNativeTimer {
public:
    explicit TWin32Timer(std::function<void()> Tick) : FTick(std::move(Tick)) {}
    ~TWin32Timer() override { Stop(); }

    void Start(unsigned Milliseconds) override
    {
        Stop();
        FId = SetTimer(nullptr, 0, Milliseconds, &TimerProc);
        if (FId)
            Timers()[FId] = this;
    }
    void Stop() override
    {
        if (!FId)
            return;
        KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR Id, DWORD)
    {
        // A tick already queued when its timer stopped finds nothing here.
        if (auto timer = Timers().find(Id); timer != Timers().end())
            timer->second->FTick();
    }

    std::function<void()> FTick;
    UINT_PTR FId = 0;
};

} // namespace

std::unique_ptr<TNativeTimer> NewNativeTimer(std::function<void()> Tick)
{
    return std::make_unique<TWin32Timer>(std::move(Tick));
}
