#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFrameObjects.h"
#include "skin/core/SkLabelObjects.h"
#include "skin/core/SkObjectPainter.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/SkValueObjects.h"
#include "skin/core/SkinData.h"
#include "skin/core/spzlibcompress.h"

namespace {

// Our skin's pictures with one object of every kind added to its object list.
const char* const kTestObjects =
    "[SKINOBJECTS]\r\ncount=10\r\n0=sw:switch\r\n1=tb:trackbar\r\n2=tbv:trackbar\r\n3=g:gauge\r\n"
    "4=fg:framegauge\r\n5=fr:frameregulator\r\n6=an:animate\r\n7=bl:bitlabel\r\n8=lb:label\r\n9=uo:userobject\r\n"
    "[sw]\r\nskinrect=10,40,30,50\r\nactivepictureindex=0\r\nactiveskinrect=0,0,20,10\r\n"
    "[tb]\r\nskinrect=0,60,100,70\r\nactivepictureindex=0\r\nactiveskinrect=0,0,100,10\r\nbuttonrect=0,20,10,30\r\n"
    "activebuttonrect=10,20,20,30\r\nbeginpoint=10,5\r\nendpoint=90,5\r\nminvalue=0\r\nmaxvalue=8\r\n"
    "mousedownchangevalue=1\r\n"
    "[tbv]\r\nskinrect=0,0,10,100\r\nactivepictureindex=0\r\nbuttonrect=0,20,10,30\r\nbeginpoint=5,90\r\n"
    "endpoint=5,10\r\nminvalue=0\r\nmaxvalue=80\r\n"
    "[g]\r\nskinrect=0,0,50,10\r\nactivepictureindex=0\r\nactiveskinrect=0,10,50,20\r\nminvalue=0\r\nmaxvalue=10\r\n"
    "[fg]\r\nskinrect=0,0,10,10\r\nactivepictureindex=0\r\nactiveskinrect=0,0,40,10\r\nminvalue=0\r\nmaxvalue=30\r\n"
    "countframes=4\r\n"
    "[fr]\r\nskinrect=0,0,10,10\r\nactivepictureindex=0\r\nactiveskinrect=0,0,40,10\r\nminvalue=0\r\nmaxvalue=30\r\n"
    "countframes=4\r\nkind=rkhorizontal\r\n"
    "[an]\r\nskinrect=0,0,10,10\r\nactivepictureindex=0\r\nactiveskinrect=0,30,30,40\r\ncountframes=3\r\n"
    "buttonstyle=1\r\ntimerinterval=50\r\ncommand=cmmaximize\r\nmorphing=1\r\n"
    "[bl]\r\nskinrect=0,0,18,7\r\nactivepictureindex=0\r\nactiveskinrect=0,50,50,64\r\ntextvalue=12:5\r\n"
    "symbolwidth=5\r\nsymbolheight=7\r\nsymbolslinecount=2\r\nsymbolsline0=0123456789\r\nsymbolsline1=:\r\n"
    "[lb]\r\nskinrect=0,0,40,12\r\ntextvalue=hi\r\nfontName=Tahoma\r\nfontheight=11\r\nfontcolor=255\r\n"
    "activefontcolor=65280\r\nalignment=taleftjustify\r\n"
    "[uo]\r\nskinrect=5,5,25,25\r\n";

std::string SkinWithTestObjects(const char* objects = kTestObjects)
{
    TPackedSkin skin = UnpackStoredSkin(ReadFileBytes(std::string(VORPEN_SKIN_DIR) + "/vorpen.skn"));
    std::string ini = GbkToUtf8(skin.IniText);
    const size_t from = ini.find("[SKINOBJECTS]"), to = ini.find("[SKINCONTROLS]");
    ini.replace(from, to - from, objects);
    skin.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    return packed.Bytes();
}

std::string Str(const TRect& r)
{
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

// A form and a painter that write down what the objects ask of them.
class Recorder : public TSkObjectHost, public TSkObjectPainter {
public:
    bool IsFormActive() const override { return true; }
    bool UsesNCArea() const override { return true; }
    int FormWindowState() const override { return 0; }
    bool FormRolledUp() const override { return false; }
    void PaintObject(TskActiveSkinObject& o) override { Log.push_back("paint " + o.IDName); }
    void StartMorphTimer() override { Log.push_back("morph"); }
    void RunCommand(TskCommand c) override { Log.push_back("command " + std::to_string(c)); }
    void OpenButtonMenu(TskSkinButtonObject&) override {}
    void CloseForm() override { Log.push_back("close form"); }
    void StartFaceDrag() override {}
    void StopFaceDrag() override {}
    void ObjectEvent(const std::string&, const std::string&) override {}
    void ObjectMouseEvent(const TSkObjectMouseArgs& a) override
    {
        std::string s = a.Kind + " " + a.Name + " " + Str(a.Rect);
        if (a.HasPoint)
            s += " at " + std::to_string(a.Point.X) + "," + std::to_string(a.Point.Y);
        if (a.HasButton)
            s += " button " + std::to_string(static_cast<int>(a.Button));
        Log.push_back(s);
    }
    void ObjectValueChanged(const std::string& kind, const std::string& name, int value) override
    {
        Log.push_back(kind + " " + name + " = " + std::to_string(value));
    }
    void UserPaint(const std::string& name, TSkObjectPainter&, const TRect& rect) override
    {
        Log.push_back("user paint " + name + " " + Str(rect));
    }
    void StartAnimateTimer() override { Log.push_back("animate"); }
    void PopupSystemMenuUnder(const TRect& r) override { Log.push_back("system menu under " + Str(r)); }
    void OpenObjectMenu(TMenuItem* item, const TRect& r, bool upward) override
    {
        Log.push_back(std::string(item ? "menu" : "no menu") + " under " + Str(r) + (upward ? " up" : ""));
    }

    const TSkBitmap* Picture(int picture) const override { return picture == 0 ? &Objects : nullptr; }
    void Copy(const TRect& dest, int picture, const TRect& source) override
    {
        const std::string name = picture == kSkFramePicture ? "frame" : std::to_string(picture);
        Log.push_back("copy " + Str(dest) + " <- " + name + ":" + Str(source));
    }
    void DrawImage(int x, int y, const TSkBitmap& image) override
    {
        Log.push_back("image " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(image.Width()) +
                      "x" + std::to_string(image.Height()));
    }
    void Text(const TRect& box, const std::string& text, const TskSkinFont& font, int color,
              TSkAlignment alignment) override
    {
        Log.push_back("text " + Str(box) + " " + text + " " + font.Name + " " + std::to_string(color) + " " +
                      std::to_string(static_cast<int>(alignment)));
    }

    std::string Take()
    {
        std::string s;
        for (const std::string& l : Log)
            s += l + ";";
        Log.clear();
        return s;
    }
    std::vector<std::string> Log;
    TSkBitmap Objects{100, 100};
};

class ObjectKinds : public ::testing::Test {
protected:
    void SetUp() override
    {
        Stored.SetCompressedData(SkinWithTestObjects());
        Data.SetCompressedStoredSkin(&Stored);
        ASSERT_FALSE(Data.Empty);
        Objects = CreateSkinObjects(Host, Data);
    }
    template <class T>
    T& Get(const std::string& name)
    {
        for (auto& o : Objects)
            if (o->IDName == name)
                return dynamic_cast<T&>(*o);
        throw std::runtime_error("no object " + name);
    }
    TskCompressedStoredSkin Stored;
    TskSkinData Data{nullptr};
    Recorder Host;
    std::vector<std::unique_ptr<TskActiveSkinObject>> Objects;
};

}  // namespace

TEST_F(ObjectKinds, EveryRecordMakesItsKindWithTheValuesItRead)
{
    const std::vector<std::pair<std::string, TSkObjectKind>> kinds = {
        {"sw", TSkObjectKind::Switch},       {"tb", TSkObjectKind::TrackBar},
        {"tbv", TSkObjectKind::TrackBar},    {"g", TSkObjectKind::Gauge},
        {"fg", TSkObjectKind::FrameGauge},   {"fr", TSkObjectKind::FrameRegulator},
        {"an", TSkObjectKind::Animate},      {"bl", TSkObjectKind::BitLabel},
        {"lb", TSkObjectKind::Label},        {"uo", TSkObjectKind::User}};
    ASSERT_EQ(Objects.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(Objects[i]->IDName, kinds[i].first);
        EXPECT_EQ(Objects[i]->Kind(), kinds[i].second) << kinds[i].first;
        EXPECT_TRUE(Objects[i]->PaintsItself()) << kinds[i].first;
    }
    EXPECT_TRUE(Get<TskSkinSwitchObject>("sw").State);
    EXPECT_FALSE(Get<TskSkinTrackBarObject>("tb").Vertical());
    EXPECT_TRUE(Get<TskSkinTrackBarObject>("tbv").Vertical());
    EXPECT_EQ(Get<TskSkinFrameRegulatorObject>("fr").RegulatorKind, TskRegulatorKind::rkHorizontal);
    auto& an = Get<TskSkinAnimateObject>("an");
    EXPECT_EQ(an.Command, cmMaximize);
    EXPECT_FALSE(an.Morphing);   // animated objects never morph
    EXPECT_EQ(Get<TskSkinBitLabelObject>("bl").Symbols, (std::vector<std::string>{"0123456789", ":"}));
    EXPECT_EQ(Get<TskSkinLabelObject>("lb").Font.Name, "Tahoma");
}

TEST_F(ObjectKinds, SwitchTogglesOnALeftPressOnly)
{
    auto& sw = Get<TskSkinSwitchObject>("sw");
    sw.MouseEnter();
    EXPECT_FALSE(sw.Active);
    EXPECT_EQ(Host.Take(), "enter sw 10,40,30,50;");
    sw.MouseDown(12, 42, TSkMouseButton::Right);
    EXPECT_EQ(Host.Take(), "");
    const bool states[] = {false, true, false};
    for (bool state : states) {
        sw.MouseDown(12, 42, TSkMouseButton::Left);
        EXPECT_EQ(sw.State, state);
        EXPECT_EQ(sw.Active, !state);
        EXPECT_EQ(Host.Take(), "paint sw;switch sw = " + std::to_string(state) + ";");
    }
    // Off shows the active look; on the normal look, from the frame only when drawn in full.
    sw.State = false;
    sw.Active = true;
    sw.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "copy 10,40,30,50 <- 0:0,0,20,10;");
    sw.Active = false;
    sw.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "");
    sw.Draw(Host, true);
    EXPECT_EQ(Host.Take(), "copy 10,40,30,50 <- frame:10,40,30,50;");
}

