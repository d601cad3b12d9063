#pragma once
// A TimerService for tests: time stands still until Advance moves it, and every tick
// that falls due on the way fires in time order (ties by start order). Timers started
// or stopped from inside a tick take effect at once.

#include <map>

#include "framework/base/TimerService.h"

class FakeTimerService : public TimerService {
public:
    TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) override;
    void StopTimer(TimerId id) override;

    void Advance(uint64_t ms);
    uint64_t NowMs() const { return FNow; }
    int ActiveCount() const { return static_cast<int>(FTimers.size()); }

private:
    struct Entry {
        uint32_t interval;
        uint64_t due;
        std::function<void()> onTick;
    };
    std::map<TimerId, Entry> FTimers;
    TimerId FNextId = 1;
    uint64_t FNow = 0;
};
