// Every wake-up of the program at rest: the program itself (its own WinMain, made in the
// program folder) with a message hook on its UI thread that counts each message taken
// from the queue and the time until the loop asks for the next one, per window class and
// message (per timer for WM_TIMER), after a warm-up; then the timers of every form.
//   rest_tally.exe [warm-up seconds] [seconds] [report file]
// (copied beside vorpen.exe by rest-bench.sh; the report goes to rest_tally.txt by default)
#define wWinMain VorpenWinMain
#include "app/win/WinMain.cpp"
#undef wWinMain

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
using Key = std::tuple<std::wstring, UINT, WPARAM>;   // class, message, timer id

std::map<Key, Cost> g_tally;
Key g_current;
double g_since = -1;   // when the current message was taken; -1 when none
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

void CloseCurrent()
{
    if (g_since < 0)
        return;
    const double ms = NowMs() - g_since;
    Cost& c = g_tally[g_current];
    ++c.count;
    c.totalMs += ms;
    c.maxMs = std::max(c.maxMs, ms);
    g_since = -1;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam)
{
    CloseCurrent();
    const MSG& m = *reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && removal == PM_REMOVE && g_counting && m.hwnd) {
        wchar_t cls[64] = L"";
        GetClassNameW(m.hwnd, cls, 64);
        g_current = Key(cls, m.message, m.message == WM_TIMER ? m.wParam : 0);
        g_since = NowMs();
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
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
    CloseCurrent();
    g_counting = false;
    long long wakeUps = 0;
    double busy = 0;
    std::fprintf(g_out, "%-22s %6s %8s %10s %10s %9s\n", "window class", "msg", "timer", "per second", "ms/second", "max ms");
    for (const auto& [key, c] : g_tally) {
        const auto& [cls, msg, timer] = key;
        wakeUps += c.count;
        busy += c.totalMs;
        std::fprintf(g_out, "%-22ls %6X %8llu %10.2f %10.3f %9.2f\n", cls.c_str(), msg, (unsigned long long)timer,
                    double(c.count) / g_seconds, c.totalMs / g_seconds, c.maxMs);
    }
    std::fprintf(g_out, "messages per second %.1f, UI thread busy %.3f ms per second (%.2f%%)\n", double(wakeUps) / g_seconds,
                busy / g_seconds, busy / g_seconds / 10);
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
    SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, UINT(g_warmup * 1000), Phase);
    return VorpenWinMain(instance, previous, line, show);
}