TEST_F(ObjectKinds, TrackBarMapsPositionsToValues)
{
    auto& tb = Get<TskSkinTrackBarObject>("tb");
    // A press off the button jumps there (clamped to the track): x 10..90 is 0..8.
    const std::pair<int, int> presses[] = {{30, 2}, {50, 4}, {55, 5}, {95, 8}, {0, 0}, {89, 8}, {16, 1}};
    for (auto [x, value] : presses) {
        if (tb.ButtonPlace().Contains({x, 65}))
            continue;
        tb.MouseDown(x, 65, TSkMouseButton::Left);
        EXPECT_EQ(tb.Value(), value) << x;
        tb.MouseUp(x, 65, TSkMouseButton::Left);
    }
    auto& tbv = Get<TskSkinTrackBarObject>("tbv");
    // Vertical: the begin point (bottom) is the minimum.
    for (int v : {0, 10, 40, 80}) {
        tbv.SetValue(v);
        EXPECT_EQ(tbv.ButtonPlace().Top + 5, 90 - v) << v;
    }
    tbv.SetValue(500);
    EXPECT_EQ(tbv.Value(), 80);
}

TEST_F(ObjectKinds, TrackBarDragsItsButtonWithinTheTrack)
{
    auto& tb = Get<TskSkinTrackBarObject>("tb");
    EXPECT_EQ(Str(tb.ButtonPlace()), "5,60,15,70");
    tb.MouseDown(10, 65, TSkMouseButton::Left);
    EXPECT_TRUE(tb.Dragging());
    EXPECT_EQ(Host.Take(), "paint tb;");
    tb.MouseMove(40, 99);   // 30 right: x 40 is value 3
    EXPECT_EQ(tb.Value(), 3);
    EXPECT_EQ(Host.Take(), "paint tb;trackbar tb = 3;");
    tb.MouseMove(41, 65);   // moves, same value: no event
    EXPECT_EQ(Host.Take(), "paint tb;");
    tb.MouseMove(200, 65);  // past the end: stays
    EXPECT_EQ(tb.Value(), 3);
    EXPECT_EQ(Host.Take(), "");
    tb.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "copy 0,60,100,70 <- frame:0,60,100,70;copy 0,60,41,70 <- 0:0,0,41,10;"
                           "copy 36,60,46,70 <- 0:10,20,20,30;");
    tb.MouseUp(41, 65, TSkMouseButton::Left);
    EXPECT_FALSE(tb.Dragging());
    Host.Take();
    tb.Draw(Host, false);
    EXPECT_EQ(Host.Log.back(), "copy 36,60,46,70 <- 0:0,20,10,30");
}

