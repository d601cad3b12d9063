// Cost of one clock frame under Wine: TFmMain::RenderClock itself (six PNG layers loaded
// and drawn with GDI+ into a 32-bit DIB section, then UpdateLayeredWindow), set against a
// plain BitBlt of the same size in the same run. Run by hand:
//   wine clock_compose_bench.exe <program folder holding Images\> [frames]
#include <chrono>
#include <cstdio>
#include <string>

#include "app/win/Main.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Handles.h"
#include "framework/win/WinUtil.h"

namespace {

double MsPer(int n, auto&& step)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        step(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / n;
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
        std::fprintf(stderr, "usage: clock_compose_bench <program folder> [frames]\n");
        return 2;
    }
    SetExeFolder(IncludeTrailingPathDelimiter(Narrow(argv[1])));
    int frames = argc > 2 ? _wtoi(argv[2]) : 200;
    TFmMain* form = NewForm<TFmMain>(nullptr);
    for (TTimer* timer : {form->tmrDrawClock, form->tszxsf, form->tmsn, form->twzc})
        timer->SetEnabled(false);   // frames are driven here; no start-up steps
    form->LoadSkinImages();
    ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    double compose = MsPer(frames, [&](int i) {
        form->pngSecond->SetRotate((i % 60) * 6);
        form->RenderClock();
    });
    int width = form->Width(), height = form->Height();
    Surface src(width, height), dst(width, height);
    double blit = MsPer(frames * 50, [&](int) {
        BitBlt(dst.memory.Get(), 0, 0, width, height, src.memory.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    });
    std::printf("RenderClock %.3f ms, BitBlt %.4f ms, ratio %.0f (%d frames composed)\n", compose, blit,
                compose / blit, form->FramesComposed());
    delete form;
    return 0;
}
