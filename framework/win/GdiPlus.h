#pragma once
// A thin RAII layer over the GDI+ flat API: GdiplusSession (start-up and shut-down),
// TGpImage (a PNG or other file with its alpha channel), TGpGraphics (drawing on a DC,
// world transforms, images, text), TGpFont (by family name, falling back to the GDI font
// mapping when GDI+ does not know the family), TGpSolidBrush and TGpStringFormat. Failures
// of drawing calls raise EGdiplusError with the status; a missing image file is an empty
// TGpImage, which draws nothing.

#include <memory>
#include <string>
#include <string_view>

#include "framework/rtl/SysUtils.h"
#include "framework/win/Graphics.h"

#include <objidl.h>
#include <gdiplus.h>

class EGdiplusError : public Exception {
public:
    using Exception::Exception;
};

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR FToken = 0;
};

class TGpImage {
public:
    TGpImage() = default;
    explicit TGpImage(std::string_view fileName);   // empty when the file is missing or unreadable
    TGpImage(TGpImage&& o) noexcept : FImage(std::move(o.FImage)) {}
    TGpImage& operator=(TGpImage&& o) noexcept { FImage = std::move(o.FImage); return *this; }
    // The file decoded at once into a 32-bit ARGB bitmap in memory, so that the file is not
    // held open while the image lives; empty when the file does not load.
    static TGpImage Decoded(std::string_view fileName);
    bool Empty() const { return !FImage; }
    int Width() const;
    int Height() const;
    Gdiplus::GpImage* Get() const { return FImage.get(); }

private:
    struct Deleter {
        void operator()(Gdiplus::GpImage* p) const { Gdiplus::DllExports::GdipDisposeImage(p); }
    };
    std::unique_ptr<Gdiplus::GpImage, Deleter> FImage;
};

class TGpFont {
public:
    // Size in points; style is a GDI+ FontStyle value (0 regular, 1 bold, 2 italic...).
    TGpFont(HDC dc, const std::string& family, float sizePt, int style);
    Gdiplus::GpFont* Get() const { return FFont.get(); }

private:
    struct Deleter {
        void operator()(Gdiplus::GpFont* p) const { Gdiplus::DllExports::GdipDeleteFont(p); }
    };
    std::unique_ptr<Gdiplus::GpFont, Deleter> FFont;
};

class TGpSolidBrush {
public:
    explicit TGpSolidBrush(uint32_t argb);
    Gdiplus::GpSolidFill* Get() const { return FBrush.get(); }

private:
    struct Deleter {
        void operator()(Gdiplus::GpSolidFill* p) const { Gdiplus::DllExports::GdipDeleteBrush(p); }
    };
    std::unique_ptr<Gdiplus::GpSolidFill, Deleter> FBrush;
};

class TGpStringFormat {
public:
    TGpStringFormat();
    void SetAlignment(Gdiplus::StringAlignment align);
    void SetLineAlignment(Gdiplus::StringAlignment align);
    Gdiplus::GpStringFormat* Get() const { return FFormat.get(); }

private:
    struct Deleter {
        void operator()(Gdiplus::GpStringFormat* p) const { Gdiplus::DllExports::GdipDeleteStringFormat(p); }
    };
    std::unique_ptr<Gdiplus::GpStringFormat, Deleter> FFormat;
};

// A 32-bit premultiplied ARGB bitmap over pixels the caller owns (a DIB section's bits,
// top-down rows of width * 4 bytes), which a TGpGraphics can draw into directly.
class TGpBitmap {
public:
    TGpBitmap(int width, int height, void* bits);
    Gdiplus::GpBitmap* Get() const { return FBitmap.get(); }

private:
    struct Deleter {
        void operator()(Gdiplus::GpBitmap* p) const { Gdiplus::DllExports::GdipDisposeImage(p); }
    };
    std::unique_ptr<Gdiplus::GpBitmap, Deleter> FBitmap;
};

class TGpGraphics {
public:
    explicit TGpGraphics(HDC dc);
    explicit TGpGraphics(TGpBitmap& bitmap);
    Gdiplus::GpGraphics* Get() const { return FGraphics.get(); }

    // Rotates the world by `degrees` clockwise about (cx, cy), added to the current transform.
    void RotateAt(float degrees, float cx, float cy);
    void ResetTransform();
    void DrawImageRect(const TGpImage& image, int x, int y, int width, int height);
    void DrawString(const std::string& text, const TGpFont& font, const Gdiplus::RectF& layout,
                    const TGpStringFormat& format, const TGpSolidBrush& brush);
    void SetTextRenderingHint(Gdiplus::TextRenderingHint hint);

private:
    struct Deleter {
        void operator()(Gdiplus::GpGraphics* p) const { Gdiplus::DllExports::GdipDeleteGraphics(p); }
    };
    std::unique_ptr<Gdiplus::GpGraphics, Deleter> FGraphics;
};

// Test seam: after `calls` more checked GDI+ calls, the next one reports a failure (its
// work done, as when GDI+ fails part-way); -1 turns it off.
void FailGdiplusCallAfter(int calls);

// GDI+ colour from a TColor and an alpha.
uint32_t ColorToARGB(TColor color, uint8_t alpha = 255);
