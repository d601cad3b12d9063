#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/base/FakeTimerService.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinForm.h"
#include "skin/win/SkinResource.h"
#include "tests/framework/WinTestUtil.h"

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The program's skin with a rolled-up face (the frame's caption band and bottom edge) whose
// caption and buttons carry the roll-up flag, and one skin area; morphingFaceClose lets the
// close button of the unrolled face morph.
std::string RollUpSkin(bool morphingClose = false, bool morphingFaceClose = false)
{
    TskCompressedStoredSkin stored(nullptr);
    EXPECT_TRUE(LoadProgramSkin(stored));
    TPackedSkin skin = UnpackStoredSkin(stored.CompressedData());
    auto band = [](const TSkBitmap& picture) {
        TSkBitmap face(picture.Width(), 33);
        TSkCanvas c(face);
        c.CopyRect({0, 0, picture.Width(), 29}, picture, {0, 0, picture.Width(), 29});
        c.CopyRect({0, 29, picture.Width(), 33}, picture, {0, picture.Height() - 4, picture.Width(), picture.Height()});
        return face;
    };
    skin.RollUpPicture = band(skin.Picture);
    skin.RollUpMask = band(skin.Mask);
    if (morphingClose)   // the close button's normal look on the roll-up face: pure blue
    {
        TSkCanvas c(skin.RollUpPicture);
        c.BrushColor = SkRgb(0, 0, 255);
        c.FillRect({130, 7, 144, 21});
    }
    std::string ini = GbkToUtf8(skin.IniText);
    ini = Replace(ini, "rolluppicture=\r\n", "rolluppicture=rollup.bmp\r\n");
    ini = Replace(ini, "rollupmask=\r\n", "rollupmask=rollupmask.bmp\r\n");
    ini = Replace(ini, "[FORMINFO]\r\n", "[FORMINFO]\r\nrollupleftpoint=40,0\r\nrolluprightpoint=53,0\r\n");
    ini = Replace(ini, "[SKINAREAS]\r\ncount=0", "[SKINAREAS]\r\ncount=1\r\n0=area1:10,30,140,40");
    ini = Replace(ini, "[SKINOBJECTS]\r\ncount=7",
                  "[SKINOBJECTS]\r\ncount=9\r\n7=rcaption:caption\r\n8=rclose:stdbutton");
    ini += "[rcaption]\r\nrollup=1\r\nskinrect=24,5,70,27\r\ndefaultcaption=1\r\ntextrect=2,2,44,20\r\n"
           "fontname=宋体\r\nfontheight=-12\r\nfontcolor=16777215\r\nactivefontcolor=16777215\r\n"
           "alignment=taleftjustify\r\n"
           "[rclose]\r\nrollup=1\r\ncommand=cmclose\r\nskinrect=130,7,144,21\r\nactivepictureindex=0\r\n"
           "activeskinrect=48,58,62,72\r\n";
    if (morphingClose)
        ini += "morphing=1\r\n";
    if (morphingFaceClose) {
        const size_t close = ini.find("[closebutton]");
        ini.replace(ini.find("morphing=0", close), 10, "morphing=1");
    }
    skin.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    return packed.Bytes();
}

// The program's skin with self-painting objects on the face and a morphing skinned button.
std::string ObjectsSkin()
{
    TskCompressedStoredSkin stored(nullptr);
    EXPECT_TRUE(LoadProgramSkin(stored));
    TPackedSkin skin = UnpackStoredSkin(stored.CompressedData());
    std::string ini = GbkToUtf8(skin.IniText);
    ini = Replace(ini, "[SKINOBJECTS]\r\ncount=7",
                  "[SKINOBJECTS]\r\ncount=10\r\n7=uo:userobject\r\n8=tb:trackbar\r\n9=lb:label");
    const size_t button = ini.find("[resizebutton]");
    ini.replace(ini.find("morphing=0", button), 10, "morphing=1");
    ini += "[uo]\r\nskinrect=10,40,60,60\r\n"
           "[tb]\r\nskinrect=10,70,110,80\r\nactivepictureindex=0\r\nbuttonrect=0,24,10,34\r\n"
           "beginpoint=5,5\r\nendpoint=95,5\r\nminvalue=0\r\nmaxvalue=9\r\nmousedownchangevalue=1\r\n"
           "[lb]\r\nskinrect=10,88,110,106\r\ntextvalue=标签标签\r\nfontName=宋体\r\nfontheight=-14\r\n"
           "fontcolor=255\r\nactivefontcolor=255\r\nalignment=taleftjustify\r\n";
    skin.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    return packed.Bytes();
}