TEST_F(ObjectKinds, GaugeFillsToItsValue)
{
    auto& g = Get<TskSkinGaugeObject>("g");
    g.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "");   // at the minimum only a full draw
    for (int v = 0; v <= 10; ++v) {
        g.SetValue(v);
        EXPECT_EQ(g.Progress(), v * 5);
    }
    g.SetValue(99);
    EXPECT_EQ(g.Value(), 10);
    Host.Take();
    g.SetValue(3);
    EXPECT_EQ(Host.Take(), "paint g;");
    g.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "copy 0,0,50,10 <- frame:0,0,50,10;copy 0,0,15,10 <- 0:0,10,15,20;");
    g.Vertical = true;
    EXPECT_EQ(g.Progress(), 7);
    g.MouseEnter();
    g.MouseLeave();
    EXPECT_EQ(Host.Take(), "enter g 0,0,50,10;leave g 0,0,50,10;");
}

TEST_F(ObjectKinds, FrameGaugeShowsTheFrameOfItsValue)
{
    auto& fg = Get<TskSkinFrameGaugeObject>("fg");
    // Step (30 - 0) div 3 = 10 per frame.
    const std::pair<int, int> frames[] = {{0, 1}, {9, 1}, {10, 2}, {19, 2}, {20, 3}, {29, 3}, {30, 4}, {-5, 1}, {45, 4}};
    for (auto [value, frame] : frames) {
        fg.SetValue(value);
        EXPECT_EQ(fg.Frame, frame) << value;
    }
    fg.Draw(Host, false);
    EXPECT_EQ(Host.Log.back(), "copy 0,0,10,10 <- 0:30,0,40,10");
    fg.CountFrames = 1;
    EXPECT_EQ(fg.ValueStep(), 0);
}

