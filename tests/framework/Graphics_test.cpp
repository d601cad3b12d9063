#include <gtest/gtest.h>

#include <cstdio>

#include "framework/rtl/FileUtils.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Forms.h"
#include "framework/win/GdiPlus.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/WinTestUtil.h"

namespace {

uint32_t Rgb(uint32_t argb) { return argb & 0xFFFFFF; }

class TRedBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clRed);
        Canvas().FillRect(Rect(2, 2, 10, 10));
        Canvas().Pen().SetColor(clLime);
        Canvas().MoveTo(0, 15);
        Canvas().LineTo(20, 15);
    }
};

class TBlueDot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clBlue);
        Canvas().FillRect(Rect(0, 0, Width(), Height()));
    }
};

TEST(Painting, CustomControlWithGraphicChildIntoABitmap) {
    EnsureApplication();
    auto* form = NewForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 100, 100);
    auto* box = new TRedBox(form);
    box->SetBounds(10, 10, 40, 40);
    box->SetColor(clWhite);
    box->SetParent(form);
    auto* dot = new TBlueDot(form);
    dot->SetBounds(20, 20, 5, 5);
    dot->SetParent(box);

    TBitmap bmp(40, 40);
    box->PaintTo(bmp.Canvas().Handle(), 0, 0);
    EXPECT_EQ(Rgb(bmp.PixelARGB(0, 0)), 0xFFFFFFu);     // background in the control's colour
    EXPECT_EQ(Rgb(bmp.PixelARGB(5, 5)), 0xFF0000u);     // red box (ARGB)
    EXPECT_EQ(Rgb(bmp.PixelARGB(10, 10)), 0xFFFFFFu);   // FillRect excludes right/bottom
    EXPECT_EQ(Rgb(bmp.PixelARGB(5, 15)), 0x00FF00u);    // the line
    EXPECT_EQ(Rgb(bmp.PixelARGB(22, 22)), 0x0000FFu);   // the windowless child
    EXPECT_EQ(Rgb(bmp.PixelARGB(26, 22)), 0xFFFFFFu);   // clipped to the child's bounds
    delete form;
}

TEST(Painting, DoubleBufferedWindowPaintsTheSame) {
    EnsureApplication();
    auto* form = NewForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 60, 60);
    auto* box = new TRedBox(form);
    box->SetBounds(0, 0, 40, 40);
    box->SetColor(clWhite);
    box->SetDoubleBuffered(true);
    box->SetParent(form);
    form->Show();
    TBitmap bmp(40, 40);
    SendMessageW(box->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bmp.Canvas().Handle()), PRF_CLIENT);
    EXPECT_EQ(Rgb(bmp.PixelARGB(5, 5)), 0xFF0000u);
    EXPECT_EQ(Rgb(bmp.PixelARGB(30, 30)), 0xFFFFFFu);
    delete form;
}

TEST(Painting, CanvasTextMeasureAndFrame3D) {
    TBitmap bmp(100, 40);
    TCanvas& c = bmp.Canvas();
    TRect r = Rect(0, 0, 100, 0);
    c.DrawText("中文 2025-03-05", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(r.Width(), 0);
    EXPECT_GT(r.Height(), 0);
    EXPECT_EQ(c.TextWidth(""), 0);
    TRect frame = Rect(0, 0, 20, 20);
    c.Frame3D(frame, clWhite, clBlack, 2);
    EXPECT_EQ(frame, Rect(2, 2, 18, 18));
    EXPECT_EQ(Rgb(bmp.PixelARGB(0, 5)), 0xFFFFFFu);
    EXPECT_EQ(Rgb(bmp.PixelARGB(19, 5)), 0x000000u);
}

// Writes a PNG with GDI+: an upright 10x40 strip, top half opaque red, bottom half
// opaque blue.
std::string MakeStripPng() {
    Gdiplus::GpBitmap* strip = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(10, 40, 0, PixelFormat32bppARGB, nullptr, &strip);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 10; ++x)
            Gdiplus::DllExports::GdipBitmapSetPixel(strip, x, y, y < 20 ? 0xFFFF0000 : 0xFF0000FF);
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"vorpen_strip_" + std::to_wstring(GetCurrentProcessId()) + L".png";
    Gdiplus::DllExports::GdipSaveImageToFile(strip, path.c_str(), &png, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(strip);
    return Narrow(path);
}

TEST(GdiPlus, PngRotatedNinetyDegreesPointsToThree) {
    EnsureApplication();
    const std::string file = MakeStripPng();
    TGpImage image(file);
    ASSERT_FALSE(image.Empty());
    EXPECT_EQ(image.Width(), 10);
    EXPECT_EQ(image.Height(), 40);
    TBitmap bmp(40, 40);
    {
        TGpGraphics g(bmp.Canvas().Handle());
        g.RotateAt(90, 20, 20);
        g.DrawImageRect(image, 15, 0, 10, 40);
        g.ResetTransform();
    }
    EXPECT_EQ(Rgb(bmp.PixelARGB(35, 20)), 0xFF0000u);   // the top half now points right
    EXPECT_EQ(Rgb(bmp.PixelARGB(5, 20)), 0x0000FFu);
    EXPECT_EQ(bmp.PixelARGB(20, 5) >> 24, 0u);           // above the centre stays empty
    EXPECT_TRUE(TGpImage("Z:\\no\\such.png").Empty());
    RemoveFile(file);
}

TEST(GdiPlus, ChineseFontFallsBackToTheGdiMapping) {
    EnsureApplication();
    TBitmap bmp(80, 30);
    TGpGraphics g(bmp.Canvas().Handle());
    TGpFont font(bmp.Canvas().Handle(), "宋体", 9, Gdiplus::FontStyleRegular);
    TGpStringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    g.DrawString("时钟", font, Gdiplus::RectF(0, 0, 80, 30), format, TGpSolidBrush(0xFFFFFFFF));
    int lit = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) lit += Rgb(bmp.PixelARGB(x, y)) != 0;
    EXPECT_GT(lit, 10);
}

