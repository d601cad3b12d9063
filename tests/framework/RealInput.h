#pragma once
// Real mouse and keyboard input (SendInput) for window tests: each step is pumped until
// the program's message loop has seen it (or a generous deadline passed: the step fails).

#include <vector>

#include "framework/rtl/Types.h"
#include "tests/framework/WinTestUtil.h"

// Real input, each step pumped until the program has seen it.
class TRealInput {
public:
    TRealInput() {
        EnsureApplication();
        FFilter = Application->AddMessageFilter([this](MSG& msg) {
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                FMouse.push_back(msg.message);
                FAt = msg.pt;
            } else if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
                FKeys.push_back(msg.message);
            }
            return false;
        });
    }
    ~TRealInput() { Application->RemoveMessageFilter(FFilter); }
    TRealInput(const TRealInput&) = delete;
    TRealInput& operator=(const TRealInput&) = delete;

    bool MoveTo(TPoint p) {
        POINT now;
        GetCursorPos(&now);
        if (now.x == p.X && now.y == p.Y && FAt.x == p.X && FAt.y == p.Y) return true;   // already there
        Send(p, MOUSEEVENTF_MOVE);
        return PumpUntil([&] { return FAt.x == p.X && FAt.y == p.Y && Seen(WM_MOUSEMOVE); });
    }
    bool Button(DWORD flag, UINT message) {
        FMouse.clear();
        Send({FAt.x, FAt.y}, flag);
        return PumpUntil([&] { return Seen(message); });
    }
    // One key pressed (down) or let go (up).
    bool KeyAction(WORD vk, bool down) {
        FKeys.clear();
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &in, sizeof(INPUT));
        return PumpUntil([&] { return !FKeys.empty(); });
    }
    bool Key(WORD vk) {
        FKeys.clear();
        INPUT in[2]{};
        for (INPUT& i : in) {
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = vk;
        }
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        return PumpUntil([&] { return FKeys.size() >= 2; });
    }

private:
    bool Seen(UINT message) const {
        for (UINT m : FMouse)
            if (m == message) return true;
        return false;
    }
    void Send(TPoint p, DWORD flags) {
        if (flags == MOUSEEVENTF_MOVE) FMouse.clear();
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = p.X * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = p.Y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        SendInput(1, &in, sizeof(in));
    }
    int FFilter = 0;
    std::vector<UINT> FMouse, FKeys;
    POINT FAt{-1, -1};
};

