#include "app/win/Main.h"

#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/IniFiles.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Buttons.h"
#include "framework/win/FileDialogs.h"
#include "app/core/dbware.h"
#include "framework/win/Handles.h"
#include "framework/win/Sound.h"

namespace fs = std::filesystem;

namespace {

constexpr int kW = 136, kH = 131;

uint8_t AlphaOf(uint32_t argb) { return uint8_t(argb >> 24); }
uint8_t RedOf(uint32_t argb) { return uint8_t(argb >> 16); }
uint8_t BlueOf(uint32_t argb) { return uint8_t(argb); }

// Pixel at `radius` from the hands' pivot (64, 65) along a clock angle.
std::pair<int, int> AtAngle(double degrees, double radius)
{
    double a = degrees * 3.14159265358979 / 180;
    return {int(std::lround(64 + radius * std::sin(a))), int(std::lround(65 - radius * std::cos(a)))};
}

void Clear(TBitmap& bmp)
{
    for (int y = 0; y < bmp.Height(); ++y)
        std::memset(bmp.ScanLine(y), 0, size_t(bmp.Width()) * 4);
}

// A private program folder: Images copied from the shipped folder, Set.ini of its own.
class ClockWindow : public testing::Test {
protected:
    void SetUp() override
    {
        folder = UniqueTempPath("vorpen_clock");
        fs::remove_all(folder);
        fs::create_directories(folder / "Images");
        for (const auto& e : fs::directory_iterator(fs::path(VORPEN_DIST_DIR) / "Images"))
            fs::copy_file(e.path(), folder / "Images" / e.path().filename());
        SetExeFolder(IncludeTrailingPathDelimiter(folder.string()));
        SetClockSource([this] { return now; });
    }
    void TearDown() override
    {
        delete form;
        SetExeFolder("");
        SetClockSource(nullptr);
        fs::remove_all(folder);
    }
    TFmMain* Make()
    {
        delete form;
        form = NewForm<TFmMain>(nullptr);
        // Ticks are driven by hand, and no start-up step may run while a test pumps messages.
        for (TTimer* timer : {form->tmrDrawClock, form->tszxsf, form->tmsn, form->twzc})
            timer->SetEnabled(false);
        return form;
    }
    // One redraw tick as the timer gives it, and the settling tick that follows an
    // overshoot frame (run at once; the frame's seconds hand is kept, and onOvershoot sees
    // the frame while it is up).
    void Tick()
    {
        form->tmrDrawClockTimer(form);
        if (!form->SettlePending())
            return;
        overshoots.push_back(form->pngSecond->Rotate());
        overshootIntervals.push_back(int(form->tmrDrawClock->Interval()));
        if (onOvershoot)
            onOvershoot();
        form->tmrDrawClockTimer(form);
    }
    void WriteIni(const std::string& text) { std::ofstream(folder / "Set.ini", std::ios::binary) << text; }
    void At(int h, int m, int s, int ms = 0) { now = EncodeDateTime(2026, 5, 1, h, m, s, ms); }
    void Compose(TBitmap& bmp)
    {
        form->ComposeClockFrame();
        const TClockComposer& c = form->Composer();
        for (int y = 0; y < bmp.Height(); ++y)
            std::memcpy(bmp.ScanLine(y), c.Pixels() + y * c.Width(), size_t(bmp.Width()) * 4);
    }

    fs::path folder;
    TDateTime now = EncodeDateTime(2026, 5, 1, 15, 30, 45, 0);
    TFmMain* form = nullptr;
    std::vector<double> overshoots;
    std::vector<int> overshootIntervals;
    std::function<void()> onOvershoot;
};

}  // namespace