void SaveShot(HWND window, const char* name)
{
    const char* dir = std::getenv("VORPEN_SKIN_SHOTS");
    if (!dir)
        return;
    RECT r{};
    GetWindowRect(window, &r);
    TSkBitmap shot(r.right - r.left + 16, r.bottom - r.top + 16);
    CopyScreenArea(r.left - 8, r.top - 8, shot);
    WriteFileBytes(IncludeTrailingPathDelimiter(dir) + name + ".bmp", SaveBmpToBytes(shot));
}

class SkinnedFace : public ::testing::Test {
protected:
    void SetUp() override { Open(RollUpSkin()); }
    void Open(const std::string& skinBytes)
    {
        EnsureApplication();
        SetCursorPos(1270, 790);
        Form = NewForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetCaption("倒计时");
        Form->SetBounds(300, 300, 300, 160);
        Area = new TskSkinControl(Form);
        Area->SetParent(Form);
        Area->SetAlign(alTop);
        Area->AreaName = "area1";
        Other = new TCustomControl(Form);
        Other->SetParent(Form);
        Other->SetBounds(20, 60, 60, 20);
        Stored = new TskCompressedStoredSkin(Form);
        Stored->SetCompressedData(skinBytes);
        Data = new TskSkinData(Form);
        Data->SetCompressedStoredSkin(Stored);
        Skin = new TskSkinForm(Form);
        Skin->SupportNCArea = false;
        Skin->SetSkinData(Data);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { delete Form; }
    void Reopen(const std::string& skinBytes)
    {
        delete Form;
        Open(skinBytes);
    }
    TskActiveSkinObject* Object(const std::string& name)
    {
        for (auto& o : Skin->Objects().Objects)
            if (o->IDName == name)
                return o.get();
        return nullptr;
    }
    TRect Bounds()
    {
        RECT r{};
        GetWindowRect(Form->Handle(), &r);
        return TRect::FromRECT(r);
    }
    TSkPixel ScreenPixel(int x, int y)
    {
        TSkBitmap one(1, 1);
        const TRect b = Bounds();
        CopyScreenArea(b.Left + x, b.Top + y, one);
        return SkRgbPart(one.Pixel(0, 0));
    }
    // A button of the skin's morphing "resizebutton" section on the face.
    TskSkinButton* NewMorphingButton()
    {
        auto* button = new TskSkinButton(Form);
        button->SetParent(Form);
        button->SetSkinDataName("resizebutton");
        button->SetSkinData(Data);
        button->SetBounds(200, 40, 70, 24);
        return button;
    }
    TForm* Form = nullptr;
    TskSkinControl* Area = nullptr;
    TCustomControl* Other = nullptr;
    TskCompressedStoredSkin* Stored = nullptr;
    TskSkinData* Data = nullptr;
    TskSkinForm* Skin = nullptr;
};

}  // namespace

TEST_F(SkinnedFace, AControlWithAnAreaNameTakesItsAreaForTheSize)
{
    ASSERT_TRUE(Skin->SkinActive());
    EXPECT_EQ(Area->Align(), alNone);
    // The area spans the left-top and right-top zones: it grows with the width (300 - 152).
    EXPECT_EQ(Area->Left(), 10);
    EXPECT_EQ(Area->Top(), 30);
    EXPECT_EQ(Area->Width(), 130 + 148);
    EXPECT_EQ(Area->Height(), 10);
    Form->SetBounds(300, 300, 400, 160);
    Application->ProcessMessages();
    EXPECT_EQ(Area->Width(), 130 + 248);
}

