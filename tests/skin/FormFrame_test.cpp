#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtl/FileUtils.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFormObjects.h"
#include "skin/core/SkinData.h"

namespace {

// Our skin: frame picture 152 x 125, clientrect 5,29,147,120, corner points 40/53 and 40/100.
class OurSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        FStored.SetCompressedData(ReadFileBytes(std::string(VORPEN_SKIN_DIR) + "/vorpen.skn"));
        FData.SetCompressedStoredSkin(&FStored);
        ASSERT_FALSE(FData.Empty);
    }
    const TskSkinFormInfo& Info() const { return FData.FormInfo; }
    TSkFrameGeometry Geometry(int w, int h) const { return ComputeFrameGeometry(Info(), 152, 125, w, h); }
    TRect Mapped(const char* name, int w, int h) const
    {
        const TSkFrameGeometry g = Geometry(w, h);
        return MapSkinRect(FData.ObjectList[static_cast<size_t>(FData.IndexOfSkinObject(name))]->SkinRect, Info(),
                           152, 125, g.DX, g.DY);
    }
    TskCompressedStoredSkin FStored;
    TskSkinData FData{nullptr};
};

}  // namespace

TEST_F(OurSkin, TheFrameMapsOntoTheSmallestAndALargeWindow)
{
    TSkMinSizeInput in;
    in.SkinActive = true;
    in.PictureWidth = 152;
    in.PictureHeight = 125;
    in.ClientRectHeight = Info().ClRect.Height();
    EXPECT_EQ(MinimumSize(in), (TPoint{152, 34}));

    const TSkFrameGeometry small = Geometry(152, 34);
    EXPECT_EQ(small.ClientRect, (TRect{5, 29, 147, 29}));
    EXPECT_EQ(small.RT, (TPoint{53, 40}));
    EXPECT_EQ(small.LB, (TPoint{40, 9}));

    const TSkFrameGeometry large = Geometry(300, 400);
    EXPECT_EQ(large.RT, (TPoint{201, 40}));
    EXPECT_EQ(large.RB, (TPoint{201, 375}));
    EXPECT_EQ(large.ClientRect, (TRect{5, 29, 295, 395}));
    EXPECT_EQ(large.MaskRect, large.ClientRect);

    // Left-top zone objects stay, right-top ones keep their distance to the right edge,
    // the caption spans both and grows.
    struct Case { const char* name; TRect small, large; };
    const Case cases[] = {
        {"sysmenubutton", {6, 7, 22, 23}, {6, 7, 22, 23}},
        {"closebutton", {130, 7, 144, 21}, {278, 7, 292, 21}},
        {"rollupbutton", {76, 7, 90, 21}, {224, 7, 238, 21}},
        {"caption1", {24, 5, 70, 27}, {24, 5, 218, 27}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Mapped(c.name, 152, 34), c.small) << c.name;
        EXPECT_EQ(Mapped(c.name, 300, 400), c.large) << c.name;
    }
}

TEST(FrameZones, RectanglesSpanningZonesStretch)
{
    TskSkinFormInfo fi;
    fi.LTPoint = {10, 10};
    fi.RTPoint = {20, 10};
    fi.LBPoint = {10, 30};
    fi.RBPoint = {20, 30};
    struct Case { TRect in, out; };
    const Case cases[] = {
        {{1, 1, 9, 9}, {1, 1, 9, 9}},          // left-top
        {{22, 1, 30, 9}, {52, 1, 60, 9}},      // right-top: moved right
        {{1, 32, 9, 38}, {1, 52, 9, 58}},      // left-bottom: moved down
        {{22, 32, 30, 38}, {52, 52, 60, 58}},  // right-bottom: both
        {{2, 2, 25, 35}, {2, 2, 55, 55}},      // left-top to right-bottom: grows both ways
        {{2, 2, 25, 8}, {2, 2, 55, 8}},        // across the top: grows in width
        {{2, 32, 25, 38}, {2, 52, 55, 58}},    // across the bottom: grows and moves down
        {{2, 2, 8, 35}, {2, 2, 8, 55}},        // down the left: grows in height
        {{22, 2, 28, 35}, {52, 2, 58, 55}},    // down the right: moves right and grows
    };
    for (const Case& c : cases)
        EXPECT_EQ(MapSkinRect(c.in, fi, 40, 40, 30, 20), c.out);
}

