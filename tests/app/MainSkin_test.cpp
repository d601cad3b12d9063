// The clock window's skin components under Wine: their values, the skinned hint they give
// every hint of the program, and a clock that looks and behaves as a plain borderless
// layered window with them in place.
#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/win/Main.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "organizer/win/Unit1.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkinData.h"
#include "skin/win/SkinForm.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinResource.h"

namespace fs = std::filesystem;

namespace {

constexpr int kW = 136, kH = 131;

// The screen's pixels from (x, y), as many as the bitmap holds (0x00RRGGBB).
void Grab(TBitmap& shot, int x, int y)
{
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, x, y, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    GdiFlush();
}

uint32_t ScreenPixel(int x, int y)
{
    TBitmap one(1, 1);
    Grab(one, x, y);
    return one.PixelARGB(0, 0) & 0xFFFFFF;
}

void SaveShot(const char* name, int x, int y, int w, int h)
{
    if (const char* dir = std::getenv("VORPEN_APP_SHOTS")) {
        TBitmap shot(w, h);
        Grab(shot, x, y);
        shot.SetPixelFormat(pf24bit);   // the screen's zero alpha would make it look empty
        shot.SaveToFile(IncludeTrailingPathDelimiter(dir) + name + ".bmp");
    }
}

class ClockSkin : public testing::Test {
protected:
    static void SetUpTestSuite() { InstallSkinMessageBroadcast(); }
    void SetUp() override
    {
        folder = UniqueTempPath("vorpen_clock_skin");
        fs::remove_all(folder);
        fs::create_directories(folder / "Images");
        for (const auto& e : fs::directory_iterator(fs::path(VORPEN_DIST_DIR) / "Images"))
            fs::copy_file(e.path(), folder / "Images" / e.path().filename());
        std::ofstream(folder / "Set.ini", std::ios::binary) << "[ZuzuvOdada]\r\nLeft=300\r\nTop=200\r\n";
        SetExeFolder(IncludeTrailingPathDelimiter(folder.string()));
        SetClockSource([] { return EncodeDateTime(2026, 5, 1, 15, 30, 45, 0); });
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        SetCursorPos(1270, 790);
    }
    void TearDown() override
    {
        delete calendar;
        delete form;
        SetTimerService(oldTimers);
        SetExeFolder("");
        SetClockSource(nullptr);
        fs::remove_all(folder);
    }
    // The clock as the program makes it: the first form is the main form.
    void Make()
    {
        ASSERT_EQ(Application->MainForm(), nullptr);
        Application->CreateForm(form);
        for (TTimer* timer : {form->tmrDrawClock, form->tszxsf, form->tmsn, form->twzc})
            timer->SetEnabled(false);
    }
    // Shows the clock at its place and waits until the screen has its face.
    void ShowClock()
    {
        form->LoadSkinImages();
        ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
        form->tmrDrawClockTimer(form);
        if (form->SettlePending())
            form->tmrDrawClockTimer(form);
        for (const DWORD start = GetTickCount();
             ScreenPixel(300 + 20, 200 + 65) != (Frame(20, 65) & 0xFFFFFF) && GetTickCount() - start < 10000;) {
            Application->ProcessMessages();
            Sleep(10);
        }
    }
    uint32_t Frame(int x, int y) const { return form->Composer().Pixels()[y * form->Composer().Width() + x]; }
    // Pixels of the clock's rectangle on the screen that differ from what it pushed: its
    // opaque pixels, and the transparent ones that must show what lies beneath.
    int Differing(TBitmap& screen, TBitmap& beneath) const
    {
        int n = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const uint32_t f = Frame(x, y), s = screen.PixelARGB(x, y) & 0xFFFFFF;
                if (f >> 24 == 255)
                    n += s != (f & 0xFFFFFF);
                else if (f >> 24 == 0)
                    n += s != (beneath.PixelARGB(x, y) & 0xFFFFFF);
            }
        return n;
    }

    fs::path folder;
    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    TFmMain* form = nullptr;
    TForm1* calendar = nullptr;
};

}  // namespace

