#include <gtest/gtest.h>

#include "skin/core/SkControlLayout.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

namespace {

// The geometry of the button and panel records of our skin (relative to the skin rectangle).
const TRect kButtonRect{3, 240, 27, 261};   // 24 x 21
const TSkinFrame kButton{{6, 5}, {18, 5}, {6, 15}, {18, 15}, {3, 3, 21, 18}};
const TRect kPanelRect{64, 0, 124, 52};     // 60 x 52
const TSkinFrame kPanel{{6, 6}, {53, 6}, {6, 46}, {53, 46}, {3, 3, 57, 49}};


}  // namespace

TEST(SkinControlLayout, ResizeModeFollowsTheFirstPointThatHolds)
{
    struct Case {
        TRect skin;
        TSkinFrame frame;
        int mode;
    } cases[] = {
        {{}, kButton, -1},
        {kButtonRect, kButton, 1},
        {kPanelRect, kPanel, 1},
        {kButtonRect, {{6, 5}, {18, 5}, {6, 15}, {18, 0}, {}}, 2},
        {kButtonRect, {{6, 5}, {0, 0}, {6, 15}, {0, 15}, {}}, 3},
        {kButtonRect, {{6, 5}, {0, 0}, {0, 0}, {18, 0}, {}}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SkinResizeMode(c.skin, c.frame), c.mode);
}

TEST(SkinControlLayout, SizeAndFrameForEachMode)
{
    const TSkinFrame f2{{6, 5}, {18, 5}, {}, {}, {3, 3, 21, 18}};
    const TSkinFrame f3{{6, 5}, {}, {6, 15}, {}, {3, 3, 21, 18}};
    struct Case {
        int mode;
        TSkinFrame frame;
        int w, h, ew, eh;
        TPoint rt, lb, rb;
        TRect client;
    } cases[] = {
        {1, kButton, 70, 24, 70, 24, {64, 5}, {6, 18}, {64, 18}, {3, 3, 67, 21}},
        {1, kButton, 10, 8, 10, 8, {4, 5}, {6, 2}, {4, 2}, {3, 3, 7, 5}},
        {2, f2, 70, 40, 70, 21, {64, 5}, {}, {}, {3, 3, 67, 18}},
        {3, f3, 70, 40, 24, 40, {}, {6, 34}, {}, {3, 3, 21, 37}},
        {0, kButton, 70, 40, 24, 21, {18, 5}, {6, 15}, {18, 15}, {3, 3, 21, 18}},
    };
    for (const Case& c : cases) {
        const TSkinControlSize s = CalcSkinControlSize(c.mode, kButtonRect, c.frame, c.w, c.h);
        EXPECT_EQ(s.Width, c.ew) << c.mode;
        EXPECT_EQ(s.Height, c.eh) << c.mode;
        EXPECT_TRUE(s.NewFrame.LeftTop == c.frame.LeftTop);
        EXPECT_TRUE(s.NewFrame.RightTop == c.rt) << c.mode;
        EXPECT_TRUE(s.NewFrame.LeftBottom == c.lb) << c.mode;
        EXPECT_TRUE(s.NewFrame.RightBottom == c.rb) << c.mode;
        EXPECT_EQ(s.NewFrame.ClientRect, c.client) << c.mode;
    }
}

TEST(SkinControlLayout, SubRectanglesFollowTheirCorners)
{
    // Button grown by 46 x 3.
    struct Case {
        int mode;
        TRect r, mapped;
    } cases[] = {
        {1, {1, 1, 5, 4}, {1, 1, 5, 4}},          // in the top-left corner
        {1, {19, 1, 23, 4}, {65, 1, 69, 4}},      // top-right
        {1, {1, 16, 5, 20}, {1, 19, 5, 23}},      // bottom-left
        {1, {19, 16, 23, 20}, {65, 19, 69, 23}},  // bottom-right
        {1, {2, 2, 20, 17}, {2, 2, 66, 20}},      // top-left to bottom-right
        {1, {2, 1, 20, 4}, {2, 1, 66, 4}},        // along the top
        {1, {2, 16, 20, 20}, {2, 19, 66, 23}},    // along the bottom
        {1, {1, 2, 5, 17}, {1, 2, 5, 20}},        // down the left
        {1, {19, 2, 23, 17}, {65, 2, 69, 20}},    // down the right
        {1, {8, 8, 10, 10}, {8, 8, 10, 10}},      // inside the centre: unchanged
        {2, {2, 1, 20, 4}, {2, 1, 66, 4}},
        {2, {19, 1, 23, 4}, {65, 1, 69, 4}},
        {2, {8, 1, 10, 4}, {8, 1, 10, 4}},
        {3, {1, 2, 5, 17}, {1, 2, 5, 20}},
        {3, {1, 16, 5, 20}, {1, 19, 5, 23}},
        {0, {19, 16, 23, 20}, {19, 16, 23, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MapSkinSubRect(c.mode, kButtonRect, kButton, 70, 24, c.r), c.mapped)
            << c.mode << " " << c.r.Left << "," << c.r.Top;
}

TEST(SkinControlLayout, ButtonPictureKeepsCornersAndTilesTheRest)
{
    const TSkBitmap source = Coordinates(30, 262);
    const TSkinControlSize s = CalcSkinControlSize(1, kButtonRect, kButton, 70, 24);
    const TSkBitmap p = ComposeSkinControlPicture(1, source, kButtonRect, kButton, s.NewFrame, 70, 24);
    ASSERT_EQ(p.Width(), 70);
    ASSERT_EQ(p.Height(), 24);
    EXPECT_EQ(p.Pixel(0, 0), At(3, 240));
    EXPECT_EQ(p.Pixel(69, 23), At(26, 260));
    EXPECT_EQ(p.Pixel(69, 0), At(26, 240));
    EXPECT_EQ(p.Pixel(0, 23), At(3, 260));
    // The centre is tiled from the skin's client part.
    for (int x = 3; x < 67; ++x) {
        const int sx = static_cast<int>((p.Pixel(x, 12) >> 16) & 255), sy = static_cast<int>((p.Pixel(x, 12) >> 8) & 255);
        EXPECT_TRUE(sx >= 6 && sx < 24 && sy >= 243 && sy < 258) << x;
    }
}

// Smaller than its corners the picture is clipped: every pixel comes from the skin
// rectangle and runs left to right and top to bottom, never mirrored; nothing at zero size.
TEST(SkinControlLayout, SmallControlsClipAndZeroSizeDrawsNothing)
{
    const TSkBitmap source = Coordinates(30, 262);
    for (int w = 0; w <= 26; ++w)
        for (int h = 0; h <= 23; ++h) {
            const TSkinControlSize s = CalcSkinControlSize(1, kButtonRect, kButton, w, h);
            const TSkBitmap p = ComposeSkinControlPicture(1, source, kButtonRect, kButton, s.NewFrame, w, h);
            if (w == 0 || h == 0) {
                EXPECT_TRUE(p.Empty());
                continue;
            }
            ASSERT_EQ(p.Width(), w);
            ASSERT_EQ(p.Height(), h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const TSkPixel v = p.Pixel(x, y);
                    const int sx = static_cast<int>((v >> 16) & 255), sy = static_cast<int>((v >> 8) & 255);
                    ASSERT_TRUE(SkRgbPart(v) == 0 || (sx >= 3 && sx < 27)) << w << "x" << h;
                    if (x + 1 < w && SkRgbPart(v) != 0 && SkRgbPart(p.Pixel(x + 1, y)) != 0) {
                        const int nx = static_cast<int>((p.Pixel(x + 1, y) >> 16) & 255);
                        ASSERT_NE(nx, sx - 1) << "mirrored at " << x << "," << y << " of " << w << "x" << h;
                    }
                    (void)sy;
                }
        }
}

TEST(SkinButtonLook, PictureChoice)
{
    using L = TSkButtonLook;
    struct Case {
        TSkButtonStateInput s;
        L look;
    } cases[] = {
        {{}, L::Normal},
        {{.Hovered = true}, L::Active},
        {{.Focused = true}, L::Active},
        {{.MorphedIn = true}, L::Active},
        {{.Hovered = true, .MorphedOut = true}, L::Normal},   // a morph just set off
        {{.Focused = true, .MorphedOut = true}, L::Normal},
        {{.Down = true, .Focused = true, .MorphedOut = true}, L::Down},
        {{.Down = true, .Hovered = true}, L::Down},
        {{.Down = true, .InGroup = true}, L::Down},
        {{.Down = true, .Focused = true}, L::Down},
        {{.Down = true, .Focused = true, .MousePressed = true}, L::Active},   // pressed and dragged out
        {{.Down = true}, L::Normal},
        {{.Enabled = false, .Hovered = true, .HasDisabledRect = true}, L::Disabled},
        {{.Enabled = false, .HasDisabledRect = false}, L::Normal},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseButtonLook(c.s), c.look);
}

TEST(SkinButtonLook, FontColourAndGlyphNumber)
{
    const TSkButtonFontColors c{1, 2, 3, 4};
    EXPECT_EQ(ButtonFontColor(c, true, false, false), 1);
    EXPECT_EQ(ButtonFontColor(c, true, true, false), 2);
    EXPECT_EQ(ButtonFontColor(c, true, true, true), 3);
    EXPECT_EQ(ButtonFontColor(c, false, true, true), 4);
    struct Case {
        int count;
        bool enabled, hovered, down;
        int glyph;
    } cases[] = {
        {1, true, true, true, 1},  {3, true, true, true, 3},  {4, true, false, true, 4},
        {3, true, false, true, 1}, {2, false, false, false, 2}, {1, false, false, false, 1},
    };
    for (const Case& g : cases)
        EXPECT_EQ(ButtonGlyphNumber(g.count, g.enabled, g.hovered, g.down), g.glyph) << g.count;
}

TEST(SkinButtonLook, GlyphAndCaptionPlaces)
{
    using B = TskButtonLayout;
    const TRect r{0, 0, 100, 40};   // centre 50, 20
    struct Case {
        B layout;
        int margin;
        bool pressed;
        TPoint glyph, text;
    } cases[] = {
        // glyph 16 x 16, text 30 x 12, spacing 4: m = 25, n = 16
        {B::blGlyphLeft, -1, false, {25, 12}, {45, 14}},
        {B::blGlyphRight, -1, false, {59, 12}, {25, 14}},
        {B::blGlyphTop, -1, false, {42, 4}, {35, 24}},
        {B::blGlyphBottom, -1, false, {42, 20}, {35, 4}},
        {B::blGlyphLeft, 3, false, {3, 12}, {23, 14}},
        {B::blGlyphRight, 3, false, {81, 12}, {47, 14}},
        {B::blGlyphTop, 3, false, {42, 3}, {35, 23}},
        {B::blGlyphBottom, 3, false, {42, 21}, {35, 5}},
        {B::blGlyphLeft, -1, true, {26, 13}, {46, 15}},
    };
    for (const Case& c : cases) {
        const TSkContentPlace p = PlaceGlyphAndCaption(r, c.layout, c.margin, 4, 16, 16, 30, 12, c.pressed);
        EXPECT_TRUE(p.Glyph == c.glyph) << static_cast<int>(c.layout) << " " << c.margin << ": " << p.Glyph.X << ","
                                        << p.Glyph.Y;
        EXPECT_TRUE(p.Text == c.text) << static_cast<int>(c.layout) << " " << c.margin << ": " << p.Text.X << ","
                                      << p.Text.Y;
    }
    // No glyph: the caption alone is centred.
    const TSkContentPlace t = PlaceGlyphAndCaption(r, B::blGlyphLeft, -1, 1, 0, 0, 30, 12, false);
    EXPECT_EQ(t.Text.X, 50 + 15 - 30);
}
