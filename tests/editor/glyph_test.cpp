#include <gtest/gtest.h>

#include "editor/win/NoteEditGlyph.h"
#include "editor/win/NoteEditInternalImage.h"

namespace {
HINSTANCE Module() { return GetModuleHandleW(nullptr); }

// A white target bitmap; Rgb reads one pixel as 0xRRGGBB.
struct Target {
    TBitmap Bitmap{24, 40};
    Target() {
        Bitmap.Canvas().Brush().SetColor(clWhite);
        Bitmap.Canvas().FillRect(Rect(0, 0, 24, 40));
    }
    uint32_t Rgb(int x, int y) {
        GdiFlush();
        return Bitmap.PixelARGB(x, y) & 0xFFFFFF;
    }
};
}  // namespace

TEST(NoteEditGlyph, TallGlyphShowsItsMiddleRowsWithoutTheMaskColour) {
    TNoteGlyph settings;
    TNoteGlyphPainter painter(settings, Module());
    EXPECT_FALSE(painter.HasBuiltIn());
    EXPECT_EQ(painter.GlyphWidth(), 0);
    int changes = 0;
    settings.OnChange = [&](void*) { ++changes; };
    TBitmap glyph(4, 16);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 4; ++x) glyph.ScanLine(row)[x] = 0xFF000000u | (row * 10u) << 16;
    painter.SetGlyph(glyph);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(painter.GlyphWidth(), 4);

    Target target;
    painter.DrawGlyph(target.Bitmap.Canvas(), 2, 5, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(target.Rgb(3, 5 + i), (4u + i) * 10 << 16) << i;
    EXPECT_EQ(target.Rgb(3, 4), 0xFFFFFFu);
    EXPECT_EQ(target.Rgb(3, 13), 0xFFFFFFu);

    settings.SetMaskColor(60);  // TColor of the red level 60: row 6 is left out
    Target masked;
    painter.DrawGlyph(masked.Bitmap.Canvas(), 0, 0, 16);
    EXPECT_EQ(masked.Rgb(0, 6), 0xFFFFFFu);
    EXPECT_EQ(masked.Rgb(0, 7), 70u << 16);
}

TEST(NoteEditGlyph, BuiltInWrapMarkIsCentredAndTransparent) {
    TNoteWordWrap wrap;
    TNoteGlyphPainter painter(wrap.Indicator(), Module());
    ASSERT_TRUE(painter.HasBuiltIn());
    EXPECT_EQ(painter.GlyphWidth(), 12);
    Target target;
    painter.DrawGlyph(target.Bitmap.Canvas(), 0, 0, 20);  // 12 rows centred in 20: from y 4
    EXPECT_EQ(target.Rgb(0, 4), 0xFFFFFFu);                // lime is transparent
    EXPECT_EQ(target.Rgb(0, 4 + 8), 0x000080u);            // the arrow
    EXPECT_EQ(target.Rgb(0, 3), 0xFFFFFFu);
}

TEST(NoteEditInternalImage, StripsAreSharedAndSliced) {
    EXPECT_EQ(TNoteInternalImage::SharedStripCount(), 0);
    {
        TNoteInternalImage first(Module(), "NoteEditBookmarks", 10);
        TNoteInternalImage second(Module(), "NOTEEDITBOOKMARKS", 10);
        EXPECT_EQ(TNoteInternalImage::SharedStripCount(), 1);
        EXPECT_EQ(first.Width(), 12);
        EXPECT_EQ(first.Height(), 14);

        Target target;
        first.DrawImage(target.Bitmap.Canvas(), 1, 0, 0, 14);   // the mark "1": 010 on its first digit row
        EXPECT_EQ(target.Rgb(0, 0), 0x000000u);                // frame
        EXPECT_EQ(target.Rgb(4, 4), 0xFFFF80u);
        EXPECT_EQ(target.Rgb(5, 4), 0x000000u);
        second.DrawImage(target.Bitmap.Canvas(), 3, 12, 20, 7);  // a 7-pixel row shows rows 3..9
        EXPECT_EQ(target.Rgb(12 + 4, 20 + 1), 0x000000u);       // digit row 0 of "3": 111
        EXPECT_EQ(target.Rgb(12 + 4, 20 + 2), 0xFFFF80u);       // digit row 1: 001
        EXPECT_EQ(target.Rgb(12 + 6, 20 + 2), 0x000000u);
        Target untouched;
        first.DrawImage(untouched.Bitmap.Canvas(), 10, 0, 0, 14);
        first.DrawImage(untouched.Bitmap.Canvas(), -1, 0, 0, 14);
        EXPECT_EQ(untouched.Rgb(0, 0), 0xFFFFFFu);
    }
    EXPECT_EQ(TNoteInternalImage::SharedStripCount(), 0);
    EXPECT_THROW(TNoteInternalImage(Module(), "NoSuchStrip", 2), EInvalidGraphic);
    EXPECT_EQ(TNoteInternalImage::SharedStripCount(), 0);
}