TEST_F(SkinnedFace, RollingUpShowsTheRollUpPictureAndHidesTheControls)
{
    ASSERT_TRUE(Skin->SkinActive());
    const TRect before = Bounds();
    int events = 0;
    Skin->OnChangeRollUpState = [&](TObject*) { ++events; };
    Skin->SetRollUp(true);
    Application->ProcessMessages();
    UpdateWindow(Form->Handle());
    ASSERT_TRUE(Skin->RolledUp());
    EXPECT_EQ(events, 1);
    EXPECT_EQ(Bounds().Height(), 33);
    EXPECT_EQ(Bounds().Width(), before.Width());   // the points stretch it to the form's width
    EXPECT_FALSE(Area->Visible());
    EXPECT_FALSE(Other->Visible());
    EXPECT_TRUE(Skin->HasRegion());
    // The roll-up objects: the close button keeps its distance to the right edge.
    EXPECT_EQ(Object("rclose")->ObjectRect.Left, 130 + 148);
    EXPECT_EQ(Object("rcaption")->ObjectRect.Right, 70 + 148);
    // What is on screen is the roll-up picture: its bottom edge right under the caption.
    const TSkBitmap& picture = Data->FRollUpPicture();
    EXPECT_EQ(ScreenPixel(150, 31), SkRgbPart(picture.Pixel(45, 31)));
    EXPECT_EQ(ScreenPixel(150, 10), SkRgbPart(picture.Pixel(45, 10)));
    SaveShot(Form->Handle(), "face-rolled-up");
    Skin->SetRollUp(false);
    Application->ProcessMessages();
    EXPECT_FALSE(Skin->RolledUp());
    EXPECT_EQ(events, 2);
    EXPECT_EQ(Bounds().Height(), before.Height());
    EXPECT_TRUE(Area->Visible());
    EXPECT_TRUE(Other->Visible());
    SaveShot(Form->Handle(), "face-unrolled");
}

TEST_F(SkinnedFace, AMorphingObjectOfTheRolledUpFaceBlendsFromTheRollUpPicture)
{
    Reopen(RollUpSkin(true));
    Skin->SetRollUp(true);
    Application->ProcessMessages();
    ASSERT_TRUE(Skin->RolledUp());
    TskActiveSkinObject* close = Object("rclose");
    ASSERT_TRUE(close && close->Morphing);
    close->MorphFactor = 0.4;
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Application->ProcessMessages();
    ASSERT_EQ(close->MorphFactor, 0.4);
    const TSkBitmap* active = Data->ActivePicture(0);
    ASSERT_TRUE(active);
    TskEffectBmp expected(TSkBitmap(1, 1, SkRgb(0, 0, 255)));
    expected.MorphBy(close->MorphKind, TskEffectBmp(TSkBitmap(1, 1, active->Pixel(55, 65))), 0.4);
    EXPECT_EQ(ScreenPixel(130 + 148 + 7, 14), SkRgbPart(expected.ToBitmap().Pixel(0, 0)));
}

TEST_F(SkinnedFace, LosingTheSkinWhileRolledUpUnrollsTheFace)
{
    const TRect before = Bounds();
    Skin->SetRollUp(true);
    Application->ProcessMessages();
    ASSERT_TRUE(Skin->RolledUp());
    Skin->SetSkinData(nullptr);
    Application->ProcessMessages();
    EXPECT_FALSE(Skin->RolledUp());
    EXPECT_EQ(Bounds().Height(), before.Height());
    EXPECT_TRUE(Area->Visible());
    EXPECT_TRUE(Other->Visible());
}

