#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "skin/core/SkControlLayout.h"
#include "skin/core/SkFormLayout.h"
#include "skin/core/SkFrameObjects.h"
#include "tests/skin/SkinTestUtil.h"

namespace {

class Host : public TSkObjectHost {
public:
    bool IsFormActive() const override { return true; }
    bool UsesNCArea() const override { return true; }
    int FormWindowState() const override { return 0; }
    bool FormRolledUp() const override { return false; }
    void PaintObject(TskActiveSkinObject&) override {}
    void StartMorphTimer() override {}
    void RunCommand(TskCommand) override {}
    void OpenButtonMenu(TskSkinButtonObject&) override {}
    void CloseForm() override {}
    void StartFaceDrag() override {}
    void StopFaceDrag() override {}
    void ObjectEvent(const std::string&, const std::string&) override {}
};

std::string Str(const TRect& r)
{
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

class CaptionButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto caption = std::make_unique<TskSkinCaptionObject>(H, nullptr, 1);
        caption->ObjectRect = {20, 4, 200, 22};
        Objects.push_back(std::move(caption));
        // The system-menu button comes first in the list; the row has its own order.
        for (TskCommand c : {cmSysMenu, cmMinimize, cmClose, cmMaximize}) {
            TskDataSkinStdButton r("b" + std::to_string(c));
            r.Command = c;
            r.SkinRectInAPicture = true;
            r.ActivePictureIndex = 0;
            r.SkinRect = {0, 0, 14, 14};
            Objects.push_back(std::make_unique<TskSkinStdButtonObject>(H, &r, 1));
        }
        Geometry.CaptionRect = {20, 4, 200, 22};
        Info.ButtonsOffset = 2;
    }
    std::string Rect(TskCommand c)
    {
        for (auto& o : Objects)
            if (TskCommand* oc = CommandOf(*o); oc && *oc == c)
                return Str(o->ObjectRect);
        return "none";
    }
    std::string Caption() { return Str(Objects[0]->ObjectRect); }
    Host H;
    std::vector<std::unique_ptr<TskActiveSkinObject>> Objects;
    TSkFrameGeometry Geometry;
    TskSkinFormInfo Info;
};

}  // namespace

TEST_F(CaptionButtons, FromTheRightOfTheCaptionRectangle)
{
    LayoutCaptionButtons(Objects, Geometry, Info, {16, 16});
    EXPECT_EQ(Rect(cmClose), "186,4,200,18");
    EXPECT_EQ(Rect(cmMaximize), "170,4,184,18");
    EXPECT_EQ(Rect(cmMinimize), "154,4,168,18");
    EXPECT_EQ(Rect(cmSysMenu), "20,6,34,20");   // centred in the caption rectangle's height
    EXPECT_EQ(Caption(), "34,4,154,22");
}

TEST_F(CaptionButtons, FromTheLeftWithButtonsInLeft)
{
    Info.ButtonsInLeft = true;
    LayoutCaptionButtons(Objects, Geometry, Info, {16, 16});
    EXPECT_EQ(Rect(cmClose), "20,4,34,18");
    EXPECT_EQ(Rect(cmMaximize), "36,4,50,18");
    EXPECT_EQ(Rect(cmMinimize), "52,4,66,18");
    EXPECT_EQ(Rect(cmSysMenu), "68,4,82,18");
    EXPECT_EQ(Caption(), "84,4,200,22");
}

TEST_F(CaptionButtons, InTheButtonsRectangleOnlyButtonsWhoseLookIsInTheirPicture)
{
    Geometry.ButtonsRect = {300, 0, 360, 16};
    Objects[2]->SkinRectInAPicture = false;   // the minimize button's look is in the frame: it stays
    Objects[2]->ObjectRect = {1, 1, 2, 2};
    Objects[4]->Visible = false;               // a hidden maximize button takes no room
    Objects[4]->ObjectRect = {3, 3, 4, 4};
    LayoutCaptionButtons(Objects, Geometry, Info, {16, 16});
    EXPECT_EQ(Rect(cmClose), "346,0,360,14");
    EXPECT_EQ(Rect(cmMinimize), "1,1,2,2");
    EXPECT_EQ(Rect(cmMaximize), "3,3,4,4");
    EXPECT_EQ(Caption(), "34,4,200,22");   // the caption keeps its right end
    // A system-menu button showing the window icon takes the icon's size.
    dynamic_cast<TskSkinStdButtonObject&>(*Objects[1]).DrawsIcon = true;
    LayoutCaptionButtons(Objects, Geometry, Info, {16, 12});
    EXPECT_EQ(Rect(cmSysMenu), "20,7,36,19");
}

