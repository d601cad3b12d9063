#include <gtest/gtest.h>

#include "framework/rtl/Encoding.h"
#include "skin/core/SkGlyphs.h"
#include "skin/core/SkText.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

TEST(FitTextToWidth, ShortensByWholeCharacters)
{
    // Every character is 10 wide, "..." is 6.
    const TTextWidthFunc width = [](std::string_view s) {
        const bool dots = s.size() >= 3 && s.substr(s.size() - 3) == "...";
        return static_cast<int>(Utf8Length(dots ? s.substr(0, s.size() - 3) : s)) * 10 + (dots ? 6 : 0);
    };
    EXPECT_EQ(FitTextToWidth("备忘录", 30, width), "备忘录");
    EXPECT_EQ(FitTextToWidth("备忘录提醒", 30, width), "备忘...");
    EXPECT_EQ(FitTextToWidth("a备b忘", 27, width), "a备...");
    EXPECT_EQ(FitTextToWidth("备忘", 5, width), "...");
    EXPECT_EQ(FitTextToWidth("", 0, width), "");
    // Bytes that are not UTF-8 still shorten one at a time.
    EXPECT_EQ(FitTextToWidth("\xB1\xB8\xCD\xFC", 0, [](std::string_view s) { return static_cast<int>(s.size()); }),
              "...");
}

TEST(DrawGlyphFrame, DrawsOneGlyphWithItsBottomLeftColourTransparent)
{
    // Two 2x2 glyphs; the key colour is each glyph's bottom-left pixel.
    TSkBitmap strip(4, 2, SkRgb(9, 9, 9));
    strip.SetPixel(2, 0, SkRgb(1, 2, 3));
    strip.SetPixel(3, 1, SkRgb(4, 5, 6));
    TSkBitmap target(3, 3, SkRgb(200, 200, 200));
    TSkCanvas canvas(target);
    DrawGlyphFrame(canvas, 1, 1, 2, 2, strip);
    EXPECT_EQ(target.Pixel(1, 1), SkRgb(1, 2, 3));
    EXPECT_EQ(target.Pixel(2, 2), SkRgb(4, 5, 6));
    EXPECT_EQ(target.Pixel(2, 1), SkRgb(200, 200, 200));
    EXPECT_EQ(target.Pixel(1, 2), SkRgb(200, 200, 200));

    const TSkBitmap before = target;
    DrawGlyphFrame(canvas, 0, 0, 3, 2, strip);
    DrawGlyphFrame(canvas, 0, 0, 0, 2, strip);
    DrawGlyphFrame(canvas, 0, 0, 1, 0, strip);
    DrawGlyphFrame(canvas, 0, 0, 1, 1, TSkBitmap());
    EXPECT_EQ(target, before);
}

TEST(CaptionGlyphs, DrawTheirPixels)
{
    const TSkPixel red = SkPixelFromColor(0x0000FF);
    TSkBitmap target(12, 12);
    TSkCanvas canvas(target);
    DrawTrayGlyph(canvas, 0, 0, 0x0000FF);
    EXPECT_EQ(target.Pixel(2, 2), red);
    EXPECT_EQ(target.Pixel(6, 6), red);
    EXPECT_EQ(target.Pixel(7, 7), 0u);

    target.SetSize(12, 12);
    DrawMinimizeGlyph(canvas, 0, 0, 0x0000FF);
    EXPECT_EQ(target.Pixel(1, 8), red);
    EXPECT_EQ(target.Pixel(8, 9), red);
    EXPECT_EQ(target.Pixel(9, 9), 0u);   // the pen leaves out the end point

    target.SetSize(12, 12);
    DrawCloseGlyph(canvas, 0, 0, 0x0000FF);
    EXPECT_EQ(target.Pixel(1, 1), red);
    EXPECT_EQ(target.Pixel(8, 8), red);
    EXPECT_EQ(target.Pixel(9, 8), red);   // from the (2,1)-(10,9) line
    EXPECT_EQ(target.Pixel(9, 9), 0u);
    EXPECT_EQ(target.Pixel(0, 9), 0u);
}
