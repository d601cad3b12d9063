#include "app/win/GDITools.h"

#include "framework/win/Handles.h"

void EnsureGdiplus() { static GdiplusSession session; }

int FontStyleToGdip(TFontStyles style)
{
    if (style.Contains(fsStrikeOut))
        return Gdiplus::FontStyleStrikeout;
    if (style.Contains(fsUnderline))
        return Gdiplus::FontStyleUnderline;
    if (style.Contains(fsBold) && style.Contains(fsItalic))
        return Gdiplus::FontStyleBoldItalic;
    if (style.Contains(fsItalic))
        return Gdiplus::FontStyleItalic;
    if (style.Contains(fsBold))
        return Gdiplus::FontStyleBold;
    return Gdiplus::FontStyleRegular;
}

void DrawGdipCaption(TGpGraphics& graphics, const std::string& caption, TFont& font, const Gdiplus::RectF& layout,
                     Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical)
{
    TGpSolidBrush brush(ColorToARGB(font.Color(), 255));
    WindowDC screen(nullptr);
    TGpFont gpFont(screen.Get(), font.Name(), float(font.Size()), FontStyleToGdip(font.Style()));
    TGpStringFormat format;
    format.SetAlignment(horizontal);
    format.SetLineAlignment(vertical);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.DrawString(caption, gpFont, layout, format, brush);
}

bool DrawPNGImage(TGpGraphics& graphics, const TGpImage& image, int left, int top, int width, int height,
                  double rotate)
{
    if (image.Empty())
        return false;
    if (rotate == 0) {
        graphics.DrawImageRect(image, left, top, width, height);
        return true;
    }
    // The rotation is several GDI+ calls: one that fails must leave no part of it behind
    // for what is drawn next.
    try {
        graphics.RotateAt(float(rotate), float(left + width / 2), float(top + height / 2));
        graphics.DrawImageRect(image, left, top, width, height);
    } catch (...) {
        graphics.ResetTransform();
        throw;
    }
    graphics.ResetTransform();
    return true;
}