TEST_F(SkinnedFace, ObjectsPaintThemselvesAndFireTheirEventsWithArguments)
{
    std::vector<std::string> log;
    Reopen(ObjectsSkin());
    ASSERT_TRUE(Skin->SkinActive());
    Skin->OnPaintEvent = [&](const std::string& name, TCanvas& canvas, const TRect& r) {
        log.push_back("paint " + name);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(static_cast<TColor>(0x00FF00));
        canvas.FillRect(r);
    };
    Skin->OnMouseDownEvent = [&](const TSkObjectMouseArgs& a, TShiftState) {
        log.push_back("down " + a.Name + " " + std::to_string(a.Point.X) + "," + std::to_string(a.Point.Y) + " " +
                      std::to_string(a.Rect.Left) + " " + std::to_string(static_cast<int>(a.Button)));
    };
    Skin->OnTrackBarChangeValueEvent = [&](const std::string& name, int value) {
        log.push_back("value " + name + " " + std::to_string(value));
    };
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Application->ProcessMessages();
    EXPECT_EQ(ScreenPixel(30, 50), 0x00FF00u);   // the application's paint of the user object
    // The label's red text lies somewhere in its rectangle.
    bool red = false;
    for (int y = 88; y < 106 && !red; ++y)
        for (int x = 10; x < 110 && !red; ++x)
            red = ScreenPixel(x, y) == 0xFF0000u;
    EXPECT_TRUE(red);
    SaveShot(Form->Handle(), "face-objects");
    log.clear();
    SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 45));
    SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 45));
    SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(65, 75));
    EXPECT_EQ(GetCapture(), Form->Handle());   // a drag leaving the window keeps its moves and release
    SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(65, 75));
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "down uo 20,45 10 0");
    EXPECT_EQ(log.back(), "value tb 5");
}

TEST_F(SkinnedFace, ASkinnedButtonMorphsTowardItsActiveLook)
{
    Reopen(ObjectsSkin());
    FakeTimerService timers;
    TimerService* real = &CurrentTimerService();
    SetTimerService(&timers);
    TskSkinButton* button = NewMorphingButton();
    Application->ProcessMessages();
    auto shot = [&] {
        UpdateWindow(button->Handle());
        Application->ProcessMessages();
        RECT r{};
        GetWindowRect(button->Handle(), &r);
        TSkBitmap bitmap(r.right - r.left, r.bottom - r.top);
        CopyScreenArea(r.left, r.top, bitmap);
        return bitmap;
    };
    const TSkBitmap normal = shot();
    button->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(button->MorphRunning());
    std::vector<double> factors;
    TSkBitmap halfway;
    for (int i = 0; i < 6; ++i) {
        timers.Advance(20);
        factors.push_back(button->MorphFactor());
        if (i == 1)
            halfway = shot();
    }
    EXPECT_NEAR(factors[0], 0.2, 1e-9);
    EXPECT_NEAR(factors[2], 0.6, 1e-9);
    EXPECT_EQ(factors[4], 1.0);
    EXPECT_FALSE(button->MorphRunning());
    EXPECT_EQ(button->CurrentLook(), TSkButtonLook::Active);
    // On the way the screen shows the blend of the two looks at the factor of the moment.
    const TSkBitmap active = shot();
    TskEffectBmp blend(normal);
    blend.MorphBy(TMorphKind::mkDefault, TskEffectBmp(active), 0.4);
    const TSkBitmap expected = blend.ToBitmap();
    int differing = 0, blended = 0;
    for (int y = 0; y < normal.Height(); ++y)
        for (int x = 0; x < normal.Width(); ++x)
            if (SkRgbPart(normal.Pixel(x, y)) != SkRgbPart(active.Pixel(x, y))) {
                ++differing;
                blended += SkRgbPart(halfway.Pixel(x, y)) == SkRgbPart(expected.Pixel(x, y));
            }
    EXPECT_GT(differing, 100);
    EXPECT_EQ(blended, differing);
    // A skin change stops the morph and keeps a focused button at its active end.
    Other->SetFocus();
    Application->ProcessMessages();
    timers.Advance(20);
    EXPECT_NEAR(button->MorphFactor(), 0.8, 1e-9);
    button->ChangeSkin();
    EXPECT_FALSE(button->MorphRunning());
    timers.Advance(100);
    EXPECT_NEAR(button->MorphFactor(), 0.8, 1e-9);
    SetTimerService(real);
}