TEST(FrameMinimum, EveryRuleOfTheMinimumSize)
{
    struct Case { bool nc, skin, minimized, rolled; int minW, minH; TPoint expect; };
    const Case cases[] = {
        {true, true, false, false, 0, 0, {152, 34}},
        {true, true, false, false, 200, 60, {200, 60}},
        {true, true, false, true, 200, 60, {200, 34}},   // rolled up: the frame alone
        {true, true, true, false, 200, 60, {152, 34}},   // minimized
        {true, false, false, false, 0, 0, {130, 25}},    // default frame: caption 19 + 6
        {true, false, false, false, 180, 40, {180, 40}},
        {false, false, false, false, 50, 50, {0, 0}},
        {false, true, false, false, 100, 200, {100, 125}},
    };
    for (const Case& c : cases) {
        TSkMinSizeInput in;
        in.NCArea = c.nc;
        in.SkinActive = c.skin;
        in.PictureWidth = 152;
        in.PictureHeight = 125;
        in.ClientRectHeight = 91;
        in.MinWidth = c.minW;
        in.MinHeight = c.minH;
        in.Minimized = c.minimized;
        in.RolledUp = c.rolled;
        EXPECT_EQ(MinimumSize(in), c.expect) << c.minW << " " << c.minH << " " << c.rolled << c.minimized;
    }
}

TEST_F(OurSkin, HitTestingFindsEveryZoneAndObject)
{
    const TSkFrameGeometry g = Geometry(300, 200);
    const TRect caption = Mapped("caption1", 300, 200);
    const TRect close = Mapped("closebutton", 300, 200);
    TSkHitInput in;
    in.Geometry = &g;
    in.BorderWidth = Info().BorderWidth;
    in.OnCaptionObject = [&](TPoint p) { return caption.Contains(p); };
    struct Case { TPoint p; int code; };
    const Case cases[] = {
        {{0, 0}, kHtTopLeft},      {{299, 0}, kHtTopRight},  {{0, 199}, kHtBottomLeft},
        {{299, 199}, kHtBottomRight}, {{150, 1}, kHtTop},     {{150, 198}, kHtBottom},
        {{1, 100}, kHtLeft},       {{298, 100}, kHtRight},   {{100, 100}, kHtClient},
        {{50, 15}, kHtCaption},    {{285, 14}, kHtObject},   {{240, 25}, kHtObject},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTestSkinned(in, c.p), c.code) << c.p.X << "," << c.p.Y;
    // A hovered button keeps the mouse even at the sizing border.
    in.ObjectHovered = true;
    EXPECT_EQ(HitTestSkinned(in, {close.Left, 2}), kHtObject);
    in.ObjectHovered = false;
    in.Maximized = true;
    EXPECT_EQ(HitTestSkinned(in, {0, 0}), kHtObject);
    EXPECT_EQ(HitTestSkinned(in, {100, 100}), kHtClient);
    in.Maximized = false;
    in.RolledUp = true;
    EXPECT_EQ(HitTestSkinned(in, {50, 15}), kHtCaption);
    EXPECT_EQ(HitTestSkinned(in, {0, 0}), kHtObject);
    in.RolledUp = false;
    in.Sizeable = false;
    EXPECT_EQ(HitTestSkinned(in, {0, 0}), kHtObject);
}

TEST(DefaultFrame, ButtonsAndHitTestWithoutASkin)
{
    const TSkDefaultButtons b = LayoutDefaultButtons(200, 19, 17, 17, {});
    EXPECT_EQ(b.Close, (TRect{180, 4, 197, 21}));
    EXPECT_EQ(b.Maximize, (TRect{163, 4, 180, 21}));
    EXPECT_EQ(b.RollUp, (TRect{129, 4, 146, 21}));
    EXPECT_TRUE(IsNullRect(b.Tray));
    EXPECT_EQ(b.SysMenu, (TRect{3, 4, 20, 21}));
    EXPECT_EQ(b.Caption, (TRect{20, 3, 129, 22}));
    TSkDefaultHitInput in;
    in.Width = 200;
    in.Height = 150;
    in.CaptionRect = b.Caption;
    EXPECT_EQ(HitTestDefault(in, {2, 2}), kHtTopLeft);
    EXPECT_EQ(HitTestDefault(in, {198, 148}), kHtBottomRight);
    EXPECT_EQ(HitTestDefault(in, {80, 10}), kHtCaption);
    EXPECT_EQ(HitTestDefault(in, {80, 21}), kHtCaption);   // the whole painted strip drags
    EXPECT_EQ(HitTestDefault(in, {80, 80}), kHtClient);
    in.ObjectHovered = true;
    EXPECT_EQ(HitTestDefault(in, {185, 10}), kHtObject);
}