TEST_F(ClockWindow, HandsAtHalfPastThreeWithOvershoot)
{
    Make()->LoadSkinImages();
    int before = form->FramesComposed();
    // The overshoot frame goes up and the tick returns at once, the timer shortened to
    // the overshoot's time; the next tick settles the hand and restores the interval.
    form->tmrDrawClockTimer(form);
    EXPECT_TRUE(form->SettlePending());
    EXPECT_EQ(form->pngSecond->Rotate(), 274);
    EXPECT_EQ(form->tmrDrawClock->Interval(), 50u);
    EXPECT_EQ(form->FramesComposed() - before, 1);
    form->tmrDrawClockTimer(form);
    EXPECT_FALSE(form->SettlePending());
    EXPECT_EQ(form->pngHour->Rotate(), 105);
    EXPECT_EQ(form->pngMinute->Rotate(), 184);
    EXPECT_EQ(form->pngSecond->Rotate(), 270);
    EXPECT_EQ(form->tmrDrawClock->Interval(), 200u);
    EXPECT_EQ(form->FramesComposed() - before, 2);
    for (int ms : {0, 200, 400, 600, 800}) {   // the rest of the second: nothing composed or pushed
        At(15, 30, 45, ms);
        Tick();
    }
    EXPECT_EQ(form->FramesComposed() - before, 2);
    EXPECT_TRUE(overshoots.empty());
    At(15, 30, 46);
    Tick();
    EXPECT_EQ(overshoots, std::vector<double>{280});
    EXPECT_EQ(overshootIntervals, std::vector<int>{50});
    EXPECT_EQ(form->FramesComposed() - before, 4);
}

TEST_F(ClockWindow, WithoutSecondsHandNoFrameWithinAMinute)
{
    WriteIni("[ZuzuvOdada]\r\nShowSecond=0\r\n");
    Make()->LoadSkinImages();
    At(15, 30, 0);
    Tick();
    int start = form->FramesComposed();
    for (int k = 1; k < 300; ++k) {   // 200 ms steps through the minute
        At(15, 30, k / 5, (k % 5) * 200);
        Tick();
    }
    EXPECT_EQ(form->FramesComposed(), start);
    EXPECT_TRUE(overshoots.empty());
    At(15, 31, 0);
    Tick();
    EXPECT_EQ(form->FramesComposed(), start + 1);
}

