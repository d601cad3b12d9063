#include "framework/win/WinTimerService.h"

#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"

WinTimerService::~WinTimerService() {
    if (FWindow) DestroyWindow(FWindow);
}

TimerService::TimerId WinTimerService::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
    if (!FWindow) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VorpenTimerWindow";
        RegisterClassExW(&wc);
        FWindow = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        if (!FWindow) RaiseLastOSError("CreateWindowEx (timer window)");
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    TimerId id = FNextId++;
    if (!SetTimer(FWindow, static_cast<UINT_PTR>(id), intervalMs, nullptr)) RaiseLastOSError("SetTimer");
    FTimers[id] = std::move(onTick);
    return id;
}

void WinTimerService::StopTimer(TimerId id) {
    if (FTimers.erase(id) && FWindow) KillTimer(FWindow, static_cast<UINT_PTR>(id));
}

// A copy of the callback runs: the tick may stop its timer and free its owner.
void WinTimerService::Tick(TimerId id) {
    auto it = FTimers.find(id);
    if (it == FTimers.end() || FReporting.count(id)) return;
    auto tick = it->second;
    try {
        tick();
    } catch (...) {
        FReporting.insert(id);
        Application->HandleException(nullptr);
        FReporting.erase(id);
    }
}

LRESULT CALLBACK WinTimerService::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        if (auto* self = reinterpret_cast<WinTimerService*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) self->Tick(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
