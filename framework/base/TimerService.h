#pragma once
// The timer seam: TTimer asks the current TimerService for periodic ticks. The Windows
// layer installs one over SetTimer when the application starts; native tests install a
// FakeTimerService and advance its clock by hand. Stopping a timer from inside its own
// tick (or freeing its owner there) must be safe in every implementation.

#include <cstdint>
#include <functional>

class TimerService {
public:
    using TimerId = uint64_t;
    virtual ~TimerService() = default;
    // Calls onTick every intervalMs (1..kMaxTimerInterval) until stopped; returns a
    // non-zero id.
    virtual TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) = 0;
    virtual void StopTimer(TimerId id) = 0;   // an unknown id is ignored
};

// Longest interval that still fires; a longer one means "never" (USER_TIMER_MAXIMUM).
constexpr uint32_t kMaxTimerInterval = 0x7FFFFFFF;

// The installed service; raises Exception when none is installed.
TimerService& CurrentTimerService();
// Installs a service (nullptr removes it). The caller keeps it alive while timers run.
void SetTimerService(TimerService* service);
