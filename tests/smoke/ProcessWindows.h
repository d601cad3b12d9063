#pragma once
// The visible top-level windows of a process, for the tests and benchmarks that start
// vorpen.exe and watch what it shows.

#include <windows.h>

#include <set>

inline std::set<HWND> VisibleWindowsOf(DWORD pid)
{
    struct Search {
        DWORD Pid;
        std::set<HWND> Windows;
    } search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == search->Pid && IsWindowVisible(hwnd))
                search->Windows.insert(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Windows;
}
