#pragma once
// Real mouse input for the window tests, and a drag of a window by it.
//
// The system move loop runs inside the handler of the first move with the button down, on
// the window's thread, so the drag's input comes from a second thread. Each move waits until
// the window's thread has taken the one before: moves still queued are merged into one, and
// a loop that starts at a later move leaves the window elsewhere.
#include <windows.h>

#include <string>
#include <thread>

// Absolute mouse input at a screen point.
inline void MouseAt(int x, int y, DWORD buttons = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof(in));
}

// A button pressed or released where the mouse is, with no move.
inline void MouseButton(DWORD button)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = button;
    SendInput(1, &in, sizeof(in));
}

class RealDrag {
public:
    // Presses the left button at `from` and moves by (dx, dy) `steps` times; the move loop
    // starts at the first move, so the window ends (steps - 1) * (dx, dy) from where it stood.
    // The caller pumps messages until then and calls Finish.
    RealDrag(HWND window, POINT from, int dx, int dy, int steps)
    {
        RECT start{};
        GetWindowRect(window, &start);
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        user = std::thread([=, this] {
            MouseButton(MOUSEEVENTF_LEFTDOWN);
            MouseAt(from.x + dx, from.y + dy);
            if (!Await([&] { return Moving(thread) == window; }))
                failure = "the move loop did not start";
            for (int step = 2; step <= steps && failure.empty(); ++step) {
                MouseAt(from.x + dx * step, from.y + dy * step);
                const LONG left = start.left + dx * (step - 1), top = start.top + dy * (step - 1);
                if (!Await([&] {
                        RECT now{};
                        GetWindowRect(window, &now);
                        return now.left == left && now.top == top;
                    }))
                    failure = "the window did not follow move " + std::to_string(step);
            }
            MouseButton(MOUSEEVENTF_LEFTUP);
            if (!Await([&] { return Moving(thread) == nullptr; }))
                failure += "; the move loop did not end";
        });
    }
    RealDrag(const RealDrag&) = delete;
    RealDrag& operator=(const RealDrag&) = delete;
    ~RealDrag()
    {
        if (user.joinable())
            user.join();
    }

    // Waits for the input thread; empty when every step was taken.
    std::string Finish()
    {
        if (user.joinable())
            user.join();
        return failure;
    }

private:
    static HWND Moving(DWORD thread)
    {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(thread, &gui) ? gui.hwndMoveSize : nullptr;
    }
    // Polls up to 10 s.
    template <class Done>
    static bool Await(Done done)
    {
        for (const DWORD start = GetTickCount(); !done();) {
            if (GetTickCount() - start > 10000)
                return false;
            Sleep(1);
        }
        return true;
    }

    std::string failure;
    std::thread user;
};