TEST_F(ObjectKinds, FrameRegulatorChangesByDragSteps)
{
    auto& fr = Get<TskSkinFrameRegulatorObject>("fr");
    EXPECT_EQ(fr.PixelStep(), 3);   // frame width 10 div 3
    fr.MouseMove(50, 0);            // no press: nothing
    EXPECT_EQ(fr.Value(), 0);
    fr.MouseDown(100, 100, TSkMouseButton::Left);
    const std::pair<int, int> moves[] = {{102, 0}, {103, 10}, {106, 20}, {109, 30}, {150, 30}, {104, 10}, {40, 0}};
    for (auto [x, value] : moves) {
        fr.MouseMove(x, 100 + x);   // horizontal: only x counts
        EXPECT_EQ(fr.Value(), value) << x;
    }
    EXPECT_EQ(Host.Take(), "paint fr;frameregulator fr = 10;paint fr;frameregulator fr = 20;paint fr;"
                           "frameregulator fr = 30;paint fr;frameregulator fr = 10;paint fr;frameregulator fr = 0;");
    fr.MouseUp(40, 0, TSkMouseButton::Left);
    fr.MouseMove(120, 0);
    EXPECT_EQ(fr.Value(), 0);
    // Round: the distance is x - y; vertical: -y.
    fr.RegulatorKind = TskRegulatorKind::rkRound;
    fr.MouseDown(0, 0, TSkMouseButton::Left);
    fr.MouseMove(3, -3);
    EXPECT_EQ(fr.Value(), 20);
    fr.RegulatorKind = TskRegulatorKind::rkVertical;
    fr.MouseMove(0, 3);
    EXPECT_EQ(fr.Value(), 0);
}

TEST_F(ObjectKinds, AnimateRunsForwardInAndBackOut)
{
    auto& an = Get<TskSkinAnimateObject>("an");
    an.MouseEnter();
    EXPECT_EQ(Host.Take(), "animate;enter an 0,0,10,10;");
    // Interval 50: the counter starts at 25, so frames step on the 1st, 3rd, 5th tick.
    std::vector<int> frames;
    for (int tick = 0; tick < 6; ++tick) {
        an.TimerTick();
        frames.push_back(an.Frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 2, 3, 3, 3, 3}));
    EXPECT_FALSE(an.Running());   // stops at the last frame without cycle
    an.Draw(Host, false);
    EXPECT_EQ(Host.Log.back(), "copy 0,0,10,10 <- 0:20,30,30,40");
    an.MouseLeave();
    frames.clear();
    for (int tick = 0; tick < 5; ++tick) {
        an.TimerTick();
        frames.push_back(an.Frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{3, 2, 2, 1, 1}));
    an.Cycle = true;
    an.MouseEnter();
    an.Frame = 3;
    an.TimerTick();
    an.TimerTick();
    EXPECT_EQ(an.Frame, 1);   // wraps
    EXPECT_TRUE(an.Running());
    an.Rewind();
    EXPECT_EQ(an.Frame, 1);
    EXPECT_FALSE(an.Running());
}

