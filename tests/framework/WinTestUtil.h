#pragma once
// Helpers of the window tests: one application set-up for the whole binary and a pump
// that runs the message loop until a condition holds (with a generous deadline).

#include <functional>

#include "framework/win/Application.h"
#include "framework/win/GdiPlus.h"

inline void EnsureApplication() {
    static GdiplusSession gdiplus;
    Application->Initialize();
}

inline bool PumpUntil(const std::function<bool()>& done, int deadlineMs = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > DWORD(deadlineMs)) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return true;
}
