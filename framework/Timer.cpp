#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/NativeWindow.h"
#include "framework/Property.h"

TTimer::TTimer(TComponent* Owner)
    : TComponent(Owner), FTicker(NewNativeTimer([this] {
          if (Application)
              Application->Guard([this] { Timer(); });
          else
              Timer();
      }))
{
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool Value)
{
    SetProperty(FEnabled, Value, [this] { UpdateTimer(); });
}

void TTimer::SetInterval(unsigned Value)
{
    SetProperty(FInterval, Value, [this] { UpdateTimer(); });
}

void TTimer::SetOnTimer(TNotifyEvent Value)
{
    FOnTimer = std::move(Value);
    UpdateTimer();
}

bool TTimer::Running() const { return FEnabled && FInterval != 0 && FOnTimer; }

void TTimer::Timer()
{
    if (FOnTimer)
        FOnTimer(this);
}

void TTimer::UpdateTimer()
{
    // Any change restarts the period, so a timer that is switched off and on again waits a
    // whole interval before its next tick.
    FTicker->Stop();
    if (Running())
        FTicker->Start(FInterval);
}