TEST_F(ObjectKinds, AnimateRunsItsCommandOnARelease)
{
    auto& an = Get<TskSkinAnimateObject>("an");
    an.MouseUp(5, 5, TSkMouseButton::Left);   // mouse not in: nothing
    EXPECT_EQ(Host.Take(), "");
    an.MouseEnter();
    Host.Take();
    an.MouseUp(5, 5, TSkMouseButton::Left);
    EXPECT_EQ(Host.Take(), "command 1;up an 0,0,10,10 at 5,5 button 0;");
    an.Command = cmSysMenu;
    an.MouseUp(5, 5, TSkMouseButton::Left);
    EXPECT_EQ(Host.Take(), "system menu under 0,0,10,10;up an 0,0,10,10 at 5,5 button 0;");
    an.DblClick();
    EXPECT_EQ(Host.Take(), "close form;");
    // A custom object opens its menu item, when it has one.
    an.Command = cmDefault;
    an.MouseUp(5, 5, TSkMouseButton::Left);
    EXPECT_EQ(Host.Take(), "up an 0,0,10,10 at 5,5 button 0;");
    char item = 0;
    an.SetMenuItem(reinterpret_cast<TMenuItem*>(&item));
    an.MouseUp(5, 5, TSkMouseButton::Left);
    EXPECT_EQ(Host.Take(), "menu under 0,0,10,10;up an 0,0,10,10 at 5,5 button 0;");
    an.SetMenuItem(nullptr);
    an.Command = cmSysMenu;
    // Button-style animated objects follow the border icons like the standard buttons.
    ApplyBorderIcons(Objects, {SkIcon(TskBorderIcon::biMinimize), false, ""}, nullptr);
    EXPECT_FALSE(an.Enabled);
    an.Command = cmMaximize;
    ApplyBorderIcons(Objects, {SkIcon(TskBorderIcon::biMaximize), false, ""}, nullptr);
    EXPECT_TRUE(an.Enabled);
    // Hiding the caption buttons hides every animated object, button style or not.
    an.ButtonStyle = false;
    ApplyBorderIcons(Objects, {SkIcon(TskBorderIcon::biMaximize), true, ""}, nullptr);
    EXPECT_FALSE(an.Enabled);
    EXPECT_TRUE(Get<TskSkinSwitchObject>("sw").Enabled);
    // Every animated object takes the hint of its command.
    an.Command = cmClose;
    ApplyBorderIcons(Objects, {SkIcon(TskBorderIcon::biMaximize), false, ""},
                     [](const char*, const char* builtin) { return std::string(builtin); });
    EXPECT_EQ(an.Hint, "Close");
}

TEST_F(ObjectKinds, BitLabelCutsItsSymbolsAndClipsTheLast)
{
    auto& bl = Get<TskSkinBitLabelObject>("bl");
    bl.Draw(Host, false);
    // "12:5" in 5-pixel cells on an 18-pixel object: the fourth cell is cut to 3 pixels.
    EXPECT_EQ(Host.Take(), "copy 0,0,18,7 <- frame:0,0,18,7;copy 0,0,5,7 <- 0:5,50,10,57;"
                           "copy 5,0,10,7 <- 0:10,50,15,57;copy 10,0,15,7 <- 0:0,57,5,64;"
                           "copy 15,0,18,7 <- 0:25,50,28,57;");
    EXPECT_TRUE(IsNullRect(bl.SymbolSource('x')));
    bl.SetText("x9");
    EXPECT_EQ(Host.Take(), "paint bl;");
    bl.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "copy 0,0,18,7 <- frame:0,0,18,7;copy 5,0,10,7 <- 0:45,50,50,57;");
}

TEST_F(ObjectKinds, LabelDrawsItsTextInTheColourOfItsState)
{
    auto& lb = Get<TskSkinLabelObject>("lb");
    lb.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "copy 0,0,40,12 <- frame:0,0,40,12;text 0,0,40,12 hi Tahoma 255 0;");
    lb.MouseEnter();   // the colours differ: redrawn
    EXPECT_EQ(Host.Take(), "paint lb;enter lb 0,0,40,12;");
    lb.Draw(Host, false);
    EXPECT_EQ(Host.Log.back(), "text 0,0,40,12 hi Tahoma 65280 0");
    Host.Take();
    lb.ActiveFontColor = lb.Font.Color;
    lb.MouseLeave();
    EXPECT_EQ(Host.Take(), "leave lb 0,0,40,12;");
}

