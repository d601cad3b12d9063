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

// The deadline is looked at after a pass, so that a short pump (a wait for nothing) takes
// at least what is queued already, however late the thread gets the processor.
inline bool PumpUntil(const std::function<bool()>& done, int deadlineMs = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
        if (!done() && GetTickCount() - start > DWORD(deadlineMs)) return false;
    }
    return true;
}
