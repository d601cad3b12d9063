// Every wake-up of the program at rest: the program itself (its own WinMain, made in the
// program folder) with a message hook on its UI thread that puts a timing wrapper on each
// window a message is taken for, and so counts each message and the time its handling
// takes, per window and message (per timer for WM_TIMER), after a warm-up; then the
// timers of every form.
//   rest_tally.exe [warm-up seconds] [seconds] [report file]
// (copied beside vorpen.exe by rest-bench.sh; the report goes to rest_tally.txt by default)
#define wWinMain VorpenWinMain
#include "app/win/WinMain.cpp"
#undef wWinMain

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <map>
#include <tuple>

#include "framework/base/Timer.h"

namespace {

struct Cost {
    long long count = 0;
    double totalMs = 0, maxMs = 0;
};
using Key = std::tuple<std::wstring, UINT, WPARAM>;   // window, message, timer id

std::map<Key, Cost> g_tally;
std::map<HWND, WNDPROC> g_procs;   // the procedures the timing wrapper calls on to
int g_depth = 0;
bool g_counting = false;
int g_warmup = 8, g_seconds = 60;
FILE* g_out = stdout;

double NowMs()
{
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

// The window's class and caption, the name a reader finds it by.
std::wstring WindowName(HWND w)
{
    wchar_t cls[64] = L"", text[24] = L"";
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, text, 24);
    return std::wstring(cls) + L" \"" + text + L"\"";
}

// Times each outermost call into a window's procedure: what the message costs the UI thread.
LRESULT CALLBACK Timed(HWND w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto it = g_procs.find(w);
    if (it == g_procs.end())
        return DefWindowProcW(w, msg, wParam, lParam);
    WNDPROC next = it->second;
    if (msg == WM_NCDESTROY)
        g_procs.erase(it);
    const bool outer = g_depth++ == 0;
    const double t0 = NowMs();
    const LRESULT r = CallWindowProcW(next, w, msg, wParam, lParam);
    --g_depth;
    if (outer && g_counting) {
        const double ms = NowMs() - t0;
        ++g_depth;   // reading the caption sends WM_GETTEXT, which is not the program's
        Key key(WindowName(w), msg, msg == WM_TIMER ? wParam : 0);
        --g_depth;
        Cost& c = g_tally[key];
        ++c.count;
        c.totalMs += ms;
        c.maxMs = std::max(c.maxMs, ms);
    }
    return r;
}

// Every window a message is taken for gets the timing wrapper.
LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam)
{
    const MSG& m = *reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && removal == PM_REMOVE && m.hwnd && !g_procs.count(m.hwnd) &&
        GetWindowThreadProcessId(m.hwnd, nullptr) == GetCurrentThreadId())
        g_procs[m.hwnd] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Timed)));
    return CallNextHookEx(nullptr, code, removal, lParam);
}

// Where the memory is: the working set and private bytes, the bytes in use on each heap,
// and the GDI and USER objects.
void Memory(const char* when)
{
    PROCESS_MEMORY_COUNTERS_EX pm{};
    pm.cb = sizeof(pm);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pm), sizeof(pm));
    HANDLE heaps[64];
    const DWORD n = GetProcessHeaps(64, heaps);
    double busy = 0;
    int blocks = 0;
    for (DWORD i = 0; i < n && i < 64; ++i) {
        PROCESS_HEAP_ENTRY e{};
        if (!HeapLock(heaps[i]))
            continue;
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                busy += e.cbData;
                ++blocks;
            }
        HeapUnlock(heaps[i]);
    }
    std::fprintf(g_out, "memory %s: working set %.1f MB, private %.1f MB, heap in use %.1f MB in %d blocks (%lu heaps), "
                 "GDI objects %lu, USER objects %lu\n",
                 when, pm.WorkingSetSize / 1048576.0, pm.PrivateUsage / 1048576.0, busy / 1048576.0, blocks, n,
                 GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

void ListTimers(TComponent* c, const std::string& path)
{
    for (int i = 0; i < c->ComponentCount(); ++i) {
        TComponent* child = c->Components(i);
        if (auto* t = dynamic_cast<TTimer*>(child))
            std::fprintf(g_out, "  %-28s %8u ms  %s%s\n", (path + t->Name()).c_str(), t->Interval(),
                        t->Enabled() ? "enabled" : "off", t->Enabled() ? (t->Running() ? ", system timer" : ", shared tick") : "");
        ListTimers(child, path + child->Name() + ".");
    }
}

void CALLBACK Phase(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (!g_counting) {
        g_counting = true;
        SetTimer(nullptr, 0, UINT(g_seconds * 1000), Phase);
        return;
    }
    g_counting = false;
    long long wakeUps = 0;
    double busy = 0;
    std::fprintf(g_out, "%-36s %6s %8s %10s %10s %9s\n", "window", "msg", "timer", "per second", "ms/second", "max ms");
    for (const auto& [key, c] : g_tally) {
        const auto& [cls, msg, timer] = key;
        wakeUps += c.count;
        busy += c.totalMs;
        std::fprintf(g_out, "%-36ls %6X %8llu %10.2f %10.3f %9.2f\n", cls.c_str(), msg, (unsigned long long)timer,
                    double(c.count) / g_seconds, c.totalMs / g_seconds, c.maxMs);
    }
    std::fprintf(g_out, "handled per second %.1f, UI thread busy %.3f ms per second (%.2f%%)\n", double(wakeUps) / g_seconds,
                busy / g_seconds, busy / g_seconds / 10);
    Memory("at rest");
    std::fprintf(g_out, "timers of the application's components:\n");
    ListTimers(Application, "");
    std::fclose(g_out);
    ExitProcess(0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR line, int show)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc > 1)
        g_warmup = _wtoi(argv[1]);
    if (argc > 2)
        g_seconds = _wtoi(argv[2]);
    g_out = _wfopen(argc > 3 ? argv[3] : L"rest_tally.txt", L"w");
    if (!g_out)
        return 1;
    Memory("before the program");
    SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, UINT(g_warmup * 1000), Phase);
    return VorpenWinMain(instance, previous, line, show);
}
