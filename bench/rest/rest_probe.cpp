// The Windows side of rest-bench.sh.
//   rest_probe start <exe> [runs]     starts the program runs times (ended between runs)
//                                     and prints the milliseconds from CreateProcess until
//                                     a layered window of it shows pixels on the screen
//                                     where no other window is
//   rest_probe stalls <exe> <seconds> pings the UI thread of the running program (its
//                                     layered window) with WM_NULL every 10 ms and prints
//                                     the longest answer and how many took over 16 ms
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double NowMs()
{
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

struct Search {
    DWORD pid = 0;
    HWND found = nullptr;
};

// A visible layered top-level window of the process.
HWND LayeredWindowOf(DWORD pid)
{
    Search s;
    s.pid = pid;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s.pid || !IsWindowVisible(w) || !(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED))
                return TRUE;
            s.found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The rectangles of the other visible top-level windows (another of the program, the
// tray icons Wine shows at the top left when there is no tray).
std::vector<RECT> OtherWindows(HWND w)
{
    struct Others { HWND self; std::vector<RECT> rects; } others{w, {}};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto& o = *reinterpret_cast<Others*>(p);
            RECT r;
            if (h != o.self && IsWindowVisible(h) && GetWindowRect(h, &r))
                o.rects.push_back(r);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&others));
    return others.rects;
}

// Some pixel of the window's rectangle on the screen, outside every other window, is not
// black (the bare desktop).
bool ShowsPixels(HWND w)
{
    RECT r;
    if (!GetWindowRect(w, &r) || r.right <= r.left || r.bottom <= r.top)
        return false;
    const std::vector<RECT> others = OtherWindows(w);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    bool any = false;
    for (int y = 0; y < height && !any; ++y)
        for (int x = 0; x < width && !any; ++x) {
            const POINT at{r.left + x, r.top + y};
            any = (p[y * width + x] & 0xFFFFFF) != 0 &&
                  std::none_of(others.begin(), others.end(), [&](const RECT& o) { return PtInRect(&o, at); });
        }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return any;
}

DWORD ProcessByName(const std::wstring& exe)
{
    std::wstring name = exe.substr(exe.find_last_of(L"\\/") + 1);
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e{};
    e.dwSize = sizeof(e);
    DWORD pid = 0;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        if (_wcsicmp(e.szExeFile, name.c_str()) == 0)
            pid = e.th32ProcessID;
    CloseHandle(snap);
    return pid;
}

int Start(const std::wstring& exe, int runs)
{
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring line = L"\"" + exe + L"\"";
        const double t0 = NowMs();
        if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
            std::fprintf(stderr, "cannot start %ls (%lu)\n", exe.c_str(), GetLastError());
            return 1;
        }
        double shown = -1;
        while (NowMs() - t0 < 30000) {
            HWND w = LayeredWindowOf(pi.dwProcessId);
            if (w && ShowsPixels(w)) {
                shown = NowMs() - t0;
                break;
            }
            Sleep(5);
        }
        times.push_back(shown);
        std::printf("run %d: %.0f ms\n", run + 1, shown);
        std::fflush(stdout);
        Sleep(1500);   // let start-up finish before the next run
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        Sleep(500);
    }
    std::sort(times.begin(), times.end());
    std::printf("start median %.0f ms\n", times[times.size() / 2]);
    return 0;
}

int Stalls(const std::wstring& exe, int seconds)
{
    DWORD pid = ProcessByName(exe);
    HWND w = pid ? LayeredWindowOf(pid) : nullptr;
    if (!w) {
        std::fprintf(stderr, "no layered window of %ls\n", exe.c_str());
        return 1;
    }
    std::vector<double> answers;
    const double end = NowMs() + seconds * 1000.0;
    while (NowMs() < end) {
        const double t = NowMs();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        answers.push_back(NowMs() - t);
        Sleep(10);
    }
    std::sort(answers.begin(), answers.end());
    const auto over = std::count_if(answers.begin(), answers.end(), [](double a) { return a > 16; });
    std::printf("stalls pings %zu, longest %.1f ms, 99th %.1f ms, over 16 ms %d\n", answers.size(), answers.back(),
                answers[answers.size() * 99 / 100], int(over));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && std::wstring(argv[1]) == L"start")
        return Start(argv[2], argc > 3 ? _wtoi(argv[3]) : 3);
    if (argc >= 4 && std::wstring(argv[1]) == L"stalls")
        return Stalls(argv[2], _wtoi(argv[3]));
    std::fprintf(stderr, "usage: rest_probe start <exe> [runs] | stalls <exe> <seconds>\n");
    return 2;
}
