// The baseline of the rest benchmark: a bare 130 by 130 layered window that draws a dial
// with a seconds hand into a 32-bit DIB section and pushes it with UpdateLayeredWindow
// once a second, from a 1 s timer. Nothing else: no framework, no data.
#include <windows.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr int kSize = 130;
HDC g_memory = nullptr;
uint32_t* g_bits = nullptr;

void Draw(HWND window)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    const double angle = t.wSecond * 6 * 3.14159265358979 / 180;
    const double c = kSize / 2.0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double dx = x - c, dy = y - c;
            uint32_t p = 0;
            if (dx * dx + dy * dy <= c * c)
                p = 0xFF2050A0;   // premultiplied, opaque dial
            // The hand: points near the segment from the centre towards the angle.
            const double along = dx * std::sin(angle) - dy * std::cos(angle);
            const double across = dx * std::cos(angle) + dy * std::sin(angle);
            if (along > 0 && along < c - 8 && std::fabs(across) < 1.5)
                p = 0xFFFFFFFF;
            g_bits[y * kSize + x] = p;
        }
    POINT origin{0, 0};
    SIZE size{kSize, kSize};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, nullptr, &size, g_memory, &origin, 0, &blend, ULW_ALPHA);
}

LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        Draw(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BareClock";
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"BareClock", L"bare", WS_POPUP,
                                  1100, 40, kSize, kSize, nullptr, nullptr, instance, nullptr);
    HDC screen = GetDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    g_bits = static_cast<uint32_t*>(bits);
    g_memory = CreateCompatibleDC(screen);
    SelectObject(g_memory, bitmap);
    ReleaseDC(nullptr, screen);
    Draw(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, 1, 1000, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
