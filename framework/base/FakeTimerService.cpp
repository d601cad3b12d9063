#include "framework/base/FakeTimerService.h"

#include "framework/rtl/SysUtils.h"

TimerService::TimerId FakeTimerService::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
    if (intervalMs == 0 || intervalMs > kMaxTimerInterval)
        throw Exception("Timer interval out of range: " + std::to_string(intervalMs));
    TimerId id = FNextId++;
    FTimers[id] = Entry{intervalMs, FNow + intervalMs, std::move(onTick)};
    return id;
}

void FakeTimerService::StopTimer(TimerId id) { FTimers.erase(id); }

void FakeTimerService::Advance(uint64_t ms) {
    const uint64_t target = FNow + ms;
    for (;;) {
        auto next = FTimers.end();
        for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
            if (it->second.due <= target && (next == FTimers.end() || it->second.due < next->second.due))
                next = it;
        if (next == FTimers.end()) break;
        FNow = next->second.due;
        next->second.due += next->second.interval;
        auto tick = next->second.onTick;   // the tick may stop this timer and free its owner
        tick();
    }
    FNow = target;
}
