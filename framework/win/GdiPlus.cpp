#include "framework/win/GdiPlus.h"

#include <cstring>

#include "framework/win/WinUtil.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {
int failAfter = -1;

void Check(GpStatus status, const char* what) {
    if (failAfter >= 0 && failAfter-- == 0)
        status = GenericError;
    if (status != Ok) throw EGdiplusError(std::string(what) + " failed (GDI+ status " + std::to_string(int(status)) + ")");
}
}  // namespace

void FailGdiplusCallAfter(int calls) { failAfter = calls; }

GdiplusSession::GdiplusSession() {
    GdiplusStartupInput input;
    Check(GdiplusStartup(&FToken, &input, nullptr), "GdiplusStartup");
}

GdiplusSession::~GdiplusSession() { GdiplusShutdown(FToken); }

TGpImage::TGpImage(std::string_view fileName) {
    Gdiplus::GpImage* image = nullptr;
    std::wstring w = Wide(fileName);
    if (!fileName.empty() && GdipLoadImageFromFile(w.c_str(), &image) == Ok) FImage.reset(image);
}

TGpImage TGpImage::Decoded(std::string_view fileName) {
    TGpImage file(fileName), decoded;
    if (file.Empty()) return decoded;
    const UINT width = UINT(file.Width()), height = UINT(file.Height());
    Gdiplus::GpBitmap* copy = nullptr;
    if (GdipCreateBitmapFromScan0(INT(width), INT(height), 0, PixelFormat32bppARGB, nullptr, &copy) != Ok) return decoded;
    decoded.FImage.reset(copy);
    Gdiplus::Rect all(0, 0, INT(width), INT(height));
    Gdiplus::BitmapData from{}, to{};
    auto* source = static_cast<Gdiplus::GpBitmap*>(file.Get());
    if (GdipBitmapLockBits(source, &all, ImageLockModeRead, PixelFormat32bppARGB, &from) != Ok) return TGpImage();
    bool copied = GdipBitmapLockBits(copy, &all, ImageLockModeWrite, PixelFormat32bppARGB, &to) == Ok;
    if (copied) {
        for (UINT y = 0; y < height; ++y)
            std::memcpy(static_cast<char*>(to.Scan0) + INT_PTR(y) * to.Stride,
                        static_cast<const char*>(from.Scan0) + INT_PTR(y) * from.Stride, size_t(width) * 4);
        GdipBitmapUnlockBits(copy, &to);
    }
    GdipBitmapUnlockBits(source, &from);
    return copied ? std::move(decoded) : TGpImage();
}

int TGpImage::Width() const {
    UINT w = 0;
    if (FImage) GdipGetImageWidth(FImage.get(), &w);
    return static_cast<int>(w);
}

int TGpImage::Height() const {
    UINT h = 0;
    if (FImage) GdipGetImageHeight(FImage.get(), &h);
    return static_cast<int>(h);
}

TGpFont::TGpFont(HDC dc, const std::string& family, float sizePt, int style) {
    Gdiplus::GpFont* font = nullptr;
    GpFontFamily* fam = nullptr;
    std::wstring w = Wide(family);
    if (GdipCreateFontFamilyFromName(w.c_str(), nullptr, &fam) == Ok) {
        GpStatus s = GdipCreateFont(fam, sizePt, style, UnitPoint, &font);
        GdipDeleteFontFamily(fam);
        Check(s, "GdipCreateFont");
    } else {
        // GDI+ may not know a family that GDI maps (宋体 without a replacement).
        TFont gdi;
        gdi.SetName(family);
        gdi.SetSize(static_cast<int>(sizePt + 0.5f));
        TFontStyles styles;
        if (style & FontStyleBold) styles.Include(fsBold);
        if (style & FontStyleItalic) styles.Include(fsItalic);
        if (style & FontStyleUnderline) styles.Include(fsUnderline);
        if (style & FontStyleStrikeout) styles.Include(fsStrikeOut);
        gdi.SetStyle(styles);
        LOGFONTW lf = gdi.LogFont();
        Check(GdipCreateFontFromLogfontW(dc, &lf, &font), "GdipCreateFontFromLogfont");
    }
    FFont.reset(font);
}

TGpSolidBrush::TGpSolidBrush(uint32_t argb) {
    GpSolidFill* brush = nullptr;
    Check(GdipCreateSolidFill(argb, &brush), "GdipCreateSolidFill");
    FBrush.reset(brush);
}

TGpStringFormat::TGpStringFormat() {
    Gdiplus::GpStringFormat* format = nullptr;
    Check(GdipCreateStringFormat(0, LANG_NEUTRAL, &format), "GdipCreateStringFormat");
    FFormat.reset(format);
}

void TGpStringFormat::SetAlignment(StringAlignment align) { Check(GdipSetStringFormatAlign(FFormat.get(), align), "GdipSetStringFormatAlign"); }

void TGpStringFormat::SetLineAlignment(StringAlignment align) {
    Check(GdipSetStringFormatLineAlign(FFormat.get(), align), "GdipSetStringFormatLineAlign");
}

TGpGraphics::TGpGraphics(HDC dc) {
    Gdiplus::GpGraphics* g = nullptr;
    Check(GdipCreateFromHDC(dc, &g), "GdipCreateFromHDC");
    FGraphics.reset(g);
}

TGpBitmap::TGpBitmap(int width, int height, void* bits) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    Check(GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits), &bitmap),
          "GdipCreateBitmapFromScan0");
    FBitmap.reset(bitmap);
}

TGpGraphics::TGpGraphics(TGpBitmap& bitmap) {
    Gdiplus::GpGraphics* g = nullptr;
    Check(GdipGetImageGraphicsContext(bitmap.Get(), &g), "GdipGetImageGraphicsContext");
    FGraphics.reset(g);
}

void TGpGraphics::RotateAt(float degrees, float cx, float cy) {
    Check(GdipTranslateWorldTransform(FGraphics.get(), cx, cy, MatrixOrderPrepend), "GdipTranslateWorldTransform");
    Check(GdipRotateWorldTransform(FGraphics.get(), degrees, MatrixOrderPrepend), "GdipRotateWorldTransform");
    Check(GdipTranslateWorldTransform(FGraphics.get(), -cx, -cy, MatrixOrderPrepend), "GdipTranslateWorldTransform");
}

void TGpGraphics::ResetTransform() { Check(GdipResetWorldTransform(FGraphics.get()), "GdipResetWorldTransform"); }

void TGpGraphics::DrawImageRect(const TGpImage& image, int x, int y, int width, int height) {
    if (image.Empty()) return;
    Check(GdipDrawImageRectI(FGraphics.get(), image.Get(), x, y, width, height), "GdipDrawImageRect");
}

void TGpGraphics::DrawString(const std::string& text, const TGpFont& font, const RectF& layout,
                            const TGpStringFormat& format, const TGpSolidBrush& brush) {
    std::wstring w = Wide(text);
    Check(GdipDrawString(FGraphics.get(), w.c_str(), static_cast<INT>(w.size()), font.Get(), &layout, format.Get(),
                         brush.Get()),
          "GdipDrawString");
}

void TGpGraphics::SetTextRenderingHint(TextRenderingHint hint) {
    Check(GdipSetTextRenderingHint(FGraphics.get(), hint), "GdipSetTextRenderingHint");
}

uint32_t ColorToARGB(TColor color, uint8_t alpha) {
    COLORREF c = ColorToRGB(color);
    return (uint32_t(alpha) << 24) | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
