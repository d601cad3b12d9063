#include "editor/win/NoteEditGlyph.h"

TNoteGlyphPainter::TNoteGlyphPainter(TNoteGlyph& settings, HINSTANCE module) : FSettings(settings) {
    if (settings.BuiltInName().empty()) return;
    auto bitmap = std::make_unique<TBitmap>();
    try {
        bitmap->LoadFromResourceName(module, settings.BuiltInName());
    } catch (const EInvalidGraphic&) {
        return;
    }
    FBuiltIn = std::move(bitmap);
}

void TNoteGlyphPainter::SetGlyph(TBitmap& source) {
    FGlyph.Assign(source);
    FSettings.GlyphChanged();
}

int TNoteGlyphPainter::GlyphWidth() const {
    if (!FGlyph.Empty()) return FGlyph.Width();
    return FBuiltIn ? FBuiltIn->Width() : 0;
}

void TNoteGlyphPainter::DrawGlyph(TCanvas& canvas, int x, int y, int lineHeight) {
    TBitmap* bitmap = !FGlyph.Empty() ? &FGlyph : FBuiltIn.get();
    if (!bitmap) return;
    const TNoteColor mask = bitmap == &FGlyph ? FSettings.MaskColor() : FSettings.BuiltInMaskColor();
    NoteDrawBitmapBand(canvas, x, *bitmap, 0, bitmap->Width(), NoteGlyphBand(bitmap->Height(), y, lineHeight), mask);
}

void NoteDrawBitmapBand(TCanvas& canvas, int x, TBitmap& source, int sourceLeft, int width,
                        const TNoteGlyphBand& band, TNoteColor maskColor) {
    if (width <= 0 || band.Height <= 0) return;
    HDC target = canvas.Handle();
    if (maskColor == clNone) {
        BitBlt(target, x, band.DestY, width, band.Height, source.Canvas().Handle(), sourceLeft, band.SourceTop, SRCCOPY);
        return;
    }
    // Composite in memory: take what is there, lay the glyph's other pixels over it.
    const COLORREF key = ColorToRGB(maskColor);
    const uint32_t keyPixel = GetRValue(key) << 16 | GetGValue(key) << 8 | GetBValue(key);
    TBitmap work(width, band.Height);
    BitBlt(work.Canvas().Handle(), 0, 0, width, band.Height, target, x, band.DestY, SRCCOPY);
    GdiFlush();
    for (int row = 0; row < band.Height; ++row) {
        const uint32_t* from = source.ScanLine(band.SourceTop + row) + sourceLeft;
        uint32_t* to = work.ScanLine(row);
        for (int col = 0; col < width; ++col)
            if ((from[col] & 0xFFFFFF) != keyPixel) to[col] = from[col];
    }
    BitBlt(target, x, band.DestY, width, band.Height, work.Canvas().Handle(), 0, 0, SRCCOPY);
}
