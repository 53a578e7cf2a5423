#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/Property.h"

#include <QTimer>

#include <algorithm>
#include <climits>

struct TTimer::TImpl {
    QTimer Timer;
};

TTimer::TTimer(TComponent* Owner) : TComponent(Owner), FImpl(std::make_unique<TImpl>())
{
    FImpl->Timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FImpl->Timer, &QTimer::timeout, [this] {
        if (Application)
            Application->Guard([this] { Timer(); });
        else
            Timer();
    });
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

bool TTimer::Running() const { return FImpl->Timer.isActive(); }

void TTimer::Timer()
{
    if (FOnTimer)
        FOnTimer(this);
}

void TTimer::UpdateTimer()
{
    // Any change restarts the period, so a timer that is switched off and on again waits a
    // whole interval before its next tick.
    FImpl->Timer.stop();
    if (FEnabled && FInterval != 0 && FOnTimer)
        FImpl->Timer.start(static_cast<int>(std::min<unsigned>(FInterval, INT_MAX)));
}
