// Start-up under Wine: from starting vorpen.exe to its desktop calendar ("日历") on the
// screen, for several data files, and the longest time the clock window left a message
// unanswered meanwhile and for three seconds after (the clock standing still). Each data
// file runs in its own copy of the program's folder: the first start there finds this
// year's festival dates and the memos due days back still to move; the two starts after
// it find them written. Run by hand:
//   wine startup_bench.exe <dist folder> <data file> [<data file> ...]
// The first data file is the baseline (the shipped one, or one of ten memos); each other
// figure is printed with its ratio to it. The program's clock starts at 2026-12-09 09:00,
// the day make-memo-data.py takes by default in these runs (--today 2026-12-09).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "tests/smoke/ProcessWindows.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

std::wstring TitleOf(HWND h)
{
    wchar_t text[64] = {};
    GetWindowTextW(h, text, 64);
    return text;
}

struct TRun {
    double Calendar = -1;   // ms to the calendar shown, -1 when it never showed
    double Stall = 0;       // longest unanswered message to the first window shown, ms
};

TRun RunOnce(const fs::path& folder)
{
    TRun result;
    std::wstring exe = (folder / L"vorpen.exe").wstring(), dir = folder.wstring();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    SetEnvironmentVariableW(L"VORPEN_START_TIME", L"2026-12-09 09:00:00");
    const auto t0 = Clock::now();
    if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return result;
    HWND first = nullptr;
    double shownAt = -1;
    while (MsSince(t0) < 120000) {
        for (HWND h : VisibleWindowsOf(pi.dwProcessId)) {
            if (!first)
                first = h;
            if (result.Calendar < 0 && TitleOf(h) == L"日历")
                result.Calendar = MsSince(t0);
        }
        if (result.Calendar >= 0 && shownAt < 0)
            shownAt = MsSince(t0);
        if (shownAt >= 0 && MsSince(t0) - shownAt > 3000)
            break;
        if (first) {
            const auto ping = Clock::now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(first, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
            result.Stall = std::max(result.Stall, MsSince(ping));
        }
        Sleep(10);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench.exe <dist folder> <data file> [<data file> ...]\n");
        return 2;
    }
    const fs::path dist = argv[1];
    double baseFirst = 0, baseLater = 0;
    for (int a = 2; a < argc; ++a) {
        const fs::path folder = fs::temp_directory_path() / ("vorpen-startup-bench-" + std::to_string(a));
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        fs::copy(dist, folder, fs::copy_options::recursive);
        fs::copy_file(argv[a], folder / L"qmkDemo.mdb", fs::copy_options::overwrite_existing);
        double first = 0, later = 1e300, firstStall = 0, laterStall = 0;
        for (int run = 0; run < 3; ++run) {
            const TRun r = RunOnce(folder);
            if (r.Calendar < 0) {
                std::fprintf(stderr, "%ls: the calendar never showed\n", argv[a]);
                return 1;
            }
            if (run == 0) {
                first = r.Calendar;
                firstStall = r.Stall;
            } else {
                later = std::min(later, r.Calendar);
                laterStall = std::max(laterStall, r.Stall);
            }
        }
        if (a == 2) {
            baseFirst = first;
            baseLater = later;
        }
        std::printf("%ls: start to calendar, first start %.0f ms (%.2fx the first file's), later starts %.0f ms "
                    "(%.2fx); clock's longest stall %.0f ms first, %.0f ms later\n",
                    argv[a], first, first / baseFirst, later, later / baseLater, firstStall, laterStall);
    }
    return 0;
}
