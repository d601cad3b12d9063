#include "skin/win/SkSystem.h"

#include <algorithm>

#include "framework/win/Canvas.h"
#include "framework/win/Controls.h"
#include "skin/core/SkText.h"
#include "framework/win/Handles.h"

namespace {

TOsVersionSource gOsVersionSource = nullptr;

TOsVersion SystemOsVersion()
{
    const DWORD version = GetVersion();
    return {static_cast<int>(LOBYTE(LOWORD(version))), static_cast<int>(HIBYTE(LOWORD(version)))};
}

// The monitor functions, looked up once in user32.
struct TMonitorApi {
    using TMonitorFromWindow = HMONITOR(WINAPI*)(HWND, DWORD);
    using TGetMonitorInfoA = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
    TMonitorFromWindow MonitorFromWindow = nullptr;
    TGetMonitorInfoA GetMonitorInfoA = nullptr;

    TMonitorApi()
    {
        if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
            MonitorFromWindow = reinterpret_cast<TMonitorFromWindow>(
                reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
            GetMonitorInfoA = reinterpret_cast<TGetMonitorInfoA>(
                reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
        }
    }
};

const TMonitorApi& MonitorApi()
{
    static const TMonitorApi api;
    return api;
}

void PaintInto(HWND window, HDC dc, const POINT& at, const SIZE& size, UINT message)
{
    const int saved = SaveDC(dc);
    OffsetWindowOrgEx(dc, -at.x, -at.y, nullptr);
    IntersectClipRect(dc, 0, 0, size.cx, size.cy);
    SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

// Position and size of a child in its parent's client coordinates.
void ChildPlace(HWND child, POINT& at, SIZE& size)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    at = {r.left, r.top};
    size = {r.right - r.left, r.bottom - r.top};
}

void PaintChildControls(HWND parent, HDC dc)
{
    for (HWND child = GetWindow(parent, GW_CHILD) ? GetWindow(GetWindow(parent, GW_CHILD), GW_HWNDLAST) : nullptr;
         child; child = GetWindow(child, GW_HWNDPREV)) {
        if (!IsWindowVisible(child))
            continue;
        POINT at{};
        SIZE size{};
        ChildPlace(child, at, size);
        PaintInto(child, dc, at, size, WM_PAINT);
        const int saved = SaveDC(dc);
        OffsetWindowOrgEx(dc, -at.x, -at.y, nullptr);
        PaintChildControls(child, dc);
        RestoreDC(dc, saved);
    }
}

}  // namespace

void SetOsVersionSource(TOsVersionSource source)
{
    gOsVersionSource = source;
}

TOsVersion CurrentOsVersion()
{
    return gOsVersionSource ? gOsVersionSource() : SystemOsVersion();
}

bool IsLayeredAlphaSystem()
{
    const TOsVersion v = CurrentOsVersion();
    return v.Major == 5 && v.Minor >= 0 && v.Minor <= 2;
}

bool IsDropShadowSystem()
{
    const TOsVersion v = CurrentOsVersion();
    return v.Major == 5 && v.Minor == 1;
}

void SetWindowAlpha(HWND window, BYTE alpha)
{
    using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");   // linked in, so always loaded
    if (!user32)
        return;
    auto set = reinterpret_cast<TSetLayeredWindowAttributes>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    if (set)
        set(window, 0, alpha, LWA_ALPHA);
}

bool IsMultiMonitor()
{
    return GetSystemMetrics(SM_CMONITORS) > 1 && MonitorApi().GetMonitorInfoA != nullptr;
}

TRect GetWorkAreaRect(bool workArea)
{
    if (workArea) {
        RECT r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        return TRect::FromRECT(r);
    }
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TRect GetMonitorAreaRect(HWND window, bool workArea)
{
    const TMonitorApi& api = MonitorApi();
    if (!IsMultiMonitor() || !api.MonitorFromWindow)
        return GetWorkAreaRect(workArea);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!api.GetMonitorInfoA(api.MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return GetWorkAreaRect(workArea);
    return TRect::FromRECT(workArea ? info.rcWork : info.rcMonitor);
}

void CopyScreenArea(int x, int y, TSkBitmap& bitmap)
{
    if (bitmap.Empty())
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    GdiObject<HBITMAP> dib(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return;
    MemoryDC memory;
    {
        SelectGuard select(memory.Get(), dib.Get());
        // Only the part on the screen: a source rectangle past its edge fails as a whole under X.
        const int sx = GetSystemMetrics(SM_XVIRTUALSCREEN), sy = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const int left = std::max(x, sx), top = std::max(y, sy);
        const int right = std::min(x + bitmap.Width(), sx + GetSystemMetrics(SM_CXVIRTUALSCREEN));
        const int bottom = std::min(y + bitmap.Height(), sy + GetSystemMetrics(SM_CYVIRTUALSCREEN));
        if (right > left && bottom > top)
            BitBlt(memory.Get(), left - x, top - y, right - left, bottom - top, screen.Get(), left, top,
                   SRCCOPY | CAPTUREBLT);
        GdiFlush();
    }
    const auto* pixels = static_cast<const TSkPixel*>(bits);
    for (int row = 0; row < bitmap.Height(); ++row)
        for (int col = 0; col < bitmap.Width(); ++col)
            bitmap.SetPixel(col, row, pixels[row * bitmap.Width() + col] | kSkOpaque);
}

std::string FitTextToWidth(TCanvas& canvas, std::string_view text, int width)
{
    return FitTextToWidth(text, width, [&canvas](std::string_view s) { return canvas.TextWidth(std::string(s)); });
}

void PaintControlBackground(HWND control, HDC dc)
{
    const HWND parent = GetParent(control);
    if (!parent)
        return;
    POINT at{};
    SIZE size{};
    ChildPlace(control, at, size);
    RECT client{};
    GetClientRect(parent, &client);
    const int saved = SaveDC(dc);
    OffsetWindowOrgEx(dc, at.x, at.y, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD)   // a parent that is no form paints its face too
        SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    else if (TWinControl* form = TWinControl::FromHandle(parent))   // and a form its windowless controls
        form->PaintControls(dc);
    // Siblings below the control, bottom first, that overlap it.
    const RECT self{at.x, at.y, at.x + size.cx, at.y + size.cy};
    for (HWND sibling = GetWindow(control, GW_HWNDLAST); sibling && sibling != control;
         sibling = GetWindow(sibling, GW_HWNDPREV)) {
        POINT sat{};
        SIZE ssize{};
        ChildPlace(sibling, sat, ssize);
        const RECT other{sat.x, sat.y, sat.x + ssize.cx, sat.y + ssize.cy};
        RECT overlap{};
        if (!IsWindowVisible(sibling) || !IntersectRect(&overlap, &self, &other))
            continue;
        PaintInto(sibling, dc, sat, ssize, WM_PAINT);
        const int inner = SaveDC(dc);
        OffsetWindowOrgEx(dc, -sat.x, -sat.y, nullptr);
        PaintChildControls(sibling, dc);
        RestoreDC(dc, inner);
    }
    RestoreDC(dc, saved);
}