// The screen follows the factor from its first step: a morph that sets off toward the active
// look (focus, hover) first shows the normal look, and one that turns back half way blends on
// down to it.
TEST_F(SkinnedFace, AMorphingButtonStartsFromTheLookItShows)
{
    Reopen(ObjectsSkin());
    FakeTimerService timers;
    TimerService* real = &CurrentTimerService();
    SetTimerService(&timers);
    TskSkinButton* button = NewMorphingButton();
    Application->ProcessMessages();
    auto shot = [&] {
        InvalidateRect(button->Handle(), nullptr, FALSE);
        UpdateWindow(button->Handle());
        Application->ProcessMessages();
        RECT r{};
        GetWindowRect(button->Handle(), &r);
        TSkBitmap bitmap(r.right - r.left, r.bottom - r.top);
        CopyScreenArea(r.left, r.top, bitmap);
        return bitmap;
    };
    auto same = [](const TSkBitmap& a, const TSkBitmap& b) {
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (SkRgbPart(a.Pixel(x, y)) != SkRgbPart(b.Pixel(x, y)))
                    return false;
        return true;
    };
    const TSkBitmap normal = shot();
    button->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(button->MorphRunning());
    ASSERT_EQ(button->MorphFactor(), 0.0);
    EXPECT_TRUE(same(shot(), normal));
    timers.Advance(40);
    ASSERT_NEAR(button->MorphFactor(), 0.4, 1e-9);
    EXPECT_FALSE(same(shot(), normal));
    // Focus lost half way: back down step by step, the normal look at 0.
    Other->SetFocus();
    Application->ProcessMessages();
    timers.Advance(20);
    ASSERT_NEAR(button->MorphFactor(), 0.2, 1e-9);
    EXPECT_FALSE(same(shot(), normal));
    timers.Advance(20);
    EXPECT_EQ(button->MorphFactor(), 0.0);
    EXPECT_FALSE(button->MorphRunning());
    EXPECT_TRUE(same(shot(), normal));
    // The mouse coming in sets off the same way.
    button->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(button->MorphRunning());
    EXPECT_TRUE(same(shot(), normal));
    SetTimerService(real);
}

TEST_F(SkinnedFace, TheCaptionDrawsItsFrameImageBehindItsText)
{
    TskCompressedStoredSkin stored(nullptr);
    ASSERT_TRUE(LoadProgramSkin(stored));
    TPackedSkin packed = UnpackStoredSkin(stored.CompressedData());
    std::string ini = GbkToUtf8(packed.IniText);
    ini = Replace(ini, "defaultcaption=1\r\n", "defaultcaption=1\r\nframerect=0,24,16,40\r\nframetextrect=4,2,12,14\r\n"
                                              "frameleftoffset=4\r\nframerightoffset=4\r\n");
    packed.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(packed)), bytes;
    CompressStream(plain, bytes);
    TForm* form = NewForm<TForm>(nullptr);
    form->SetCaption("节日");
    form->SetBounds(500, 300, 300, 160);
    auto* skinStored = new TskCompressedStoredSkin(form);
    skinStored->SetCompressedData(bytes.Bytes());
    auto* data = new TskSkinData(form);
    data->SetCompressedStoredSkin(skinStored);
    auto* skin = new TskSkinForm(form);
    skin->SetSkinData(data);
    form->Show();
    Application->ProcessMessages();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Application->ProcessMessages();
    // Text box 24 + 2 + 4 = 30 from the left, 5 + 2 + 2 = 9 from the top: the frame from (26, 7).
    const TSkBitmap* objects = data->ActivePicture(0);
    ASSERT_TRUE(objects);
    RECT w{};
    GetWindowRect(form->Handle(), &w);
    TSkBitmap shot(4, 12);
    CopyScreenArea(w.left + 26, w.top + 7, shot);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(SkRgbPart(shot.Pixel(x, y)), SkRgbPart(objects->Pixel(x, 24 + y))) << x << "," << y;
    SaveShot(form->Handle(), "caption-frame");
    delete form;
}