TEST_F(ObjectKinds, UserObjectsArePaintedByTheApplication)
{
    auto& uo = Get<TskUserObject>("uo");
    uo.Draw(Host, true);
    EXPECT_EQ(Host.Take(), "user paint uo 5,5,25,25;");
    uo.MouseIn = true;
    uo.MouseDown(7, 8, TSkMouseButton::Right);
    uo.MouseMove(9, 10);
    uo.MouseUp(9, 10, TSkMouseButton::Middle);
    EXPECT_EQ(Host.Take(), "down uo 5,5,25,25 at 7,8 button 1;move uo 5,5,25,25 at 9,10;"
                           "up uo 5,5,25,25 at 9,10 button 2;");
}

TEST_F(ObjectKinds, MorphingBaseLookIsBlendedBetweenItsEnds)
{
    auto& sw = Get<TskSkinSwitchObject>("sw");
    sw.Morphing = true;
    sw.Active = true;
    sw.MorphFactor = 0.4;
    sw.Draw(Host, false);
    // The frame picture is missing in this recorder: no blend, the hover look instead.
    EXPECT_EQ(Host.Take(), "copy 10,40,30,50 <- 0:0,0,20,10;");
    sw.SkinRectInAPicture = true;
    sw.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "image 10,40 20x10;");
    // An object far larger than any screen shows its hover look rather than a blend.
    sw.ObjectRect = {0, 0, 4000, 4000};
    sw.Draw(Host, false);
    EXPECT_EQ(Host.Take(), "copy 0,0,4000,4000 <- 0:0,0,20,10;");
}

// Objects whose skin values are out of every sensible range.
const char* const kHostileObjects =
    "[SKINOBJECTS]\r\ncount=3\r\n0=hb:bitlabel\r\n1=hf:frameregulator\r\n2=hn:trackbar\r\n"
    "[hb]\r\nskinrect=0,20,18,27\r\nactivepictureindex=0\r\nactiveskinrect=0,0,50,14\r\ntextvalue=00\r\n"
    "symbolwidth=5\r\nsymbolheight=2147483640\r\nsymbolslinecount=1\r\nsymbolsline0=0\r\n"
    "[hf]\r\nskinrect=0,0,10,10\r\nactivepictureindex=0\r\nactiveskinrect=0,0,40,10\r\n"
    "minvalue=0\r\nmaxvalue=30\r\ncountframes=-2147483648\r\n"
    "[hn]\r\nskinrect=0,0,100,10\r\nactivepictureindex=7\r\nskinrectinapicture=1\r\n"
    "buttonrect=0,20,10,30\r\nbeginpoint=10,5\r\nendpoint=90,5\r\n";

// Copies only what a picture exists for; the frame picture exists.
class PictureRecorder : public Recorder {
public:
    const TSkBitmap* Picture(int picture) const override
    {
        return picture == 0 || picture == kSkFramePicture ? &Objects : nullptr;
    }
    void Copy(const TRect& dest, int picture, const TRect& source) override
    {
        if (Picture(picture))
            Recorder::Copy(dest, picture, source);
    }
};

TEST(ObjectKindsHostile, OutOfRangeValuesDrawAndDragSafely)
{
    TskCompressedStoredSkin stored;
    stored.SetCompressedData(SkinWithTestObjects(kHostileObjects));
    TskSkinData data{nullptr};
    data.SetCompressedStoredSkin(&stored);
    ASSERT_FALSE(data.Empty);
    PictureRecorder host;
    auto objects = CreateSkinObjects(host, data);
    ASSERT_EQ(objects.size(), 3u);
    for (auto& o : objects) {
        o->MouseEnter();
        o->MouseDown(5, 5, TSkMouseButton::Left);
        o->MouseMove(9, 1);
        o->MouseUp(9, 1, TSkMouseButton::Left);
        o->MouseLeave();
        host.Take();
        o->Draw(host, true);
    }
    // A frame count below 1 gives one frame: any drag step is one pixel.
    EXPECT_EQ(dynamic_cast<TskSkinFrameRegulatorObject&>(*objects[1]).PixelStep(), 10);
    // Without its active picture the track bar's look and button come from no picture.
    objects[2]->Draw(host, true);
    EXPECT_EQ(host.Take(), "");
}
