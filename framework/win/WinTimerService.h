#pragma once
// The Windows TimerService: SetTimer on a private message-only window, with ids from
// 100 up (never the ids form windows use). A tick's exception goes to the application;
// the timer does not tick again while that report (a message box) is open.

#include <map>
#include <set>

#include "framework/base/TimerService.h"
#include "framework/win/WinApi.h"

class WinTimerService : public TimerService {
public:
    ~WinTimerService() override;
    TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) override;
    void StopTimer(TimerId id) override;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Tick(TimerId id);

    HWND FWindow = nullptr;
    std::map<TimerId, std::function<void()>> FTimers;
    std::set<TimerId> FReporting;   // timers whose exception is being reported
    TimerId FNextId = 100;
};
