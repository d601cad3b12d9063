// Cost of the clock under Wine, each set against a plain BitBlt of the clock's size in the
// same run: one frame of TFmMain::RenderClock as the running clock makes it (a new seconds
// hand angle: the frame composed from the decoded layers, then UpdateLayeredWindow), the
// composing alone, the push alone, and the share of a core that the running clock with
// its seconds hand and overshoot takes over some seconds of real time, next to what the
// 200 ms timer alone and the pushes alone cost. Wall times per frame, and process CPU
// time (GetProcessTimes, kernel plus user) where a frame's cost is partly spent outside
// the caller's wall clock. Run by hand:
//   wine clock_compose_bench.exe <program folder holding Images\> [frames] [seconds]
#include <chrono>
#include <cstdio>
#include <string>

#include "app/win/Main.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Handles.h"
#include "framework/win/WinUtil.h"

namespace {

double CpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) { return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

struct Cost {
    double wall, cpu;   // ms per step
};

Cost MsPer(int n, auto&& step)
{
    double cpu0 = CpuMs();
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        step(i);
    double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    return {wall / n, (CpuMs() - cpu0) / n};
}

// A 32-bit DIB section of the clock's size selected into a memory DC.
struct Surface {
    HDC screen = GetDC(nullptr);
    GdiObject<HBITMAP> bitmap;   // outlives the DC it is selected into
    MemoryDC memory{screen};
    Surface(int width, int height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.Reset(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectObject(memory.Get(), bitmap.Get());
    }
    ~Surface() { ReleaseDC(nullptr, screen); }
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: clock_compose_bench <program folder> [frames] [seconds]\n");
        return 2;
    }
    SetExeFolder(IncludeTrailingPathDelimiter(Narrow(argv[1])));
    int frames = argc > 2 ? _wtoi(argv[2]) : 200;
    int seconds = argc > 3 ? _wtoi(argv[3]) : 30;
    TFmMain* form = NewForm<TFmMain>(nullptr);
    for (TTimer* timer : {form->tmrDrawClock, form->tszxsf, form->tmsn, form->twzc})
        timer->SetEnabled(false);   // frames are driven here; no start-up steps
    form->LoadSkinImages();
    ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    Cost render = MsPer(frames, [&](int i) {
        form->pngSecond->SetRotate((i % 60) * 6);
        form->RenderClock();
    });
    Cost compose = MsPer(frames, [&](int i) {
        form->pngSecond->SetRotate((i % 60) * 6 + 4);
        form->ComposeClockFrame();
    });
    // The layers' own repaint, which each new angle asks for (it draws nothing).
    Cost repaint = MsPer(frames, [&](int) {
        InvalidateRect(form->Handle(), nullptr, TRUE);
        UpdateWindow(form->Handle());
    });
    SIZE size{form->Width(), form->Height()};
    Cost push = MsPer(frames, [&](int) { TFmMain::UpdateLayeredClock(form->Handle(), size, form->Composer().DC(), 255); });
    int width = form->Width(), height = form->Height();
    Surface src(width, height), dst(width, height);
    double blit = MsPer(frames * 50, [&](int) {
        BitBlt(dst.memory.Get(), 0, 0, width, height, src.memory.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    }).wall;
    std::printf("BitBlt %.4f ms\n", blit);
    std::printf("RenderClock %.3f ms, ratio %.0f; CPU %.3f ms (%d frames)\n", render.wall, render.wall / blit, render.cpu,
                form->FramesComposed());
    std::printf("  composing %.3f ms, ratio %.0f\n", compose.wall, compose.wall / blit);
    std::printf("  UpdateLayeredWindow %.3f ms, ratio %.0f; CPU %.3f ms\n", push.wall, push.wall / blit, push.cpu);
    std::printf("the layers' repaint %.3f ms, ratio %.0f; CPU %.3f ms\n", repaint.wall, repaint.wall / blit, repaint.cpu);

    // The same steps one at a time with the process idle in between, as the running clock
    // makes them (caches cold): wall time per step.
    auto cold = [&](int n, auto&& step) {
        double total = 0;
        for (int i = 0; i < n; ++i) {
            Sleep(250);
            auto t0 = std::chrono::steady_clock::now();
            step(i);
            total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        }
        return total / n;
    };
    double coldCompose = cold(20, [&](int i) {
        form->pngSecond->SetRotate((i % 60) * 6 + 2);
        form->ComposeClockFrame();
    });
    double coldPush = cold(20, [&](int) { TFmMain::UpdateLayeredClock(form->Handle(), size, form->Composer().DC(), 255); });
    std::printf("after idling: composing %.3f ms, ratio %.0f; UpdateLayeredWindow %.3f ms, ratio %.0f\n", coldCompose,
                coldCompose / blit, coldPush, coldPush / blit);

    // The running clock: the 200 ms timer on the real time, seconds hand with overshoot.
    // Share of a core over `seconds` of the message loop waiting for the timer's wake-ups.
    auto share = [&](TTimer& timer) {
        timer.SetEnabled(true);
        double cpu0 = CpuMs();
        auto t0 = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() < t0 + std::chrono::seconds(seconds))
            Application->HandleMessage();
        double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        timer.SetEnabled(false);
        return (CpuMs() - cpu0) / wall;
    };
    int paints = 0;
    int filter = Application->AddMessageFilter([&](MSG& m) {
        paints += m.message == WM_PAINT;
        return false;
    });
    int before = form->FramesComposed();
    double running = share(*form->tmrDrawClock);
    double pushesPerSecond = double(form->FramesComposed() - before) / seconds;
    Application->RemoveMessageFilter(filter);
    std::printf("running clock: %.3f%% of a core (%d frames, %d repaints in %d s), %.3f ms a second, ratio %.0f\n",
                100 * running, form->FramesComposed() - before, paints, seconds, running * 1000, running * 1000 / blit);
    TTimer idle(nullptr);   // what the 200 ms wake-ups alone cost
    idle.SetInterval(200);
    idle.OnTimer = [](TObject*) {};
    double waking = share(idle);
    std::printf("  of which a 200 ms timer doing nothing: %.3f%%\n", 100 * waking);
    std::printf("  and the pushes alone (%.1f a second at %.3f ms CPU): %.3f%%\n", pushesPerSecond, push.cpu,
                pushesPerSecond * push.cpu / 10);
    delete form;
    return 0;
}
