#pragma once
// TTimer: calls OnTimer every Interval milliseconds while Enabled. Interval 0 stops it;
// one above kMaxTimerInterval means it never fires. While its owner is loading the timer
// only records its settings and starts in Loaded. Disabling or freeing a timer inside
// its own OnTimer is safe. Ticks come from the installed TimerService, except for a driven
// timer: it keeps Enabled and Interval but takes no ticks of its own, and whoever drives
// it (one shared tick for many such timers) calls its OnTimer while it is enabled.

#include <cstdint>

#include "framework/base/Component.h"
#include "framework/base/TimerService.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t value);
    bool Running() const { return FTimerId != 0; }   // a service timer is active
    bool Driven() const { return FDriven; }
    void SetDriven(bool value);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;
    virtual void Timer();

private:
    void UpdateTimer();

    bool FEnabled = true;
    bool FDriven = false;
    uint32_t FInterval = 1000;
    TimerService::TimerId FTimerId = 0;
};