// With UseSkinCursors the face's cursor is the skin cursor of the object under the mouse,
// else the form's (FORMINFO), as screen numbers from 1; none gives the default cursor.
TEST_F(SkinnedFace, UseSkinCursorsFollowsTheHoveredObject)
{
    FakeTimerService timers;
    TimerService* real = &CurrentTimerService();
    SetTimerService(&timers);
    Reopen(ObjectsSkin());
    ASSERT_TRUE(Skin->SkinActive());
    Skin->UseSkinCursors = true;
    Object("uo")->CursorIndex = 2;   // test-only skin data
    Data->FormInfo.CursorIndex = 4;
    const TRect b = Bounds();
    auto cursorAt = [&](int x, int y) {
        SetCursorPos(b.Left + x, b.Top + y);
        SendMessageW(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(b.Left + x, b.Top + y));   // starts the mouse timer
        timers.Advance(50);
        return Form->Cursor();
    };
    EXPECT_EQ(cursorAt(30, 50), 3);    // over the user object
    EXPECT_EQ(cursorAt(150, 130), 5);  // over no object: the form's
    Data->FormInfo.CursorIndex = -1;
    EXPECT_EQ(cursorAt(150, 130), crDefault);
    Skin->UseSkinCursors = false;
    Form->SetCursor(crHandPoint);
    EXPECT_EQ(cursorAt(30, 50), crHandPoint);
    SetCursorPos(1270, 790);   // parked where no other test's window lies
    delete Form;
    Form = nullptr;
    SetTimerService(real);
}

// The caption of a face follows the activation at once: what the screen shows after the
// change is what a full repaint draws.
TEST_F(SkinnedFace, TheCaptionFollowsTheActivation)
{
    TForm* other = NewForm<TForm>(nullptr);
    other->SetBounds(700, 300, 200, 120);
    other->Show();
    auto activate = [](TForm* f) {
        SetForegroundWindow(f->Handle());
        SetActiveWindow(f->Handle());
        Application->ProcessMessages();
    };
    auto band = [this] {
        const TRect b = Bounds();
        TSkBitmap shot(b.Width(), 29);
        CopyScreenArea(b.Left, b.Top, shot);
        return shot;
    };
    auto repainted = [&] {
        RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Application->ProcessMessages();
        return band();
    };
    TskActiveSkinObject* caption = Object("caption1");
    ASSERT_TRUE(caption);
    activate(Form);
    ASSERT_TRUE(Skin->IsFormActive());
    EXPECT_TRUE(caption->Active);
    const TSkBitmap active = band();
    EXPECT_EQ(active, repainted());
    activate(other);
    ASSERT_FALSE(Skin->IsFormActive());
    EXPECT_FALSE(caption->Active);
    const TSkBitmap inactive = band();
    EXPECT_NE(inactive, active);
    EXPECT_EQ(inactive, repainted());
    SaveShot(Form->Handle(), "face-inactive");
    activate(Form);
    EXPECT_TRUE(caption->Active);
    EXPECT_EQ(band(), active);
    delete other;
}

