#pragma once
// Helpers of the window tests: one application set-up for the whole binary (the real mouse
// parked) and a pump that runs the message loop until a condition holds (with a generous
// deadline).

#include <functional>

#include "framework/win/Application.h"
#include "framework/win/GdiPlus.h"

// The real mouse waits in a corner no test window covers: Wine starts it at (0, 0), over
// the windows tests place at the top left, until it learns where the X pointer is.
inline void EnsureApplication() {
    static GdiplusSession gdiplus;
    static const bool parked = SetCursorPos(1270, 790);
    (void)parked;
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
