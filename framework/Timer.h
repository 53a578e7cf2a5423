#pragma once
// A timer component: OnTimer runs on the user-interface thread every Interval milliseconds
// while Enabled is True, the interval is not zero and a handler is assigned. A handler that
// throws reaches the application's error dialog and the timer keeps running.
//
// Threading: user-interface thread only; the ticks are delivered by its message loop, so a
// handler never runs while another handler of the same thread is running.

#include "framework/Classes.h"

#include <memory>

class TNativeTimer;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* Owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds between ticks; setting it while running starts the period again.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent Value);

    // Whether the timer is counting: Enabled, a non-zero interval and a handler.
    bool Running() const;

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    std::unique_ptr<TNativeTimer> FTicker;
    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
};
