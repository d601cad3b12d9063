#include "framework/base/Timer.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
    if (FTimerId) CurrentTimerService().StopTimer(FTimerId);
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
    if (value == FInterval) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetDriven(bool value) {
    if (value == FDriven) return;
    FDriven = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

// Restarts the service timer from scratch, as a changed interval counts from now.
void TTimer::UpdateTimer() {
    if (Loading()) return;
    if (FTimerId) {
        CurrentTimerService().StopTimer(FTimerId);
        FTimerId = 0;
    }
    if (FEnabled && !FDriven && FInterval != 0 && FInterval <= kMaxTimerInterval)
        FTimerId = CurrentTimerService().StartTimer(FInterval, [this] { Timer(); });
}

// Works on a copy of the handler: the handler may free this timer.
void TTimer::Timer() {
    if (TNotifyEvent handler = OnTimer) handler(this);
}