TEST_F(ClockWindow, AlphaCommandsPushConstantAlpha)
{
    Make()->LoadSkinImages();
    EXPECT_EQ(form->PushedAlpha(), 255);
    form->mniTransparent60Click(form);
    EXPECT_EQ(form->Alpha(), 60);
    EXPECT_EQ(form->PushedAlpha(), 153);
    form->mniTransparent10Click(form);
    EXPECT_EQ(form->PushedAlpha(), 26);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

// A command that leaves the face and the alpha as they are pushes nothing; any change does.
TEST_F(ClockWindow, AFrameLikeTheOneShownIsNotPushedAgain)
{
    Make()->LoadSkinImages();
    int pushed = form->FramesComposed();
    form->mniTransparent100Click(form);
    form->mniBlueClick(form);
    EXPECT_EQ(form->FramesComposed(), pushed);
    form->mniTransparent60Click(form);
    EXPECT_EQ(form->FramesComposed(), pushed + 1);
    form->mniBlackClick(form);
    EXPECT_EQ(form->FramesComposed(), pushed + 2);
    form->mniTransparent60Click(form);
    form->RenderClock();
    EXPECT_EQ(form->FramesComposed(), pushed + 2);
}

TEST_F(ClockWindow, DefaultPlaceWithoutSettings)
{
    Make()->LoadSkinImages();
    EXPECT_EQ(form->Width(), kW);
    EXPECT_EQ(form->Height(), kH);
    EXPECT_EQ(form->Left(), GetSystemMetrics(SM_CXSCREEN) - kW - 20);
    EXPECT_EQ(form->Top(), 20);
    EXPECT_EQ(form->SkinType(), kBlueFace);
    EXPECT_EQ(form->Alpha(), 100);
    EXPECT_TRUE(form->ShowSecond());
    EXPECT_TRUE(form->SecondTan());
}

TEST_F(ClockWindow, ComposedFrameShowsFaceAndHourHand)
{
    Make()->LoadSkinImages();
    Tick();   // 15:30:45
    TBitmap bmp(kW, kH);
    Compose(bmp);
    for (auto [x, y] : {std::pair{0, 0}, {kW - 1, 0}, {0, kH - 1}, {kW - 1, kH - 1}})
        EXPECT_EQ(AlphaOf(bmp.PixelARGB(x, y)), 0) << x << "," << y;
    EXPECT_EQ(AlphaOf(bmp.PixelARGB(20, 65)), 255);          // the dial
    auto [hx, hy] = AtAngle(105, 22);                        // on the hour hand
    uint32_t hand = bmp.PixelARGB(hx, hy);
    EXPECT_GT(RedOf(hand), 200);                             // white hand over the blue dial
    auto [dx, dy] = AtAngle(75, 22);                         // mirrored: bare dial
    uint32_t dial = bmp.PixelARGB(dx, dy);
    EXPECT_GT(BlueOf(dial), RedOf(dial) + 60);
}

// GDI+ turns a layer about the centre of screen pixel (64, 65), (64.5, 65.5) in pixel-edge
// coordinates: the dial, the dot and every hand's axis must meet there at any angle, or
// the hands wobble off the centre as they go round.
// The frame as every redraw composed it before the layers were decoded once: each PNG
// loaded from its file and drawn with GDI+ straight onto the frame's DC.
void FrameFromFiles(TFmMain& form, TBitmap& bmp)
{
    Clear(bmp);
    TGpGraphics g(bmp.Canvas().Handle());
    for (TPNGButton* layer : {form.pngBg, form.pngHour, form.pngMinute, form.pngSecond, form.pngDot, form.pngHighLights}) {
        if (layer == form.pngSecond && !form.ShowSecond())
            continue;
        TGpImage image(layer->ImageNormal());
        if (image.Empty())
            continue;
        int l = layer->Left(), t = layer->Top(), w = layer->Width(), h = layer->Height();
        if (layer->Rotate() != 0)
            g.RotateAt(float(layer->Rotate()), float(l + w / 2), float(t + h / 2));
        g.DrawImageRect(image, l, t, w, h);
        g.ResetTransform();
    }
}

// Every frame of a sweep through half a day, overshoot frames included, in both faces
// with and without the seconds hand, has exactly the pixels of the frame drawn from the
// files.
TEST_F(ClockWindow, FramesFromDecodedLayersMatchFramesFromTheFiles)
{
    Make()->LoadSkinImages();
    TBitmap want(kW, kH), got(kW, kH);
    int frames = 0, differing = 0;
    auto check = [&] {
        FrameFromFiles(*form, want);
        Compose(got);
        ++frames;
        for (int y = 0; y < kH; ++y)
            if (std::memcmp(want.ScanLine(y), got.ScanLine(y), size_t(kW) * 4) != 0) {
                ++differing;
                break;
            }
    };
    onOvershoot = check;   // the overshoot frame as it stands on the window
    for (int face : {kBlueFace, kBlackFace})
        for (const char* seconds : {"1", "0"}) {
            WriteIni(std::string("[ZuzuvOdada]\r\nShowSecond=") + seconds + "\r\nSkinType=" + IntToStr(face) + "\r\n");
            form->LoadSkinImages();
            for (int t = 0; t < 12 * 3600; t += 1237) {
                At(t / 3600, t / 60 % 60, t % 60);
                Tick();
                check();
            }
        }
    // Second by second, where a frame recomposes only the area a hand left or entered.
    WriteIni("[ZuzuvOdada]\r\n");
    form->LoadSkinImages();
    for (int t = 15 * 3600 + 29 * 60 + 50; t < 15 * 3600 + 32 * 60 + 5; ++t) {
        At(t / 3600, t / 60 % 60, t % 60);
        Tick();
        check();
    }
    EXPECT_GT(frames, 400);
    EXPECT_EQ(differing, 0) << "of " << frames << " frames";
}

// A new second draws one picture (the seconds hand) and blends only the layers from it
// up; a layer file replaced on disk is decoded anew at the next minute.
TEST_F(ClockWindow, AFrameRedrawsOnlyWhatChanged)
{
    form = Make();
    WriteIni("[ZuzuvOdada]\r\nSecondTan=0\r\n");
    form->LoadSkinImages();
    At(15, 30, 1);
    Tick();
    int pictures = form->Composer().PicturesDrawn(), blends = form->Composer().LayersBlended();
    At(15, 30, 2);
    Tick();
    EXPECT_EQ(form->Composer().PicturesDrawn() - pictures, 1);
    EXPECT_EQ(form->Composer().LayersBlended() - blends, 3);
    long long composed = form->Composer().PixelsComposed();
    At(15, 30, 3);   // the hand moves within the top right quarter
    Tick();
    EXPECT_LT(form->Composer().PixelsComposed() - composed, 3 * kW * kH / 4);

    unsigned version = form->pngBg->ImageVersion();
    fs::remove(folder / "Images" / "Blue.png");
    fs::copy_file(folder / "Images" / "Black.png", folder / "Images" / "Blue.png");
    At(15, 30, 4);
    Tick();
    EXPECT_EQ(form->pngBg->ImageVersion(), version);   // not looked at within the minute
    At(15, 31, 0);
    Tick();
    EXPECT_NE(form->pngBg->ImageVersion(), version);
    TBitmap want(kW, kH), got(kW, kH);
    FrameFromFiles(*form, want);
    Compose(got);
    EXPECT_EQ(want.PixelARGB(20, 65), got.PixelARGB(20, 65));
}

// A GDI+ failure part-way through a frame (the hour hand drawn anew, the seconds hand
// not) leaves no stale layer: the next frame has the pixels of the layers it is given.
TEST_F(ClockWindow, AFrameAfterAFailedOneShowsEveryLayerAnew)
{
    Make()->LoadSkinImages();
    TBitmap want(kW, kH), got(kW, kH);
    for (int failing = 0; failing < 24; ++failing) {
        form->pngHour->SetRotate(30);
        form->pngSecond->SetRotate(60);
        Compose(got);
        form->pngHour->SetRotate(200);
        form->pngSecond->SetRotate(300);
        FailGdiplusCallAfter(failing);
        try {
            form->ComposeClockFrame();
        } catch (const EGdiplusError&) {
        }
        FailGdiplusCallAfter(-1);
        Compose(got);
        FrameFromFiles(*form, want);
        int differing = 0;
        for (int y = 0; y < kH; ++y)
            differing += std::memcmp(want.ScanLine(y), got.ScanLine(y), size_t(kW) * 4) != 0;
        EXPECT_EQ(differing, 0) << "rows after failing call " << failing;
    }
}

TEST_F(ClockWindow, HandsTurnAboutTheDialCentre)
{
    constexpr double cx = 64.5, cy = 65.5;
    Make()->LoadSkinImages();
    TBitmap bmp(kW, kH);
    auto drawAlone = [&](TPNGButton* layer) {
        Clear(bmp);
        TGpGraphics g(bmp.Canvas().Handle());
        DrawPNGButton(g, *layer);
    };
    // Alpha-weighted centre of the pixels that pass `keep` (pixel-edge coordinates).
    auto centre = [&](auto keep) {
        double sx = 0, sy = 0, sa = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (double a = AlphaOf(bmp.PixelARGB(x, y)); keep(x + 0.5, y + 0.5, a)) {
                    sx += a * (x + 0.5);
                    sy += a * (y + 0.5);
                    sa += a;
                }
        return std::pair{sx / sa, sy / sa};
    };
    for (int face : {kBlueFace, kBlackFace}) {
        if (face == kBlackFace)
            form->mniBlackClick(form);
        drawAlone(form->pngBg);
        auto [fx, fy] = centre([](double, double, double a) { return a == 255; });
        EXPECT_NEAR(fx, cx, 0.1) << "face " << face;
        EXPECT_NEAR(fy, cy, 0.1) << "face " << face;
        drawAlone(form->pngDot);
        auto [dx, dy] = centre([](double, double, double a) { return a > 0; });
        EXPECT_NEAR(dx, cx, 0.1) << "face " << face;
        EXPECT_NEAR(dy, cy, 0.1) << "face " << face;
        for (TPNGButton* hand : {form->pngHour, form->pngMinute, form->pngSecond})
            for (int degrees : {0, 90, 180, 270}) {
                hand->SetRotate(degrees);
                drawAlone(hand);
                double s = std::sin(degrees * 3.14159265358979 / 180), c = std::cos(degrees * 3.14159265358979 / 180);
                // The shaft between 15 and 28 pixels out, on the tip's side.
                auto [hx, hy] = centre([&](double x, double y, double a) {
                    double r = std::hypot(x - cx, y - cy);
                    return a > 0 && r > 15 && r < 28 && (x - cx) * s - (y - cy) * c > 0;
                });
                EXPECT_NEAR((hx - cx) * c + (hy - cy) * s, 0, 0.2) << hand->Name() << " at " << degrees;
            }
    }
}

TEST_F(ClockWindow, FrameReadBackFromTheScreen)
{
    WriteIni("[ZuzuvOdada]\r\nLeft=300\r\nTop=200\r\n");
    Make();
    auto grab = [](int x, int y) {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        return c;
    };
    COLORREF corner = grab(300, 200);
    form->LoadSkinImages();
    ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    Tick();
    TBitmap bmp(kW, kH);
    Compose(bmp);
    uint32_t face = bmp.PixelARGB(20, 65);
    COLORREF want = RGB(RedOf(face), uint8_t(face >> 8), BlueOf(face));
    COLORREF got = 0;
    // The X server maps the window a little later (up to 10 s on a busy machine).
    for (const DWORD start = GetTickCount(); got != want && GetTickCount() - start < 10000;) {
        Application->ProcessMessages();
        Sleep(10);
        got = grab(300 + 20, 200 + 65);
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(grab(300, 200), corner);   // transparent corner shows what lies beneath
}

TEST_F(ClockWindow, SettingsSurviveCloseAndStart)
{
    WriteIni("[ZuzuvOdada]\r\nWorkTime=09:00\r\n");
    Make()->LoadSkinImages();
    form->mniBlackClick(form);
    form->mniTransparent40Click(form);
    form->SetBounds(200, 150, form->Width(), form->Height());
    EXPECT_TRUE(form->CloseQuery());

    Make()->LoadSkinImages();
    EXPECT_EQ(form->SkinType(), kBlackFace);
    EXPECT_EQ(form->Alpha(), 40);
    EXPECT_EQ(form->Left(), 200);
    EXPECT_EQ(form->Top(), 150);
    EXPECT_EQ(ExtractFileName(form->pngBg->ImageNormal()), "Black.png");
    EXPECT_EQ(ExtractFileName(form->pngHighLights->ImageNormal()), "Black_highlights.png");
    TIniFile ini((folder / "Set.ini").string());
    EXPECT_EQ(ini.ReadString("ZuzuvOdada", "StayOnTop", ""), "0");
    EXPECT_EQ(ini.ReadString("ZuzuvOdada", "WorkTime", ""), "09:00");
}

TEST_F(ClockWindow, UnwritableSettingsAreReportedAndCloseGoesOn)
{
    Make()->LoadSkinImages();
    fs::create_directory(folder / "Set.ini");   // the settings file cannot be replaced
    MessageBoxRecorder boxes;
    EXPECT_TRUE(form->CloseQuery());
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_NE(boxes.Calls[0].Text.find("Set.ini"), std::string::npos) << boxes.Calls[0].Text;
}

TEST_F(ClockWindow, DamagedSettingsGiveTheDefaults)
{
    WriteIni(std::string("\xff\xfe\x00[ZuzuvOdada\r\nSkinType=5\r\n", 29));
    Make()->LoadSkinImages();
    EXPECT_EQ(form->SkinType(), kBlueFace);
    EXPECT_EQ(form->Alpha(), 100);
    WriteIni("[ZuzuvOdada]\r\nSkinType=5\r\nAlpha=300\r\nLeft=-5000\r\nTop=-5000\r\n");
    Make()->LoadSkinImages();
    EXPECT_EQ(form->SkinType(), kBlueFace);
    EXPECT_EQ(form->Alpha(), 100);
    EXPECT_EQ(form->Top(), 20);
    EXPECT_EQ(ExtractFileName(form->pngBg->ImageNormal()), "Blue.png");
}

// Held by another program, Set.ini cannot be read: the clock still shows with the
// defaults (not invisible at alpha 0), and the file is not written over at close.
TEST_F(ClockWindow, UnreadableSettingsGiveTheDefaults)
{
    WriteIni("[ZuzuvOdada]\r\nSkinType=0\r\nAlpha=40\r\n");
    const std::wstring ini = (folder / "Set.ini").wstring();
    UniqueHandle held(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    Make()->LoadSkinImages();
    EXPECT_EQ(form->Alpha(), 100);
    EXPECT_EQ(form->PushedAlpha(), 255);
    EXPECT_EQ(form->SkinType(), kBlueFace);
    EXPECT_EQ(form->Top(), 20);
    EXPECT_EQ(ExtractFileName(form->pngBg->ImageNormal()), "Blue.png");
    held.Reset();
    MessageBoxRecorder boxes;
    EXPECT_TRUE(form->CloseQuery());
    EXPECT_TRUE(boxes.Calls.empty());
    TIniFile kept((folder / "Set.ini").string());
    EXPECT_EQ(kept.ReadInteger("ZuzuvOdada", "Alpha", 0), 40);
}

TEST_F(ClockWindow, MissingImageLeavesItsLayerOut)
{
    fs::remove(folder / "Images" / "Blue_h.png");
    Make()->LoadSkinImages();
    Tick();
    TBitmap bmp(kW, kH);
    Compose(bmp);
    EXPECT_EQ(AlphaOf(bmp.PixelARGB(20, 65)), 255);               // face still drawn
    auto [hx, hy] = AtAngle(105, 22);
    EXPECT_GT(BlueOf(bmp.PixelARGB(hx, hy)), RedOf(bmp.PixelARGB(hx, hy)) + 60);   // no hour hand
    auto [mx, my] = AtAngle(184, 30);
    EXPECT_GT(RedOf(bmp.PixelARGB(mx, my)), 200);                 // minute hand still there
}

TEST_F(ClockWindow, FaceCommandsSwitchImagesWithoutReadingSettings)
{
    Make()->LoadSkinImages();
    WriteIni("[ZuzuvOdada]\r\nSkinType=1\r\nAlpha=10\r\n");
    form->mniBlackClick(form);
    EXPECT_EQ(form->SkinType(), kBlackFace);
    EXPECT_EQ(form->Alpha(), 100);
    EXPECT_EQ(ExtractFileName(form->pngSecond->ImageNormal()), "Black_s.png");
    form->mniBlueClick(form);
    EXPECT_EQ(ExtractFileName(form->pngDot->ImageNormal()), "Blue_dot.png");
}

TEST_F(ClockWindow, CalendarFlagShowsOrClosesTheDesktopCalendar)
{
    Make();
    TForm* calendar = NewForm<TForm>(form);
    form->Form1 = calendar;
    for (const char* flag : {"0", "", "2", "1"}) {
        calendar->SetVisible(std::string(flag) != "1");
        form->OnReadCalendarFlag = [flag] { return std::string(flag); };
        form->Timer1->SetEnabled(true);
        form->Timer1Timer(form->Timer1);
        EXPECT_FALSE(form->Timer1->Enabled());
        EXPECT_EQ(calendar->Visible(), std::string(flag) == "1") << "rlxsf \"" << flag << "\"";
    }
}

// A close writes the calendar's position pair: a hidden calendar is not closed again.
TEST_F(ClockWindow, TheCalendarFlagClosesOnlyAShownCalendar)
{
    Make();
    TForm* calendar = NewForm<TForm>(form);
    form->Form1 = calendar;
    int closes = 0;
    calendar->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form->OnReadCalendarFlag = [] { return std::string("0"); };
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(closes, 0);
    calendar->Show();
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(calendar->Visible());
}

TEST_F(ClockWindow, OnlyTheLeftButtonStartsAMove)
{
    Make()->LoadSkinImages();
    int moves = 0;
    form->OnSystemMove = [&] { ++moves; };
    form->FormMouseMove(form->pngBg, {}, 10, 10);
    form->FormMouseMove(form, {ssRight}, 10, 10);
    form->FormMouseMove(form, {ssShift}, 10, 10);
    EXPECT_EQ(moves, 0);
    form->FormMouseMove(form->pngHour, {ssLeft}, 10, 10);
    EXPECT_EQ(moves, 1);
}

// The "语音报时" button lies below the clock's client, where nothing shows it, and its click
// plays the chime in the half hour's minute; the PNG save dialog is one of the window's parts.
TEST_F(ClockWindow, TheTalkingClockButtonAndTheSaveDialogAreHiddenPartsOfTheWindow)
{
    Make()->LoadSkinImages();
    form->Show();
    ASSERT_NE(form->BitBtn2, nullptr);
    EXPECT_EQ(form->FindComponent("BitBtn2"), form->BitBtn2);
    EXPECT_EQ(form->BitBtn2->Caption(), "语音报时");
    EXPECT_EQ(form->BitBtn2->Parent(), form);
    EXPECT_GE(form->BitBtn2->Top(), form->ClientHeight());
    EXPECT_EQ(form->ClientWidth() * 1000 + form->ClientHeight(), kW * 1000 + kH);
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ((r.right - r.left) * 1000 + (r.bottom - r.top), kW * 1000 + kH);

    const std::string chime = (folder / "c.wav").string();
    std::ofstream(chime, std::ios::binary) << "RIFF";
    const std::string savedChime = CWavPath, savedFrequency = ChimeFrequency;
    CWavPath = chime;
    ChimeFrequency = "0";
    SoundRecorder sounds;
    At(10, 29, 59);
    SendMessageW(form->BitBtn2->Handle(), BM_CLICK, 0, 0);
    At(10, 30, 5);
    SendMessageW(form->BitBtn2->Handle(), BM_CLICK, 0, 0);
    CWavPath = savedChime;
    ChimeFrequency = savedFrequency;
    EXPECT_EQ(sounds.Played, std::vector<std::string>{chime});

    auto* dialog = dynamic_cast<TSaveDialog*>(form->FindComponent("dlgSave"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog, form->dlgSave);
    EXPECT_EQ(dialog->Filter(), "PNG|*.png");
}