// Maximized, rolled up, then restored: the face unrolls first and its controls come back.
TEST_F(SkinnedFace, RestoringAFaceRolledUpWhileMaximizedUnrollsIt)
{
    const TRect start = Bounds();
    int events = 0;
    Skin->OnChangeRollUpState = [&](TObject*) { ++events; };
    Skin->SetWindowState(2);
    Skin->SetRollUp(true);
    Application->ProcessMessages();
    ASSERT_TRUE(Skin->RolledUp());
    ASSERT_TRUE(Skin->RolledUpMaximized());
    ASSERT_FALSE(Other->Visible());
    Skin->SetWindowState(0);
    Application->ProcessMessages();
    EXPECT_FALSE(Skin->RolledUp());
    EXPECT_EQ(events, 2);
    EXPECT_TRUE(Other->Visible());
    EXPECT_TRUE(Area->Visible());
    EXPECT_EQ(Bounds(), start);
    // The face's own region again, not the roll-up one.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Form->Handle(), region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.bottom, start.Height());
}

namespace {

class SkinnedFaceOnFakeTimers : public SkinnedFace {
protected:
    void SetUp() override
    {
        FReal = &CurrentTimerService();
        SetTimerService(&Timers);
        SkinnedFace::SetUp();
    }
    void TearDown() override
    {
        SkinnedFace::TearDown();
        SetTimerService(FReal);
    }
    FakeTimerService Timers;

private:
    TimerService* FReal = nullptr;
};

}  // namespace

// The roll-up stops the morph of an object half way; unrolling starts the timers again and
// the object reaches its look.
TEST_F(SkinnedFaceOnFakeTimers, UnrollingRestartsTheMorph)
{
    Reopen(RollUpSkin(false, true));
    TskActiveSkinObject* close = Object("closebutton");
    ASSERT_TRUE(close && close->Morphing);
    Skin->SetRollUp(true);
    ASSERT_TRUE(Skin->RolledUp());
    close->MorphFactor = 0.6;   // on its way back to the normal look
    Skin->SetRollUp(false);
    ASSERT_FALSE(Skin->RolledUp());
    Timers.Advance(20 * 5);
    EXPECT_EQ(close->MorphFactor, 0.0);
}

// A caption button the mouse just came over still shows its normal look at factor 0, when the
// frame is painted before the first morph step.
TEST_F(SkinnedFaceOnFakeTimers, ACaptionButtonMorphStartsFromItsNormalLook)
{
    Reopen(RollUpSkin(false, true));
    TskActiveSkinObject* close = Object("closebutton");
    ASSERT_TRUE(close && close->Morphing);
    const TRect r = close->ObjectRect;
    auto shot = [&] {
        RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Application->ProcessMessages();
        TSkBitmap bitmap(r.Width(), r.Height());
        CopyScreenArea(Bounds().Left + r.Left, Bounds().Top + r.Top, bitmap);
        return bitmap;
    };
    auto differing = [](const TSkBitmap& a, const TSkBitmap& b) {
        int n = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                n += SkRgbPart(a.Pixel(x, y)) != SkRgbPart(b.Pixel(x, y));
        return n;
    };
    const TSkBitmap normal = shot();
    close->MouseEnter();
    ASSERT_EQ(close->MorphFactor, 0.0);
    EXPECT_EQ(differing(shot(), normal), 0);
    Timers.Advance(40);
    ASSERT_NEAR(close->MorphFactor, 0.4, 1e-9);
    EXPECT_GT(differing(shot(), normal), 10);
}

// Rolled up, then maximized and restored: the face unrolls at the height it had before.
TEST_F(SkinnedFace, RestoringAFaceRolledUpBeforeItWasMaximizedGivesBackItsHeight)
{
    const TRect start = Bounds();
    Skin->SetRollUp(true);
    ASSERT_TRUE(Skin->RolledUp());
    Skin->SetWindowState(2);
    Application->ProcessMessages();
    Skin->SetWindowState(0);
    Application->ProcessMessages();
    EXPECT_FALSE(Skin->RolledUp());
    EXPECT_TRUE(Other->Visible());
    EXPECT_EQ(Bounds(), start);
    SaveShot(Form->Handle(), "face-restored-after-roll-up");
}
