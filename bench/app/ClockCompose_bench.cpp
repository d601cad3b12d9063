// Cost of composing one clock frame under Wine, as RenderClock does it (six PNG layers
// loaded and drawn with GDI+ into a 32-bit DIB section, then UpdateLayeredWindow), set
// against a plain BitBlt of the same size in the same run. Run by hand:
//   wine clock_compose_bench.exe <Images folder> [frames]
// With "show" as the second argument it shows both faces at 10:10:30 for a screenshot.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/core/ClockFace.h"
#include "app/win/GDITools.h"
#include "framework/win/Handles.h"
#include "framework/win/WinUtil.h"

namespace {

constexpr int kWidth = 136, kHeight = 131;

struct Frame {
    HDC screen = GetDC(nullptr);
    MemoryDC memory{screen};
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap;
    Frame()
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap.Reset(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    ~Frame() { ReleaseDC(nullptr, screen); }
};

void Compose(HWND window, const std::string& images, int skin, THandAngles a, int x, int y)
{
    Frame f;
    SelectGuard select(f.memory.Get(), f.bitmap.Get());
    {
        TGpGraphics g(f.memory.Get());
        auto path = [&](int k) { return images + "\\" + ClockImageName(skin, k); };
        DrawPNGImage(g, path(clFace), 0, 0, 130, 130, 0);
        DrawPNGImage(g, path(clHour), 58, 1, 13, 129, a.Hour);
        DrawPNGImage(g, path(clMinute), 58, 1, 13, 129, a.Minute);
        DrawPNGImage(g, path(clSecond), 58, 1, 13, 129, a.Second);
        DrawPNGImage(g, path(clDot), 58, 1, 13, 129, 0);
        DrawPNGImage(g, path(clHighLights), 2, -1, 130, 130, 0);
    }
    POINT dest{x, y}, origin{0, 0};
    SIZE size{kWidth, kHeight};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, &dest, &size, f.memory.Get(), &origin, 0, &blend, ULW_ALPHA);
}

HWND LayeredWindow(int x, int y)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ClockComposeBench";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP, x, y,
                             kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    return h;
}

double MsPer(int n, auto&& step)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        step(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / n;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: clock_compose_bench <Images folder> [frames|show]\n");
        return 2;
    }
    EnsureGdiplus();
    std::string images = Narrow(argv[1]);
    THandAngles tenPast = TClockDial::Frames(10, 10, 30, true, false).Frames[0];
    if (argc > 2 && std::wstring(argv[2]) == L"show") {
        HWND blue = LayeredWindow(100, 100), black = LayeredWindow(300, 100);
        Compose(blue, images, kBlueFace, tenPast, 100, 100);
        Compose(black, images, kBlackFace, tenPast, 300, 100);
        for (int i = 0; i < 100; ++i) {   // keep the windows up for ten seconds
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return 0;
    }
    int frames = argc > 2 ? _wtoi(argv[2]) : 200;
    HWND window = LayeredWindow(100, 100);
    double compose = MsPer(frames, [&](int i) {
        THandAngles a = tenPast;
        a.Second = (i % 60) * 6;
        Compose(window, images, kBlueFace, a, 100, 100);
    });
    Frame src, dst;
    SelectGuard s1(src.memory.Get(), src.bitmap.Get()), s2(dst.memory.Get(), dst.bitmap.Get());
    double blit = MsPer(frames * 50, [&](int) {
        BitBlt(dst.memory.Get(), 0, 0, kWidth, kHeight, src.memory.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    });
    std::printf("frame %.3f ms, BitBlt %.4f ms, ratio %.0f\n", compose, blit, compose / blit);
    DestroyWindow(window);
    return 0;
}
