#include <gtest/gtest.h>

#include "framework/win/Canvas.h"
#include "skin/core/SkBmp.h"
#include "skin/win/SkWinUtils.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

namespace {

TSkBitmap Stripes(int width, int height)
{
    TSkBitmap b(width, height, SkRgb(255, 255, 255));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; x += 2)
            b.SetPixel(x, y, SkRgb(0, 0, 0));
    return b;
}

TOsVersion gVersion;
TOsVersion FakeVersion() { return gVersion; }

LRESULT CALLBACK RedBackground(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(window, &r);
        GdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(reinterpret_cast<HDC>(wParam), &r, red.Get());
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(SkinRegions, RegionOfTwentyThousandRunsIsWhole)
{
    const TSkBitmap mask = Stripes(200, 200);
    const TRegion region = CreateMaskRegion(mask);
    ASSERT_TRUE(region);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(PtInRegion(region.Get(), x, y) != 0, x % 2 == 0) << x << "," << y;
    RECT box{};
    GetRgnBox(region.Get(), &box);
    EXPECT_EQ(box.right, 199);
    EXPECT_EQ(box.bottom, 200);
    EXPECT_FALSE(CreateMaskRegion(TSkBitmap()));
}

TEST(SkinRegions, MaskBitmapHandleAndComposedFrame)
{
    const TSkBitmap mask = MaskFromText({".####.", "######", "######", "######", "######", ".####."});
    const auto dib = CreateDibFromBitmap(mask);
    const TRegion fromHandle = CreateMaskRegion(dib.Get());
    EXPECT_FALSE(PtInRegion(fromHandle.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(fromHandle.Get(), 1, 0));

    const TSkinFrame frame{{2, 2}, {4, 2}, {2, 4}, {4, 4}, {2, 2, 4, 4}};
    const TSkinFrame grown{{2, 2}, {98, 2}, {2, 48}, {98, 48}, {2, 2, 98, 48}};
    const TRegion region = ComposeSkinRegion(mask, {}, frame, 100, grown);
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.Get(), 99, 49));
    EXPECT_TRUE(PtInRegion(region.Get(), 98, 49));
    EXPECT_TRUE(PtInRegion(region.Get(), 50, 25));
    TSkinFrame crossed = grown;
    crossed.LeftBottom.Y = 1;
    EXPECT_FALSE(ComposeSkinRegion(mask, {}, frame, 100, crossed));
}

TEST(SkinDib, PixelsSurviveTheDibRoundTrip)
{
    const TSkBitmap picture = Coordinates(5, 3);
    const auto dib = CreateDibFromBitmap(picture);
    ASSERT_TRUE(dib);
    TFBitmap copy(dib.Get());
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Gap(), 1);
    EXPECT_EQ(copy.Stride(), 16);
    EXPECT_EQ(copy.Size(), 48);
    EXPECT_EQ(copy.Row(2)[3 * 4 + 2], 4);   // red of (4, 2)
    EXPECT_EQ(copy.ToBitmap(), picture);
    EXPECT_FALSE(CreateDibFromBitmap(TSkBitmap()));
}

TEST(SkinSystem, VersionGatesFollowTheSeam)
{
    SetOsVersionSource(FakeVersion);
    const struct { int major, minor; bool layered, shadow; } cases[] = {
        {4, 10, false, false}, {5, 0, true, false}, {5, 1, true, true},
        {5, 2, true, false},   {6, 0, false, false}, {10, 0, false, false}};
    for (const auto& c : cases) {
        gVersion = {c.major, c.minor};
        EXPECT_EQ(IsLayeredAlphaSystem(), c.layered) << c.major << "." << c.minor;
        EXPECT_EQ(IsDropShadowSystem(), c.shadow) << c.major << "." << c.minor;
    }
    SetOsVersionSource(nullptr);
    EXPECT_GE(CurrentOsVersion().Major, 5);
}

TEST(SkinSystem, AlphaMonitorsAndScreen)
{
    const HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10,
                                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    SetWindowAlpha(window, 77);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 77);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));

    const TRect screen = GetWorkAreaRect(false);
    EXPECT_EQ(screen.Right, GetSystemMetrics(SM_CXSCREEN));
    const TRect work = GetWorkAreaRect(true);
    EXPECT_TRUE(work.Right <= screen.Right && work.Bottom <= screen.Bottom && !IsNullRect(work));
    if (!IsMultiMonitor()) {
        EXPECT_EQ(GetMonitorAreaRect(window, true), work);
    }
    DestroyWindow(window);

    TSkBitmap grab(4, 3);
    CopyScreenArea(0, 0, grab);
    for (TSkPixel p : grab.Pixels())
        EXPECT_EQ(p & kSkOpaque, kSkOpaque);
}

TEST(SkinSystem, ControlBackgroundComesFromItsParent)
{
    WNDCLASSW cls{};
    cls.lpfnWndProc = RedBackground;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"SkinTestRedParent";
    RegisterClassW(&cls);
    const HWND parent = CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                        cls.hInstance, nullptr);
    const HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, parent, nullptr,
                                         cls.hInstance, nullptr);
    ASSERT_TRUE(parent && control);

    TSkBitmap white(20, 20, SkRgb(255, 255, 255));
    const auto dib = CreateDibFromBitmap(white);
    MemoryDC dc;
    {
        SelectGuard select(dc.Get(), dib.Get());
        PaintControlBackground(control, dc.Get());
        GdiFlush();
    }
    const TSkBitmap painted = BitmapFromHandle(dib.Get());
    EXPECT_EQ(SkRgbPart(painted.Pixel(0, 0)), SkRgbPart(SkRgb(255, 0, 0)));
    EXPECT_EQ(SkRgbPart(painted.Pixel(19, 19)), SkRgbPart(SkRgb(255, 0, 0)));
    DestroyWindow(parent);
}

TEST(SkinSystem, FitTextOnACanvas)
{
    MemoryDC dc;
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    const std::string full = "备忘录提醒事项";
    const std::string fitted = FitTextToWidth(canvas, full, canvas.TextWidth("备忘..."));
    EXPECT_EQ(fitted, "备忘...");
    EXPECT_EQ(FitTextToWidth(canvas, full, 100000), full);
}

TEST(SkinBitmapBridge, CopiesPixelsBothWays)
{
    const TSkBitmap picture = Coordinates(7, 4);
    TBitmap bitmap;
    AssignSkBitmap(bitmap, picture);
    EXPECT_EQ(bitmap.Width(), 7);
    EXPECT_EQ(bitmap.PixelARGB(6, 3), At(6, 3));
    EXPECT_EQ(SkBitmapFromBitmap(bitmap), picture);
}

TEST(SkinBitmapBridge, FrameworkBitmapsReadSkinBitmapsThroughTheCheckedReader)
{
    const TSkBitmap picture = Coordinates(3, 2);
    TBitmap bitmap;
    bitmap.LoadFromBytes(SaveBmpToBytes(picture));
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(SkBitmapFromBitmap(bitmap), picture);

    std::string lying = SaveBmpToBytes(Coordinates(1, 1));
    lying[10] = 0;   // pixel rows said to start inside the headers
    EXPECT_THROW(bitmap.LoadFromBytes(lying), EInvalidGraphic);
    EXPECT_EQ(SkBitmapFromBitmap(bitmap), picture);   // the old picture stays
}