TEST(FramePlacement, SnapSlotsAndMaximizedBounds)
{
    const TRect work{0, 0, 1280, 770};
    EXPECT_EQ(MagneticSnap({4, 100, 204, 200}, work, 5).Left, 0);
    EXPECT_EQ(MagneticSnap({5, 100, 205, 200}, work, 5).Left, 5);
    EXPECT_EQ(MagneticSnap({1077, 668, 1277, 768}, work, 5), (TRect{1080, 670, 1280, 770}));
    EXPECT_EQ(MinimizedSlot(work, 152, 34, {}), (TPoint{0, 736}));
    EXPECT_EQ(MinimizedSlot(work, 152, 34, {{0, 736}}), (TPoint{152, 736}));
    std::vector<TPoint> row;
    for (int x = 0; x + 152 <= 1280; x += 152)
        row.push_back({x, 736});
    EXPECT_EQ(MinimizedSlot(work, 152, 34, row), (TPoint{0, 702}));   // the next row up
    const TRect monitor{0, 0, 1280, 800};
    EXPECT_EQ(MaximizedBounds(monitor, work, false), work);
    EXPECT_EQ(MaximizedBounds(monitor, monitor, false), (TRect{1, 1, 1279, 799}));
    EXPECT_EQ(MaximizedBounds(monitor, work, true), monitor);
}

TEST(SystemMenu, ItemsFollowTheStateAndTheIcons)
{
    auto captions = [](int state, TskBorderIcons icons, bool rolled = false) {
        std::string s;
        for (const TSkSystemMenuItem& i : DefaultSystemMenu({state, rolled, false, icons}))
            s += i.Caption + "|";
        return s;
    };
    const TskBorderIcons main = SkIcon(TskBorderIcon::biMinimize) | SkIcon(TskBorderIcon::biMaximize);
    const TskBorderIcons list = SkIcon(TskBorderIcon::biMaximize);
    EXPECT_EQ(captions(0, main), "Mi&nimize|Ma&ximize|-|&Close|");
    EXPECT_EQ(captions(2, main), "Mi&nimize|&Restore|-|&Close|");
    EXPECT_EQ(captions(0, list), "Ma&ximize|-|&Close|");
    EXPECT_EQ(captions(2, list), "&Restore|-|&Close|");
    EXPECT_EQ(captions(0, kSkDefaultBorderIcons), "Mi&nimize|Ma&ximize|Ro&llUp|-|&Close|");
    EXPECT_EQ(captions(0, kSkDefaultBorderIcons, true), "Mi&nimize|Ma&ximize|&Restore|-|&Close|");
    EXPECT_EQ(captions(0, 0), "&Close|");
}

// A border width at either end of the integers makes every point of the frame a border
// point (and overflows nothing, which the sanitizer tree checks).
TEST_F(OurSkin, BorderWidthsAtTheEndsOfTheIntegersAreBorderEverywhere)
{
    const TSkFrameGeometry g = Geometry(300, 200);
    for (int width : {2147483647, -2147483647 - 1, 100000, -100000}) {
        for (bool mask : {false, true}) {
            TSkHitInput in;
            in.Geometry = &g;
            in.BorderWidth = width;
            in.HasMask = mask;
            in.MaskSolid = [](TPoint) { return true; };
            EXPECT_EQ(HitTestSkinned(in, {0, 0}), kHtTopLeft) << width;
            EXPECT_EQ(HitTestSkinned(in, {299, 199}), kHtBottomRight) << width;
            EXPECT_EQ(HitTestSkinned(in, {150, 1}), kHtTop) << width;
            EXPECT_EQ(HitTestSkinned(in, {100, 100}), kHtClient) << width;
        }
    }
}