TEST_F(ClockSkin, TheClockCarriesTheFourSkinComponents)
{
    Make();
    EXPECT_EQ(form->FindComponent("DSF"), form->DSF);
    EXPECT_EQ(form->FindComponent("skSkinData1"), form->skSkinData1);
    EXPECT_EQ(form->FindComponent("CompressedStoredSkin1"), form->CompressedStoredSkin1);
    EXPECT_EQ(form->FindComponent("skSkinHint1"), form->skSkinHint1);
    TskSkinForm& dsf = *form->DSF;
    EXPECT_EQ(dsf.SkinData(), form->skSkinData1);
    EXPECT_EQ(dsf.SkinHint(), form->skSkinHint1);
    EXPECT_EQ(dsf.BorderIcons(), SkIcon(TskBorderIcon::biMinimize) | SkIcon(TskBorderIcon::biMaximize));
    EXPECT_FALSE(dsf.AlphaBlend());
    EXPECT_EQ(dsf.AlphaBlendValue(), 10);
    EXPECT_TRUE(dsf.DraggAble && dsf.Magnetic && dsf.SupportNCArea);
    EXPECT_EQ(dsf.MagneticSize, 5);
    EXPECT_EQ(dsf.DefMenuItemHeight(), 20);
    for (TFont* f : {&dsf.DefCaptionFont(), &dsf.DefInActiveCaptionFont(), &dsf.DefMenuItemFont()})
        EXPECT_TRUE(f->Name() == "宋体" && f->Height() == -12 && f->Charset() == GB2312_CHARSET);
    EXPECT_EQ(form->skSkinHint1->DefaultFont().Charset(), ANSI_CHARSET);
    // The program's own skin, from the executable's resource.
    EXPECT_EQ(form->CompressedStoredSkin1->FileName(), "SKIN.INI");
    EXPECT_EQ(form->skSkinData1->CompressedStoredSkin(), form->CompressedStoredSkin1);
    EXPECT_FALSE(form->skSkinData1->Empty);
    EXPECT_TRUE(dsf.SkinActive());
    EXPECT_EQ(form->skSkinHint1->SkinData(), form->skSkinData1);
    EXPECT_FALSE(form->skSkinHint1->AlphaBlend);
    // Every hint window of the program is now a skinned one.
    EXPECT_EQ(TskSkinHint::Find(), form->skSkinHint1);
    std::unique_ptr<THintWindow> window(Application->CreateHintWindow(nullptr));
    EXPECT_NE(dynamic_cast<TskSkinHintWindow*>(window.get()), nullptr);
    EXPECT_EQ(Application->HintShortPause, 100u);
}

// Same styles as a plain borderless form (plus the layered style of its own pushes), no
// region, no frame, and on the screen exactly the pixels it pushed, also after the skin
// was loaded again, the window retitled and repainted.
TEST_F(ClockSkin, TheClockLooksAndBehavesAsAPlainLayeredWindow)
{
    TBitmap beneath(kW, kH), first(kW, kH), again(kW, kH);
    Grab(beneath, 300, 200);
    Make();
    ShowClock();
    HWND h = form->Handle();
    TForm* plain = NewForm<TForm>(nullptr);
    plain->SetBorderStyle(bsNone);
    plain->SetBounds(0, 0, kW, kH);
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & ~WS_VISIBLE, GetWindowLongPtrW(plain->Handle(), GWL_STYLE));
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_EXSTYLE), GetWindowLongPtrW(plain->Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    delete plain;
    RECT window{}, client{};
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    EXPECT_EQ(TRect::FromRECT(window), TRect(300, 200, 300 + kW, 200 + kH));
    EXPECT_EQ(client.right, kW);
    EXPECT_EQ(client.bottom, kH);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, region), ERROR);
    DeleteObject(region);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(300 + 3, 200 + 3)), HTCLIENT);

    Grab(first, 300, 200);
    EXPECT_EQ(Differing(first, beneath), 0);
    SaveShot("clock-skinned", 290, 190, kW + 20, kH + 20);
    form->skSkinData1->SetCompressedStoredSkin(form->CompressedStoredSkin1);   // skin messages again
    SetWindowTextW(h, L"OnlyOne1");
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Application->ProcessMessages();
    Grab(again, 300, 200);
    EXPECT_EQ(Differing(again, beneath), 0);
    EXPECT_FALSE(form->DSF->HasRegion());
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED);

    // The face still starts the system's move, which snaps to the work area within 5 pixels.
    int moves = 0;
    form->OnSystemMove = [&] { ++moves; };
    form->FormMouseMove(form->pngBg, {ssLeft}, 10, 10);
    EXPECT_EQ(moves, 1);
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    for (int off : {4, 5}) {
        RECT r{area.left + off, 300, area.left + off + kW, 300 + kH};
        SendMessageW(h, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(r.left, off == 4 ? area.left : area.left + off) << off;
        EXPECT_EQ(r.right - r.left, kW);
    }
}

// The desktop calendar's button hint shows in the skin, drawn by the clock's skinned hint.
TEST_F(ClockSkin, AControlsHintShowsInTheClocksSkin)
{
    Make();
    ShowClock();
    calendar = NewForm<TForm1>(nullptr);
    SetCursorPos(340, 345);   // below the clock: the hint shows beside it
    Application->ProcessMessages();
    PostMessageW(calendar->BitBtn2->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Application->ProcessMessages();
    timers.Advance(Application->HintPause);
    Application->ProcessMessages();
    auto* window = dynamic_cast<TskSkinHintWindow*>(Application->HintWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(window->ActiveSkinHint(), form->skSkinHint1);
    EXPECT_EQ(window->HintSkin(), form->skSkinData1);
    EXPECT_TRUE(window->HasRegion());
    EXPECT_GT(window->Width(), 42);
    EXPECT_EQ(window->Height() - window->Geometry().Frame.ClientRect.Height(), 15);
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SaveShot("clock-hint", 290, 190, 320, 220);
    timers.Advance(Application->HintHidePause);
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(window->Handle()));
}