TEST_F(CaptionButtons, AHugeButtonsOffsetOverflowsNothing)
{
    for (bool inLeft : {false, true})
        for (int offset : {INT_MIN, -100000, 100000, INT_MAX}) {
            Info.ButtonsInLeft = inLeft;
            Info.ButtonsOffset = offset;
            LayoutCaptionButtons(Objects, Geometry, Info, {16, 16});
            for (auto& o : Objects)
                EXPECT_LE(std::abs(o->ObjectRect.Left), 8 * 32768) << inLeft << " " << offset;
        }
}

TEST_F(CaptionButtons, NothingWithoutARow)
{
    Geometry.CaptionRect = {};
    LayoutCaptionButtons(Objects, Geometry, Info, {16, 16});
    EXPECT_EQ(Rect(cmClose), "0,0,14,14");
    EXPECT_EQ(Caption(), "20,4,200,22");
}

TEST(RollUpFace, ObjectsRightOfThePointsMoveAndSpanningOnesGrow)
{
    // Points 30 and 70, face 50 pixels wider than the picture.
    const std::pair<TRect, std::string> cases[] = {
        {{70, 2, 90, 12}, "120,2,140,12"},   // starts at the right point
        {{80, 2, 90, 12}, "130,2,140,12"},
        {{10, 2, 80, 12}, "10,2,130,12"},    // spans both
        {{30, 2, 70, 12}, "30,2,120,12"},
        {{5, 2, 25, 12}, "5,2,25,12"},       // left part stays
        {{40, 2, 60, 12}, "40,2,60,12"},     // between the points stays
        {{31, 2, 80, 12}, "31,2,80,12"}};
    for (const auto& [r, expected] : cases)
        EXPECT_EQ(Str(RollUpObjectRect(r, 30, 70, 50)), expected) << Str(r);
    EXPECT_EQ(Str(RollUpObjectRect({80, 2, 90, 12}, 70, 70, 50)), "80,2,90,12");
}

TEST(RollUpFace, PictureKeepsItsEndsAndTilesTheMiddle)
{
    const TSkBitmap picture = skintest::Coordinates(100, 20);
    const TSkBitmap face = RollUpFacePicture(picture, 30, 70, 160);
    ASSERT_EQ(face.Width(), 160);
    ASSERT_EQ(face.Height(), 20);
    for (int x : {0, 29})
        EXPECT_EQ(face.Pixel(x, 5), skintest::At(x, 5));
    for (int x : {130, 159})
        EXPECT_EQ(face.Pixel(x, 5), skintest::At(x - 60, 5));
    EXPECT_EQ(face.Pixel(30, 5), skintest::At(30, 5));
    EXPECT_EQ(face.Pixel(70, 5), skintest::At(30, 5));   // tiled in 40-pixel steps
    EXPECT_EQ(RollUpFacePicture(picture, 70, 30, 160), picture);
}

TEST(AreaControls, AreasFollowTheZonesOfAStretchingSkin)
{
    TskSkinFormInfo info;
    info.LTPoint = {40, 40};
    info.RTPoint = {53, 40};
    info.LBPoint = {40, 100};
    info.RBPoint = {53, 100};
    const TRect area{60, 10, 140, 110};   // right-top zone to right-bottom zone
    EXPECT_EQ(Str(AreaControlBounds(area, info, 152, 125, 100, 30)), "160,10,240,140");
    EXPECT_EQ(Str(AreaControlBounds({5, 5, 30, 30}, info, 152, 125, 100, 30)), "5,5,30,30");
    info.RBPoint = info.LTPoint;   // a fixed skin: the area as it is
    EXPECT_EQ(Str(AreaControlBounds(area, info, 152, 125, 100, 30)), Str(area));
}

TEST(CaptionFrame, StandsBehindTheTextWithTheFramesMargin)
{
    TskDataSkinCaption rec("caption1");
    EXPECT_TRUE(IsNullRect(CaptionFrameRect(rec, 50, 40, {30, 8, 150, 26})));
    rec.FrameRect = {0, 0, 30, 20};
    rec.FrameTextRect = {6, 3, 24, 17};   // 12 pixels of margin, text 6 in and 3 down
    EXPECT_EQ(Str(CaptionFrameRect(rec, 50, 40, {30, 8, 150, 26})), "44,5,96,25");
    EXPECT_EQ(Str(CaptionFrameRect(rec, 50, 0, {30, 8, 150, 26})), "44,5,56,25");
}

TEST(ButtonMorph, FiveStepsEachWayAndNoOvershoot)
{
    double f = 0;
    std::vector<double> up;
    for (int i = 0; i < 7; ++i)
        up.push_back(f = ButtonMorphStep(f, true));
    EXPECT_EQ(up.back(), 1.0);
    EXPECT_EQ(up[4], 1.0);   // the end after five steps, exactly
    EXPECT_TRUE(ButtonMorphBlends(up[3]));
    for (int i = 0; i < 5; ++i)
        f = ButtonMorphStep(f, false);
    EXPECT_EQ(f, 0.0);
    EXPECT_FALSE(ButtonMorphBlends(f));
    EXPECT_EQ(ButtonMorphStep(0, false), 0.0);
}