class BitmapFiles : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BitmapFiles, SaveAndLoadKeepThePixels) {
    TBitmap bmp(13, 5);   // odd width exercises the row padding
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) bmp.ScanLine(y)[x] = (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF;
    bmp.ScanLine(0)[0] = 0xFFFF0000;
    if (GetParam() == pf1bit) bmp.ScanLine(0)[0] = 0xFF000000;
    bmp.SetPixelFormat(GetParam());
    TBitmap back;
    back.LoadFromBytes(bmp.SaveToBytes());
    ASSERT_EQ(back.Width(), 13);
    ASSERT_EQ(back.Height(), 5);
    EXPECT_EQ(back.PixelFormat(), GetParam());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) EXPECT_EQ(Rgb(back.PixelARGB(x, y)), Rgb(bmp.PixelARGB(x, y))) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BitmapFiles, ::testing::Values(pf1bit, pf4bit, pf8bit, pf24bit, pf32bit));

TEST(Bitmaps, BadFilesAndTooManyColoursRaise) {
    TBitmap bmp(3, 1);
    bmp.ScanLine(0)[0] = 0xFF0000FF;
    bmp.ScanLine(0)[1] = 0xFF00FF00;
    bmp.ScanLine(0)[2] = 0xFFFF0000;
    bmp.SetPixelFormat(pf1bit);
    EXPECT_THROW(bmp.SaveToBytes(), EInvalidGraphic);
    bmp.SetPixelFormat(pf24bit);
    std::string bytes = bmp.SaveToBytes();
    TBitmap back;
    EXPECT_THROW(back.LoadFromBytes(bytes.substr(0, bytes.size() - 4)), EInvalidGraphic);
    EXPECT_THROW(back.LoadFromBytes("not a bitmap"), EInvalidGraphic);
    EXPECT_THROW(bmp.ScanLine(1), EInvalidGraphic);
}

TEST(Bitmaps, SetSizeKeepsPixelsAndTransparentColourDefaultsToBottomLeft) {
    TBitmap bmp(2, 2);
    bmp.ScanLine(0)[0] = 0xFF123456;
    bmp.ScanLine(1)[0] = 0xFF00FF00;
    EXPECT_EQ(bmp.TransparentColor(), clLime);
    bmp.SetSize(4, 3);
    EXPECT_EQ(bmp.PixelARGB(0, 0), 0xFF123456u);
    EXPECT_EQ(bmp.PixelARGB(3, 2), 0u);
}

TEST(Colors, SystemColoursResolve) {
    EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    TFont font;
    EXPECT_EQ(font.Name(), "宋体");
    EXPECT_EQ(font.Size(), 9);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    EXPECT_EQ(font.Charset(), GB2312_CHARSET);
}

}  // namespace

TEST(Colors, SettingABrushColourMakesAClearBrushSolid) {
    TBrush brush;
    for (TColor color : {clWhite, clRed}) {
        brush.SetStyle(bsClear);
        brush.SetColor(color);   // the same colour as before, then another
        EXPECT_EQ(brush.Style(), bsSolid);
    }
}
